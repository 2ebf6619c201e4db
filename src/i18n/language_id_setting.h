#pragma once

#include <string>

#include "common/paths.h"

namespace tovak {

constexpr const char* kLanguageSettingsFileName = "Language Settings.ini";

// Where the language choice is kept: "Language Settings.ini" (section "Current Language", key
// "Id") in the program's folder, or, when that folder cannot be written (an installed copy), in
// the user's settings folder, as the working folder falls back to the user's own folders.
std::string LanguageSettingsFile(const Paths& paths);

// The chosen language. Given -1 it reads the stored value (-1 when nothing was chosen or the
// file cannot be read); given any other value it stores it and returns it. In an installed
// copy the user's own choice comes first, then one stored beside the program.
int LanguageIdSetting(const Paths& paths, int value);
// The same for a program folder, with the user's settings folder of Paths::FromExecutable.
int LanguageIdSetting(const std::string& programFolder, int value);

// Stores a chosen language. False, with the reason in error, when it could not be written; the
// choice then still holds for the rest of the run.
bool StoreLanguageId(const Paths& paths, int value, std::string* error = nullptr);

}  // namespace tovak
