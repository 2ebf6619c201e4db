#pragma once

#include <string>

namespace tovak {

constexpr const char* kLanguageSettingsFileName = "Language Settings.ini";

// The chosen language, kept in "Language Settings.ini" in programFolder (section "Current
// Language", key "Id"). Given -1 it reads the stored value (-1 when nothing was chosen or the
// file cannot be read); given any other value it stores it and returns it.
int LanguageIdSetting(const std::string& programFolder, int value);

}  // namespace tovak
