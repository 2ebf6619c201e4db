#include <charconv>

#include "cli/commands.h"

namespace tovak::cli {

bool ParseNumber(const std::string& text, int32_t low, int32_t high, int32_t& value) {
  int32_t parsed = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, parsed);
  if (text.empty() || error != std::errc() || stop != end || parsed < low || parsed > high) {
    return false;
  }
  value = parsed;
  return true;
}

bool ParseSize(const std::string& text, int32_t& width, int32_t& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  constexpr int32_t kLargest = 100000;
  return ParseNumber(text.substr(0, x), 1, kLargest, width) &&
         ParseNumber(text.substr(x + 1), 1, kLargest, height);
}

}  // namespace tovak::cli
