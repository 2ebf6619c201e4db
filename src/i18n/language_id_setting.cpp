#include "i18n/language_id_setting.h"

#include <unistd.h>

#include <filesystem>
#include <map>
#include <system_error>

#include "common/ini_file.h"

namespace tovak {

namespace {

constexpr const char* kSection = "Current Language";
constexpr const char* kKey = "Id";

// A choice that could not be written lasts for the run, rather than being undone by the next
// read at the window's next activation. Kept by the file it belongs in.
std::map<std::string, int>& UnstoredChoices() {
  static std::map<std::string, int> choices;
  return choices;
}

bool ProgramFolderWritable(const Paths& paths) {
  return ::euidaccess(paths.ProgramFolder().c_str(), W_OK | X_OK) == 0;
}

int StoredIn(const std::string& path) {
  // Opened for each call, so a choice made by another copy of the program is seen at once.
  return IniFile(path).ReadInteger(kSection, kKey, -1);
}

}  // namespace

std::string LanguageSettingsFile(const Paths& paths) {
  return (ProgramFolderWritable(paths) ? paths.ProgramFolder() : paths.SettingsFolder()) +
         kLanguageSettingsFileName;
}

int LanguageIdSetting(const Paths& paths, int value) {
  if (value != -1) {
    StoreLanguageId(paths, value);
    return value;
  }
  const std::string file = LanguageSettingsFile(paths);
  if (const auto unstored = UnstoredChoices().find(file); unstored != UnstoredChoices().end())
    return unstored->second;
  const int id = StoredIn(file);
  // An installed copy may come with a language stored beside it; it holds until the user picks.
  const std::string beside = paths.ProgramFolder() + kLanguageSettingsFileName;
  return id == -1 && file != beside ? StoredIn(beside) : id;
}

int LanguageIdSetting(const std::string& programFolder, int value) {
  return LanguageIdSetting(Paths(programFolder, Paths::UserSettingsFolder()), value);
}

bool StoreLanguageId(const Paths& paths, int value, std::string* error) {
  const std::string path = LanguageSettingsFile(paths);
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  if (IniFile(path).WriteInteger(kSection, kKey, value, error)) {
    UnstoredChoices().erase(path);
    return true;
  }
  UnstoredChoices()[path] = value;
  return false;
}

}  // namespace tovak
