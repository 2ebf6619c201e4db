#include "player/check_package.h"

#include "audio/wav_reader.h"
#include "components/jpeg_codec.h"
#include "player/slideshow_package.h"

namespace tovak {

int CheckPackage(const std::string& path, std::FILE* out, std::FILE* err) {
  SlideshowPackage package;
  int picture = 0;
  try {
    package.Open(path);
    std::fprintf(out, "%s: %d pictures\n", path.c_str(), package.Count());
    for (picture = 0; picture < package.Count(); ++picture) {
      const QImage image = package.Picture(picture);
      const bool stored = package.HasPicture(picture);
      if (image.isNull() && stored) throw Exception("the picture cannot be decoded");
      const std::string size =
          stored ? std::to_string(image.width()) + "x" + std::to_string(image.height())
                 : "no picture";
      std::string voice = "no voice";
      const std::vector<uint8_t> wav = package.ExpandVoice(picture);
      if (!wav.empty()) {
        char text[64];
        std::snprintf(text, sizeof text, "voice %.1f s", ReadWavInfo(wav).Seconds());
        voice = text;
      }
      const QString message = package.Message(picture);
      const QString first = message.section('\n', 0, 0);
      std::fprintf(out, "%4d  %s  %s  %s\n", picture + 1, size.c_str(), voice.c_str(),
                   message.isEmpty() ? "no message" : ("\"" + first.toStdString() + "\"").c_str());
    }
  } catch (const EPackageError& e) {
    std::fprintf(err, "tovak-player: %s\n", e.what());
    return 1;
  } catch (const Exception& e) {
    std::fprintf(err, "tovak-player: picture %d: %s\n", picture + 1, e.what());
    return 1;
  }
  return 0;
}

}  // namespace tovak
