#include "app/tovak_settings.h"

#include "common/ini_file.h"

namespace tovak {

namespace {
constexpr const char* kSection = "Slideshow Settings";
}

void ReadSlideshowSettings(const IniFile& ini, TTovakSettings& settings) {
  settings.CompactImageIndex = ini.ReadInteger(kSection, "CompactImageIndex", kDefaultSizeIndex);
  settings.CompactImageQuality =
      ini.ReadInteger(kSection, "CompactImageQuality", kDefaultCompactQuality);
  settings.FullImageIndex = ini.ReadInteger(kSection, "FullImageIndex", kDefaultSizeIndex);
  settings.FullImageQuality = ini.ReadInteger(kSection, "FullImageQuality", kDefaultFullQuality);
  // Kept in one byte, as it always was.
  settings.CreationMode =
      static_cast<uint8_t>(ini.ReadInteger(kSection, "CreationMode", cmCompact));
}

bool WriteSizeSettings(IniFile& ini, const TTovakSettings& settings, std::string* error) {
  // Every key is tried, so that one that fits is not lost to one that did not; a successful write
  // leaves error alone.
  bool ok = ini.WriteInteger(kSection, "CompactImageIndex", settings.CompactImageIndex, error);
  ok = ini.WriteInteger(kSection, "CompactImageQuality", settings.CompactImageQuality, error) && ok;
  ok = ini.WriteInteger(kSection, "FullImageIndex", settings.FullImageIndex, error) && ok;
  ok = ini.WriteInteger(kSection, "FullImageQuality", settings.FullImageQuality, error) && ok;
  return ok;
}

}  // namespace tovak
