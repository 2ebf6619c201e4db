// Picture files as the builder meets them: the format and size from the header, the
// completeness checks, and the decoders the program runs itself (JPEG, PSD, and Qt's readers
// for PNG, GIF, BMP and ICO).
//
// GraphicsMagick is left out: its coders, and the programs some of them start, are not ours to
// mend. Only inputs that begin with the signature of one of the formats above are tried; a Qt
// format goes on only when Qt reads its header (GetFileInfo otherwise asks GraphicsMagick), and
// its decoding only when Qt decodes it (LoadPicture otherwise hands it to GraphicsMagick).

#include <link.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "common/byte_order.h"
#include "components/jpeg_cleaning.h"
#include "components/jpeg_codec.h"
#include "components/picture_error.h"
#include "components/picture_file.h"
#include "components/psd_reader.h"
#include "harness.h"

namespace {

using namespace std::literals;
using tovak::fuzz::Fail;

// Larger pictures are only decoded more slowly, not differently.
constexpr int64_t kMostDecodedPixels = 1 << 18;

enum class Route { None, Jpeg, Psd, Qt };

struct Plan {
  Route route = Route::None;
  const char* qtFormat = "";
};

bool Starts(const uint8_t* data, size_t size, std::string_view magic) {
  return size >= magic.size() && std::memcmp(data, magic.data(), magic.size()) == 0;
}

Plan PlanFor(const uint8_t* data, size_t size) {
  if (Starts(data, size, "\xFF\xD8\xFF"sv)) return {Route::Jpeg};
  if (Starts(data, size, "8BPS")) return {Route::Psd};
  if (Starts(data, size, "\x89PNG\r\n\x1A\n"sv)) return {Route::Qt, "png"};
  if (Starts(data, size, "GIF87a") || Starts(data, size, "GIF89a")) {
    // Qt's reader clears a canvas of the logical screen's size, however small the frame.
    if (size < 10 ||
        int64_t{tovak::GetLe16(data + 6)} * tovak::GetLe16(data + 8) > kMostDecodedPixels) {
      return {};
    }
    return {Route::Qt, "gif"};
  }
  if (Starts(data, size, "BM")) return {Route::Qt, "bmp"};
  if (Starts(data, size, "\0\0\1\0"sv) && size >= 6 && (data[4] | data[5]) != 0) {
    return {Route::Qt, "ico"};
  }
  return {};
}

// What Qt makes of the bytes: its header's size, and whether it decodes them.
struct QtView {
  QSize size;
  bool decodes = false;
};

QtView AskQt(const uint8_t* data, size_t size, const char* format) {
  QByteArray array = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  QBuffer buffer(&array);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoDetectImageFormat(false);
  QtView view{reader.size()};
  if (view.size.isValid() &&
      int64_t{view.size.width()} * view.size.height() <= kMostDecodedPixels) {
    QImage image;
    view.decodes = reader.read(&image);
  }
  return view;
}

int64_t DeclaredPixels(const Plan& plan, const uint8_t* data, size_t size) {
  try {
    if (plan.route == Route::Jpeg) {
      const tovak::JpegHeader h = tovak::ReadJpegHeader(data, size);
      return int64_t{h.width} * h.height;
    }
    if (plan.route == Route::Psd) {
      const tovak::PsdHeader h = tovak::ReadPsdHeader(data, size);
      return int64_t{h.width} * h.height;
    }
  } catch (const tovak::EPictureError&) {
  }
  return 0;
}

// A JPEG kept as it came loses what draws nothing: what is left must draw the same pixels. One
// whose segments cannot be followed is drawn anew by the caller instead.
void CheckCleaning(const uint8_t* data, size_t size) {
  QImage drawn;
  try {
    drawn = tovak::DecodeJpeg(data, size);
  } catch (const tovak::EPictureError&) {
    return;
  }
  const std::vector<uint8_t> clean = tovak::JpegWithoutExtras(data, size);
  if (clean.empty()) return;
  try {
    if (tovak::DecodeJpeg(clean.data(), clean.size()) != drawn) {
      Fail("picture: the cleaned JPEG draws other pixels");
    }
  } catch (const tovak::EPictureError&) {
    Fail("picture: the cleaned JPEG does not decode");
  }
}

bool MagickLoaded() {
  return dl_iterate_phdr(
             [](dl_phdr_info* library, size_t, void*) {
               return library->dlpi_name && std::strstr(library->dlpi_name, "tovak_magick") ? 1 : 0;
             },
             nullptr) != 0;
}

}  // namespace

// Qt's readers complain about every damaged file; printing that only slows the search.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Plan plan = PlanFor(data, size);
  if (plan.route == Route::None) return 0;
  bool decode = DeclaredPixels(plan, data, size) <= kMostDecodedPixels;
  if (plan.route == Route::Qt) {
    const QtView qt = AskQt(data, size, plan.qtFormat);
    if (!qt.size.isValid()) return 0;
    decode = qt.decodes;
  }

  static const std::string path = tovak::fuzz::ScratchFile("picture");
  tovak::fuzz::WriteInput(path, data, size);
  tovak::PictureInfo info;
  bool known = true;
  try {
    info = tovak::GetFileInfo(path);
    if (info.width < 1 || info.height < 1 ||
        int64_t{info.width} * info.height > tovak::kMaxPicturePixels) {
      Fail("picture: GetFileInfo gave an impossible size");
    }
  } catch (const tovak::EPictureError&) {
    known = false;
  }
  if (decode) {
    try {
      const QImage image = tovak::LoadPicture(path);
      if (image.isNull() ||
          (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)) {
        Fail("picture: LoadPicture gave no 32-bit picture");
      }
      // An icon's directory and a GIF's screen are not the picture's own header.
      const bool ownHeader =
          info.format != tovak::PictureFormat::Ico && info.format != tovak::PictureFormat::Gif;
      if (known && ownHeader && image.size() != QSize(info.width, info.height)) {
        std::fprintf(stderr, "%s: GetFileInfo %dx%d, LoadPicture %dx%d\n", info.formatName.c_str(),
                     info.width, info.height, image.width(), image.height());
        Fail("picture: LoadPicture's size is not GetFileInfo's");
      }
    } catch (const tovak::EPictureError&) {
    }
  }
  if (decode && plan.route == Route::Jpeg) CheckCleaning(data, size);
  if (MagickLoaded()) Fail("picture: the harness let an input reach GraphicsMagick");
  return 0;
}
