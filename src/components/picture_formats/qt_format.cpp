#include "components/picture_formats/qt_format.h"

#include <QImageReader>
#include <algorithm>
#include <mutex>

#include "components/magick_decoder.h"
#include "components/picture_formats/magick_format.h"

namespace tovak {

namespace {

// Qt's own default (128 MiB) is below kMaxPicturePixels at 4 bytes a pixel.
constexpr int kQtAllocationLimitMiB = 1024;

void PrepareQt() {
  static std::once_flag once;
  std::call_once(once, [] {
    const int limit = QImageReader::allocationLimit();
    if (limit != 0 && limit < kQtAllocationLimitMiB) {
      QImageReader::setAllocationLimit(kQtAllocationLimitMiB);
    }
  });
}

int BitsOfQtFormat(QImage::Format format) {
  switch (format) {
    case QImage::Format_Invalid:
      return 0;
    case QImage::Format_RGB32:
      return 24;
    case QImage::Format_RGBX64:
      return 48;
    default:
      return QImage::toPixelFormat(format).bitsPerPixel();
  }
}

}  // namespace

void QtFormat::ReadInfo(PictureSource& source, PictureInfo& info,
                        const KeepWaiting& keepWaiting) const {
  PrepareQt();
  const std::unique_ptr<QIODevice> device = source.Open();
  QImageReader reader(device.get(), qtFormat_);
  reader.setAutoDetectImageFormat(false);
  const QSize size = reader.size();
  if (!size.isValid()) {
    InfoFromMagick(source.Whole(), Name(), info, keepWaiting);
    return;
  }
  info.width = size.width();
  info.height = size.height();
  const std::optional<int> declared = DeclaredBits(source.Head());
  info.bitsPerPixel = declared ? *declared : BitsOfQtFormat(reader.imageFormat());
  if (pages_ == Pages::Counted) info.pageCount = std::max(1, reader.imageCount());
}

void QtFormat::CheckDeclaredSize(Bytes data, const KeepWaiting& keepWaiting) const {
  PrepareQt();
  const std::unique_ptr<QIODevice> device = PictureSource(data).Open();
  QImageReader reader(device.get(), qtFormat_);
  reader.setAutoDetectImageFormat(false);
  const QSize size = reader.size();
  if (size.isValid()) {
    CheckSize(size.width(), size.height());
  } else {
    // Qt rejects some headers it cannot handle, sizes beyond its own limit among them.
    const MagickHeader h = PingWithMagick(data.data(), data.size(), Name(), keepWaiting);
    CheckSize(h.width, h.height);
  }
}

QImage QtFormat::Decode(Bytes data, const KeepWaiting& keepWaiting) const {
  PrepareQt();
  const std::unique_ptr<QIODevice> device = PictureSource(data).Open();
  QImageReader reader(device.get(), qtFormat_);
  reader.setAutoDetectImageFormat(false);
  QImage image;
  if (reader.size().isValid() && reader.read(&image)) return image;
  return DecodeWithMagick(data.data(), data.size(), Name(), keepWaiting);
}

}  // namespace tovak
