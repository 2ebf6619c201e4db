#include "components/picture_file.h"

#include <QColorSpace>
#include <filesystem>
#include <new>
#include <string_view>

#include "common/files.h"
#include "components/picture_colour.h"
#include "components/picture_error.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

// Enough for every header here, a JPEG's too unless its metadata is unusually large.
constexpr uint64_t kHeaderBytes = 256 * 1024;

const PictureDecoder& FindDecoder(Bytes head, const std::string& extension) {
  const PictureDecoder* decoder = FindPictureDecoder(head, extension);
  if (!decoder) throw EPictureError("the file is not a picture of a kind this program can read");
  return *decoder;
}

PictureInfo ReadInfo(PictureSource& source, const std::string& extension,
                     const KeepWaiting& keepWaiting) {
  const PictureDecoder& decoder = FindDecoder(source.Head(), extension);
  PictureInfo info;
  info.format = decoder.Format();
  info.formatName = decoder.Name();
  decoder.ReadInfo(source, info, keepWaiting);
  CheckSize(info.width, info.height);
  return info;
}

QImage Decode(Bytes data, const std::string& extension, const KeepWaiting& keepWaiting) {
  const PictureDecoder& decoder = FindDecoder(data, extension);
  decoder.CheckDeclaredSize(data, keepWaiting);
  if (!decoder.Complete(data)) ThrowDamaged();
  QImage image = decoder.Decode(data, keepWaiting);
  CheckSize(image.width(), image.height());
  const QImage::Format format =
      image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  if (image.format() != format) image = image.convertToFormat(format);
  if (image.isNull()) throw EPictureError("not enough memory for the picture");
  // Qt's readers keep the profile of a PNG, WebP or TIFF beside the pixels; JPEGs are converted
  // as they are decoded.
  if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace(QColorSpace::SRgb)) {
    const QByteArray icc = image.colorSpace().iccProfile();
    ConvertToSrgb(image,
                  std::span(reinterpret_cast<const uint8_t*>(icc.data()), size_t(icc.size())));
    image.setColorSpace(QColorSpace());
  }
  return image;
}

// Every failure is reported as EPictureError, with the file's name in front when there is one.
template <typename Body>
auto Reported(const std::string& name, Body body) {
  try {
    return body();
  } catch (const EPictureError& e) {
    std::string_view text = e.what();
    if (text.starts_with("JPEG : ")) text.remove_prefix(7);
    throw EPictureError(name.empty() ? std::string(text) : name + " : " + std::string(text));
  } catch (const std::bad_alloc&) {
    throw EPictureError((name.empty() ? "" : name + " : ") + "not enough memory for the picture");
  }
}

std::string NameOf(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  return name.empty() ? path : name;
}

}  // namespace

PictureInfo GetFileInfo(const std::string& path, const KeepWaiting& keepWaiting) {
  return Reported(NameOf(path), [&] {
    PictureSource source = PictureSource::ReadFile(path, kHeaderBytes);
    return ReadInfo(source, UpperExtension(path), keepWaiting);
  });
}

QImage LoadPicture(const std::string& path, const KeepWaiting& keepWaiting) {
  return Reported(NameOf(path), [&] {
    const PictureSource source = PictureSource::ReadWholeFile(path);
    return Decode(source.Head(), UpperExtension(path), keepWaiting);
  });
}

PictureInfo GetPictureInfo(std::span<const uint8_t> data, const std::string& extension,
                           const KeepWaiting& keepWaiting) {
  return Reported("", [&] {
    PictureSource source(data);
    return ReadInfo(source, extension, keepWaiting);
  });
}

QImage DecodePicture(std::span<const uint8_t> data, const std::string& extension,
                     const KeepWaiting& keepWaiting) {
  return Reported("", [&] { return Decode(data, extension, keepWaiting); });
}

}  // namespace tovak
