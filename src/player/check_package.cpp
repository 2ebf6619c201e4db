#include "player/check_package.h"

#include "audio/wav_reader.h"
#include "components/jpeg_codec.h"
#include "player/slideshow_package.h"

namespace tovak {

namespace {

// One picture's line of the listing; throws Exception with what is wrong with it.
std::string DescribePicture(SlideshowPackage& package, int picture) {
  const QImage image = package.Picture(picture);
  const bool stored = package.HasPicture(picture);
  if (image.isNull() && stored) throw Exception("the picture cannot be decoded");
  const std::string size =
      stored ? std::to_string(image.width()) + "x" + std::to_string(image.height()) : "no picture";
  std::string voice = "no voice";
  const std::vector<uint8_t> wav = package.ExpandVoice(picture);
  if (!wav.empty()) {
    char text[64];
    std::snprintf(text, sizeof text, "voice %.1f s", ReadWavInfo(wav).Seconds());
    voice = text;
  }
  QString message;
  try {
    message = package.Message(picture);
  } catch (const Exception& e) {
    throw Exception(std::string("the message cannot be read (") + e.what() + ")");
  }
  const QString first = message.section('\n', 0, 0);
  char line[64];
  std::snprintf(line, sizeof line, "%4d  ", picture + 1);
  return line + size + "  " + voice + "  " +
         (message.isEmpty() ? "no message" : "\"" + PrintableText(first.toStdString()) + "\"");
}

}  // namespace

int CheckPackage(const std::string& path, std::FILE* out, std::FILE* err) {
  SlideshowPackage package;
  try {
    package.Open(path);
  } catch (const Exception& e) {
    std::fprintf(err, "tovak-player: %s\n", e.what());
    return 1;
  }
  std::fprintf(out, "%s: %d pictures\n", path.c_str(), package.Count());
  // Every damaged picture is named, not only the first: whoever mends the show needs them all.
  int damaged = 0;
  for (int picture = 0; picture < package.Count(); ++picture) {
    try {
      std::fprintf(out, "%s\n", DescribePicture(package, picture).c_str());
    } catch (const Exception& e) {
      std::fprintf(err, "tovak-player: picture %d: %s\n", picture + 1, e.what());
      ++damaged;
    }
  }
  return damaged > 0 ? 1 : 0;
}

}  // namespace tovak
