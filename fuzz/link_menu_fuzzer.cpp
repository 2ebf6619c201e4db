// The link menu, read from "Tovak! Urls.ini" beside the program.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "builder/link_menu.h"
#include "common/ini_file.h"
#include "harness.h"

namespace {

// The list must hold what its first two entries announce: a caption and an address for each
// link and language.
void CheckShape(const std::vector<std::string>& list) {
  if (list.empty()) return;
  int32_t languages = 0, links = 0;
  if (list.size() < 2 || !tovak::ParseProfileInteger(list[0], languages) ||
      !tovak::ParseProfileInteger(list[1], links)) {
    tovak::fuzz::Fail("link menu: the list does not start with its counts");
  }
  const size_t entries = links > 0 && languages > 0 ? 2 * size_t(links) * size_t(languages) : 0;
  if (list.size() != 2 + entries)
    tovak::fuzz::Fail("link menu: the list is not as long as announced");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string program = tovak::fuzz::ScratchFile("tovak");
  static const std::string urls = tovak::fuzz::ScratchFile(tovak::kLinkMenuFileName);
  tovak::fuzz::WriteInput(urls, data, size);
  // One purpose an input, chosen by it: each reading loads the whole file again.
  const int purpose = size % 2 ? tovak::lmPlayer : tovak::lmProgramMenu;
  std::vector<std::string> list{"stale"};
  const bool shown = tovak::ReadLinkMenu(purpose, list, program);
  if (shown && list.empty()) tovak::fuzz::Fail("link menu: shown without a list");
  CheckShape(list);
  return 0;
}
