#include "editor/ui/preview_loader.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <new>
#include <string_view>

#include "common/files.h"
#include "components/jpeg_codec.h"
#include "components/picture_error.h"
#include "components/picture_file.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

// The size the picture takes when fitted into bounds; never larger than the picture itself.
QSize FittedSize(QSize picture, QSize bounds) {
  if (picture.width() <= bounds.width() && picture.height() <= bounds.height()) return picture;
  return picture.scaled(bounds, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

// Qt's name for the formats the picture module reads through Qt, or nullptr.
const char* QtName(PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp:
      return "bmp";
    case PictureFormat::Gif:
      return "gif";
    case PictureFormat::Ico:
      return "ico";
    case PictureFormat::Png:
      return "png";
    default:
      return nullptr;
  }
}

// Qt's reader decodes straight to the smaller size where its handler can; null otherwise or
// when it fails, so that the full decoder (with its own fallbacks) takes over.
QImage ReadScaledWithQt(Bytes data, const char* format, QSize fitted) {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                             static_cast<qsizetype>(data.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoDetectImageFormat(false);
  if (!reader.supportsOption(QImageIOHandler::ScaledSize)) return {};
  reader.setScaledSize(fitted);
  QImage image;
  return reader.read(&image) ? image : QImage();
}

QImage Load(const std::string& path, QSize bounds) {
  PictureSource source = PictureSource::ReadWholeFile(path);
  const Bytes data = source.Head();
  const std::string extension = UpperExtension(path);
  const PictureInfo info = GetPictureInfo(data, extension);
  const QSize fitted = FittedSize(QSize(info.width, info.height), bounds);

  if (info.format == PictureFormat::Jpeg) {
    return DecodeJpeg(data.data(), data.size(), fitted.width(), fitted.height());
  }
  if (const char* qtName = QtName(info.format)) {
    const PictureDecoder* decoder = FindPictureDecoder(data, extension);
    // A cut file must fail here as it does in the full decoder, not show a blank bottom.
    if (decoder && decoder->Complete(data)) {
      QImage image = ReadScaledWithQt(data, qtName, fitted);
      if (!image.isNull()) return image;
    }
  }
  QImage image = DecodePicture(data, extension);
  if (image.size() == fitted) return image;
  return image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

QImage LoadPreviewImage(const std::string& path, QSize bounds, qreal devicePixelRatio) {
  const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  const QSize pixels(std::max(1, int(std::ceil(bounds.width() * ratio))),
                     std::max(1, int(std::ceil(bounds.height() * ratio))));
  std::string name = std::filesystem::path(path).filename().string();
  if (name.empty()) name = path;
  try {
    return Load(path, pixels);
  } catch (const EPictureError& e) {
    std::string_view text = e.what();
    if (text.starts_with("JPEG : ")) text.remove_prefix(7);
    throw EPictureError(name + " : " + std::string(text));
  } catch (const std::bad_alloc&) {
    throw EPictureError(name + " : not enough memory for the picture");
  }
}

}  // namespace tovak
