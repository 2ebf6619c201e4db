#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "builder/size_table.h"

namespace tovak {

class IniFile;

// The main window's working settings for one run. The three lists are the main window's; the
// editor and the builder are lent them.
struct TTovakSettings {
  std::string SlideshowPath;
  uint8_t SingleScreenDefault = 0;
  uint8_t OpenModeAtStart = 0;
  uint8_t ProjectConfirmed = 0;
  std::vector<std::string>* PictureFiles = nullptr;
  std::vector<std::string>* MessageFiles = nullptr;
  std::vector<std::string>* VoiceFiles = nullptr;
  uint8_t CreationMode = cmCompact;
  int32_t CompactImageIndex = kDefaultSizeIndex;
  int32_t CompactImageQuality = kDefaultCompactQuality;
  int32_t FullImageIndex = kDefaultSizeIndex;
  int32_t FullImageQuality = kDefaultFullQuality;
};

// Reads the sizes, qualities and creation mode of section "Slideshow Settings", with their
// defaults for anything missing.
void ReadSlideshowSettings(const IniFile& ini, TTovakSettings& settings);
// Writes the four size and quality keys ("&Always use those settings"). False, with the reason
// in error when given, when any of them could not be written.
bool WriteSizeSettings(IniFile& ini, const TTovakSettings& settings, std::string* error = nullptr);

}  // namespace tovak
