#include "i18n/language_id_setting.h"

#include "common/ini_file.h"

namespace tovak {

int LanguageIdSetting(const std::string& programFolder, int value) {
  // Opened for each call, so a choice made by another copy of the program is seen at once.
  IniFile file(programFolder + kLanguageSettingsFileName);
  if (value == -1) return file.ReadInteger("Current Language", "Id", -1);
  file.WriteInteger("Current Language", "Id", value);
  return value;
}

}  // namespace tovak
