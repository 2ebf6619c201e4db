#include "player/check_package.h"

#include "components/jpeg_codec.h"
#include "player/slideshow_content.h"

namespace tovak {

int CheckPackage(const std::string& path, std::FILE* out, std::FILE* err) {
  // The listing is the one the Windows engine prints too; only the decoder differs.
  return ListPackage(
      path,
      [](const std::vector<uint8_t>& jpeg, int& width, int& height) {
        try {
          const QImage image = DecodeJpeg(jpeg.data(), jpeg.size());
          width = image.width();
          height = image.height();
          return !image.isNull();
        } catch (const Exception& e) {
          // Whoever mends the show needs to know why: a damaged stream, or one too slow to decode.
          throw Exception("the picture cannot be decoded (" + e.Message() + ")");
        }
      },
      out, err);
}

}  // namespace tovak
