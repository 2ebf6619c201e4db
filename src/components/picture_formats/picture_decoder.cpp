#include "components/picture_formats/picture_decoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "components/picture_error.h"

namespace tovak {

namespace {

// Files are decoded from memory; anything larger is refused rather than read.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

std::string SizeText(double value) {
  if (value < 1e15) return std::to_string(static_cast<int64_t>(value));
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", value);
  return text;
}

}  // namespace

PictureSource PictureSource::ReadFile(const std::string& path, uint64_t limit) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw EPictureError(std::filesystem::exists(path, error) ? "this is not a file"
                                                             : "the file does not exist");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EPictureError("cannot open the file");
  in.seekg(0, std::ios::end);
  const std::streamoff end = in.tellg();
  in.seekg(0);
  if (end < 0 || !in) throw EPictureError("cannot read the file");
  if (end == 0) throw EPictureError("the file is empty");
  PictureSource source(Bytes{});
  source.path_ = path;
  source.size_ = uint64_t(end);
  source.bytes_.resize(std::min(source.size_, limit));
  in.read(reinterpret_cast<char*>(source.bytes_.data()), std::streamsize(source.bytes_.size()));
  if (uint64_t(in.gcount()) != source.bytes_.size()) throw EPictureError("cannot read the file");
  return source;
}

PictureSource PictureSource::ReadWholeFile(const std::string& path) {
  PictureSource source = ReadFile(path, kMaxFileBytes);
  if (!source.IsWhole()) throw EPictureError("the file is too large");
  return source;
}

Bytes PictureSource::Whole() {
  if (!IsWhole()) {
    if (size_ > kMaxFileBytes) throw EPictureError("the file is too large");
    *this = ReadWholeFile(path_);
  }
  return Head();
}

std::unique_ptr<QIODevice> PictureSource::Open() const {
  if (path_.empty()) {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(QByteArray::fromRawData(reinterpret_cast<const char*>(memory_.data()),
                                            static_cast<qsizetype>(memory_.size())));
    buffer->open(QIODevice::ReadOnly);
    return buffer;
  }
  auto file = std::make_unique<QFile>(QFile::decodeName(QByteArray::fromStdString(path_)));
  if (!file->open(QIODevice::ReadOnly)) throw EPictureError("cannot open the file");
  return file;
}

void ThrowDamaged() {
  throw EPictureError("the picture is damaged or truncated");
}

void CheckSize(double width, double height) {
  if (!(width >= 1 && height >= 1)) ThrowDamaged();
  if (width * height > double(kMaxPicturePixels)) {
    throw EPictureError("the picture is too large (" + SizeText(width) + " x " + SizeText(height) +
                        ")");
  }
}

}  // namespace tovak
