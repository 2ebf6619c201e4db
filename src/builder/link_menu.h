#pragma once

#include <string>
#include <vector>

namespace tovak {

inline constexpr const char* kLinkMenuFileName = "Tovak! Urls.ini";

enum LinkMenuPurpose {
  lmProgramMenu = 1,  // the program's own "&Internet" menu
  lmPlayer = 2,       // the link menu carried by every slideshow
};

// Reads "Tovak! Urls.ini" from the folder of programPath into a flat list: the number of
// languages L, the number of links M, then for each link and within it each language its caption
// and its web address (2 + 2*M*L strings). The list is filled whatever the switch says; the
// result is the switch of the purpose asked for, false without the file or for another purpose.
bool ReadLinkMenu(int purpose, std::vector<std::string>& list, const std::string& programPath);

}  // namespace tovak
