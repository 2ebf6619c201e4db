#include "builder/link_menu.h"

#include <filesystem>

#include "common/files.h"
#include "common/ini_file.h"

namespace tovak {

bool ReadLinkMenu(int purpose, std::vector<std::string>& list, const std::string& programPath) {
  list.clear();
  const std::string path =
      (std::filesystem::path(programPath).parent_path() / kLinkMenuFileName).string();
  if (!FileExists(path)) return false;

  const IniFile ini(path);
  bool result = false;
  if (purpose == lmProgramMenu) result = ini.ReadBool("Settings", "UseInBuilder", false);
  if (purpose == lmPlayer) result = ini.ReadBool("Settings", "UseInPlayer", false);

  const int32_t links = ini.ReadInteger("Settings", "MenuItems", 0);
  const int32_t languages = ini.ReadInteger("Settings", "Languages", 0);
  // No menu holds this many entries; a list that stopped short would claim entries it does not
  // hold, so such a file counts as no menu at all.
  constexpr int64_t kMostEntries = 100000;
  if (links > 0 && languages > 0 && int64_t{links} * languages > kMostEntries) return false;

  list.push_back(std::to_string(languages));
  list.push_back(std::to_string(links));
  if (links > 0 && languages > 0) {
    for (int32_t m = 1; m <= links; ++m) {
      const std::string section = std::to_string(m) + "_MenuItems";
      for (int32_t l = 1; l <= languages; ++l) {
        list.push_back(ini.ReadString(section, std::to_string(l) + "_Caption", ""));
        list.push_back(ini.ReadString(section, std::to_string(l) + "_URL", ""));
      }
    }
  }
  return result;
}

}  // namespace tovak
