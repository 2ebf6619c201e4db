#include "builder/package_reader.h"

#include <algorithm>

#include "builder/package_format.h"
#include "common/memory_stream.h"
#include "common/text_lines.h"
#include "compress/lzrw1_class.h"
#include "platform/native_file.h"

namespace tovak {

namespace {

std::string Name(const std::string& path) {
  return platform::FileNameOf(path);
}

}  // namespace

void PackageReader::Open(const std::string& path) {
  path_ = path;
  pictureCount_ = 0;
  tableStart_ = engineSize_ = 0;
  linkMenu_ = {};
  const std::string damaged = Name(path) + " : not a complete slideshow (";
  if (!file_.Open(path, TFileStream::Mode::Read)) {
    throw EPackageError(Name(path) + " : the file cannot be opened");
  }
  fileSize_ = file_.Size();
  if (fileSize_ < package::kTrailerSize) throw EPackageError(damaged + "too short)");
  // The builder keeps the whole file below the index's reach; a larger one is no slideshow,
  // whatever its index says.
  if (fileSize_ >= package::kLargestPackage) {
    throw EPackageError(damaged + "larger than a slideshow can be)");
  }

  uint8_t trailer[package::kTrailerSize];
  ReadAt(fileSize_ - package::kTrailerSize, trailer, sizeof trailer);
  const uint32_t zero = GetLe32(trailer);
  const uint32_t pictures = GetLe32(trailer + 4);
  const uint32_t perPicture = GetLe32(trailer + 8);
  trailerFlag_ = trailer[12];
  if (zero != 0 || perPicture != package::kRecordsPerPicture) {
    throw EPackageError(damaged + "no slideshow trailer)");
  }
  if (pictures == 0) throw EPackageError(damaged + "no pictures)");

  const int64_t records = package::IndexEntryCount(pictures) / 2;
  const int64_t tableStart = fileSize_ - package::kTrailerSize - 8 * records;
  if (tableStart < 0) throw EPackageError(damaged + "the picture count does not fit the file)");
  tableStart_ = tableStart;

  // The ends first: a forged count over a stretch of zeros fails here, before the table is
  // walked. Data always has the player engine in front of it.
  const Record first = Entry(0);
  const Record last = Entry(records - 1);
  if (first.offset <= 0) throw EPackageError(damaged + "no player in front of the data)");
  if (last.offset + last.size != tableStart) {
    throw EPackageError(damaged + "the records do not reach the index)");
  }

  // Walked piece by piece, so that checking costs the same small buffer for any count.
  constexpr int64_t kPiece = 8192;
  std::vector<uint8_t> piece(8 * kPiece);
  int64_t expected = first.offset;
  for (int64_t k = 0; k < records; k += kPiece) {
    const int64_t n = std::min(kPiece, records - k);
    ReadAt(tableStart + 8 * k, piece.data(), 8 * n);
    for (int64_t j = 0; j < n; ++j) {
      const auto refuse = [&](const char* why) {
        throw EPackageError(damaged + "record " + std::to_string(k + j) + why + ")");
      };
      const uint32_t offset = GetLe32(&piece[8 * j]);
      const uint32_t size = GetLe32(&piece[8 * j + 4]);
      if (offset >= package::kLargestPackage || size >= package::kLargestPackage) {
        refuse(" is out of range");
      }
      if (offset != expected) refuse(" does not follow the one before");
      expected = int64_t{offset} + size;
      if (expected > tableStart) refuse(" reaches past the data");
    }
  }
  if (expected != tableStart) throw EPackageError(damaged + "the records do not reach the index)");
  engineSize_ = first.offset;
  linkMenu_ = last;
  pictureCount_ = static_cast<int>(pictures);
}

void PackageReader::ReadAt(int64_t offset, void* bytes, int64_t count) const {
  auto* at = static_cast<uint8_t*>(bytes);
  while (count > 0) {
    const int64_t got = platform::ReadSomeAt(file_.Handle(), at, count, offset);
    if (got <= 0) throw EPackageError(Name(path_) + " : the file cannot be read");
    at += got;
    offset += got;
    count -= got;
  }
}

PackageReader::Record PackageReader::Entry(int64_t k) const {
  uint8_t entry[8];
  ReadAt(tableStart_ + 8 * k, entry, sizeof entry);
  return {GetLe32(entry), GetLe32(entry + 4)};
}

PackageReader::Record PackageReader::PictureRecord(int picture, int which) const {
  if (picture < 0 || picture >= pictureCount_) {
    throw EPackageError("the slideshow has no picture " + std::to_string(picture + 1));
  }
  return Entry(int64_t{package::kRecordsPerPicture} * picture + which);
}

PackageReader::Record PackageReader::LinkMenuRecord() const {
  if (pictureCount_ == 0) throw EPackageError("no slideshow is open");
  return linkMenu_;
}

std::vector<uint8_t> PackageReader::Read(const Record& record) {
  // The index was checked when the package was opened, but the file may have changed since.
  if (record.offset < 0 || record.size < 0 || record.offset + record.size > tableStart_) {
    throw EPackageError(Name(path_) +
                        " : not a complete slideshow (a record reaches past the data)");
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(record.size));
  ReadAt(record.offset, bytes.data(), record.size);
  return bytes;
}

std::vector<std::string> PackageReader::MessageLines(int picture) {
  const std::vector<uint8_t> bytes = Read(MessageRecord(picture));
  return SplitLines(std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> PackageReader::LinkMenu() {
  const std::vector<uint8_t> bytes = Read(LinkMenuRecord());
  return SplitLines(std::string(bytes.begin(), bytes.end()));
}

namespace {

// Takes a container's output and keeps only its length.
class CountingStream : public TStream {
 public:
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void*, int64_t n) override {
    size_ += n;
    return n;
  }
  int64_t Seek(int64_t offset, Origin origin) override {
    return origin == soFromCurrent && offset == 0 ? size_ : -1;
  }
  int64_t Size() override { return size_; }

 private:
  int64_t size_ = 0;
};

// Expands the container into out; true when it gave exactly the size it states.
bool Expand(const std::vector<uint8_t>& container, TStream& out) {
  TMemoryStream in{std::vector<uint8_t>(container)};
  TLzrw1Class expander;
  expander.UseStreams = true;
  expander.InputStream = &in;
  expander.OutputStream = &out;
  return expander.Decompress() == expander.UncompressedSize();
}

}  // namespace

std::vector<uint8_t> ExpandVoiceRecord(const std::vector<uint8_t>& container,
                                       int64_t expandedAtOnce) {
  // Slideshows carry their voices in the strong form only. The fast form can legitimately expand
  // a megabyte into most of a gigabyte, which no voice needs and a forged record would exploit.
  const uint32_t magic = container.size() >= 8 ? GetLe32(container.data()) : 0;
  if (magic != TLzrw1Class::kMagicLzh)
    throw EPackageError("a voice record is not a voice container");
  const int64_t stated = static_cast<int32_t>(GetLe32(container.data() + 4));
  if (stated < 0 ||
      stated > TLzrw1Class::LargestExpansion(magic, static_cast<int64_t>(container.size()) - 8)) {
    throw EPackageError("a voice record is damaged");
  }
  if (stated > expandedAtOnce) {
    CountingStream counted;
    if (!Expand(container, counted)) throw EPackageError("a voice record is damaged");
  }
  TMemoryStream out;
  // Room for the stated size at once, so the output never grows by doubling past it.
  out.Bytes().reserve(static_cast<size_t>(stated));
  if (!Expand(container, out)) throw EPackageError("a voice record is damaged");
  return std::move(out.Bytes());
}

namespace {

// The length of the well-formed UTF-8 sequence at text[at], or 0 when none starts there.
size_t Utf8Length(const std::string& text, size_t at) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[at + k]); };
  const uint8_t lead = byte(0);
  size_t length = 0;
  uint8_t low = 0x80, high = 0xBF;  // the second byte's range, narrowed against overlong forms
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size() || byte(1) < low || byte(1) > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if (byte(k) < 0x80 || byte(k) > 0xBF) return 0;
  }
  return length;
}

std::string Escaped(const char* prefix, unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%0*x", prefix, digits, value);
  return text;
}

}  // namespace

std::string PrintableText(const std::string& text) {
  std::string shown;
  shown.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const auto c = static_cast<uint8_t>(text[at]);
    if (c >= 0x20 && c < 0x7F) {
      shown += text[at++];
    } else if (c == '\t' || c == '\n' || c == '\r') {
      shown += c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\r";
      ++at;
    } else if (const size_t length = c >= 0x80 ? Utf8Length(text, at) : 0; length == 0) {
      shown += Escaped("\\x", c, 2);
      ++at;
    } else if (c == 0xC2 && static_cast<uint8_t>(text[at + 1]) < 0xA0) {
      // U+0080 to U+009F: some terminals obey these as controls too.
      shown += Escaped("\\u", static_cast<uint8_t>(text[at + 1]), 4);
      at += 2;
    } else {
      shown.append(text, at, length);
      at += length;
    }
  }
  return shown;
}

bool HasPackageData(const std::string& path) {
  try {
    PackageReader reader;
    reader.Open(path);
    return true;
  } catch (const EPackageError&) {
    return false;
  }
}

}  // namespace tovak
