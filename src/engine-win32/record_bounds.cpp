#include "engine-win32/record_bounds.h"

#include <cstdlib>
#include <vector>

#include "builder/package_format.h"
#include "common/byte_order.h"
#include "common/text_lines.h"
#include "compress/lzrw1_class.h"

namespace tovak {

namespace {

std::string Megabytes(int64_t bytes) {
  return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB";
}

std::string TooLarge(int picture, const char* what, int64_t bytes, int64_t most) {
  return "picture " + std::to_string(picture + 1) + ": its " + what + " takes " + Megabytes(bytes) +
         ", more than the " + Megabytes(most) + " a show may hold";
}

}  // namespace

std::string OversizedRecord(PackageReader& reader) {
  for (int picture = 0; picture < reader.PictureCount(); ++picture) {
    if (const int64_t size = reader.ImageRecord(picture).size; size > package::kLargestPicture) {
      return TooLarge(picture, "picture", size, package::kLargestPicture);
    }
    if (const int64_t size = reader.MessageRecord(picture).size; size > package::kLargestMessage) {
      return TooLarge(picture, "message", size, package::kLargestMessage);
    }
    // A voice is stored compressed; what counts is the size it says it expands to.
    PackageReader::Record voice = reader.VoiceRecord(picture);
    if (voice.size >= 8) {
      voice.size = 8;
      const std::vector<uint8_t> head = reader.Read(voice);
      const int64_t stated = GetLe32(head.data() + 4);
      if (GetLe32(head.data()) == TLzrw1Class::kMagicLzh && stated > package::kLargestVoice) {
        return TooLarge(picture, "voice", stated, package::kLargestVoice);
      }
    }
  }
  const PackageReader::Record menu = reader.LinkMenuRecord();
  if (menu.size > package::kLargestLinkMenu) {
    return "its link menu takes " + Megabytes(menu.size) + ", more than the " +
           Megabytes(package::kLargestLinkMenu) + " a show may hold";
  }
  const std::vector<uint8_t> bytes = reader.Read(menu);
  const std::vector<std::string> lines = SplitLines(std::string(bytes.begin(), bytes.end()));
  if (lines.size() >= 2) {
    const long languages = std::atol(lines[0].c_str());
    const long links = std::atol(lines[1].c_str());
    if (languages > package::kMostLinkLanguages || links > package::kMostLinks) {
      return "its link menu has " + std::to_string(links) + " links in " +
             std::to_string(languages) + " languages, more than the " +
             std::to_string(package::kMostLinks) + " links in " +
             std::to_string(package::kMostLinkLanguages) + " languages a show may have";
    }
  }
  return {};
}

}  // namespace tovak
