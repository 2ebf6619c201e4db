#include "player/link_address.h"

namespace tovak {

std::string OpenableLinkAddress(std::string_view address) {
  auto isSpaceOrControl = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!address.empty() && isSpaceOrControl(address.front())) address.remove_prefix(1);
  while (!address.empty() && isSpaceOrControl(address.back())) address.remove_suffix(1);
  std::string cleaned;
  for (const char c : address)
    if (c != '\t' && c != '\n' && c != '\r') cleaned += c;
  const size_t colon = cleaned.find(':');
  if (colon == std::string::npos) return {};
  std::string scheme = cleaned.substr(0, colon);
  for (char& c : scheme)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (scheme != "http" && scheme != "https" && scheme != "mailto") return {};
  return cleaned;
}

}  // namespace tovak
