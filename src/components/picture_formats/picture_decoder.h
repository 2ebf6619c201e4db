#pragma once

#include <QIODevice>
#include <QImage>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "components/picture_file.h"
#include "components/picture_wait.h"

namespace tovak {

using Bytes = std::span<const uint8_t>;

// The data of one picture: a file, of which only the head may have been read so far, or bytes
// already in memory.
class PictureSource {
 public:
  // All of the picture, held by the caller for as long as the source is used.
  explicit PictureSource(Bytes data) : memory_(data), size_(data.size()) {}

  // The file's first `limit` bytes. Throws EPictureError for a missing, unreadable or empty file.
  static PictureSource ReadFile(const std::string& path, uint64_t limit);
  // All of the file, as Whole() reads it.
  static PictureSource ReadWholeFile(const std::string& path);

  // What has been read: the start of the file, or all of it.
  Bytes Head() const { return path_.empty() ? memory_ : Bytes(bytes_); }
  bool IsWhole() const { return Head().size() == size_; }

  // All of the picture, reading the rest of the file now when only its head was read. Files
  // are decoded from memory, so one beyond about 1 GiB fails here.
  Bytes Whole();

  // A device reading the picture from its start, for Qt's readers, which may read a file
  // further than its head without holding all of it.
  std::unique_ptr<QIODevice> Open() const;

 private:
  std::string path_;
  std::vector<uint8_t> bytes_;
  Bytes memory_;
  uint64_t size_ = 0;
};

// One family of picture files: how to tell them, read their header, and decode them. A picture
// is identified first, then either its information is read, or it is checked and decoded.
class PictureDecoder {
 public:
  PictureDecoder(PictureFormat format, const char* name) : format_(format), name_(name) {}
  virtual ~PictureDecoder() = default;

  PictureFormat Format() const { return format_; }
  // For messages and the command line ("PNG"), and GraphicsMagick's name for the format.
  const char* Name() const { return name_; }

  // Whether the data, which starts with head, is in this format. Only formats without a
  // signature look at the file's upper-cased extension (".TGA").
  virtual bool Identify(Bytes head, std::string_view extension) const = 0;

  // Size, depth and page count from as little of the source as the format allows.
  virtual void ReadInfo(PictureSource& source, PictureInfo& info,
                        const KeepWaiting& keepWaiting) const = 0;

  // Throws when the header declares a picture too large to decode, before any pixels are.
  virtual void CheckDeclaredSize(Bytes /*data*/, const KeepWaiting& /*keepWaiting*/) const {}

  // Whether all the data the header promises is there. Some decoders fill what is missing from a
  // cut file with blank rows instead of failing.
  virtual bool Complete(Bytes /*data*/) const { return true; }

  // The first frame or page.
  virtual QImage Decode(Bytes data, const KeepWaiting& keepWaiting) const = 0;

 private:
  PictureFormat format_;
  const char* name_;
};

[[noreturn]] void ThrowDamaged();

// Throws EPictureError for a size below one pixel (or not a number) or beyond kMaxPicturePixels.
// Takes doubles: sizes computed from a drawing's coordinates may be beyond every integer type.
void CheckSize(double width, double height);

inline bool HasBytes(Bytes data, size_t at, std::string_view magic) {
  return data.size() >= at + magic.size() &&
         std::memcmp(data.data() + at, magic.data(), magic.size()) == 0;
}

}  // namespace tovak
