#include "builder/package_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

using Kind = PackageReader::Kind;

int64_t Largest(Kind kind) {
  switch (kind) {
    case Kind::kPicture:
      return package::kLargestPicture;
    case Kind::kVoice:
      return package::kLargestVoice;
    case Kind::kMessage:
      return package::kLargestMessage;
    case Kind::kLinkMenu:
      return package::kLargestLinkMenu;
    case Kind::kAny:
      break;
  }
  return package::kLargestPackage;
}

// Sizes as whole binary units, the way the bounds are set.
std::string SizeText(int64_t bytes) {
  if (bytes >= (int64_t{1} << 30) && bytes % (int64_t{1} << 30) == 0)
    return std::to_string(bytes >> 30) + " GiB";
  if (bytes >= (int64_t{1} << 20) && bytes % (int64_t{1} << 20) == 0)
    return std::to_string(bytes >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

// The kind of index entry k in a package of this many records: three per picture, then the
// link menu.
PackageReader::Record KindOf(int64_t k, int64_t records, PackageReader::Record record) {
  if (k == records - 1) {
    record.kind = Kind::kLinkMenu;
  } else {
    constexpr Kind kinds[package::kRecordsPerPicture] = {Kind::kPicture, Kind::kVoice,
                                                         Kind::kMessage};
    record.kind = kinds[k % package::kRecordsPerPicture];
    record.picture = static_cast<int>(k / package::kRecordsPerPicture);
  }
  return record;
}

// Why a voice container's header is no voice's; nullptr when it may be one. Slideshows carry
// their voices in the strong form only. The fast form can legitimately expand a megabyte into
// most of a gigabyte, which no voice needs and a forged record would exploit.
const char* VoiceHeaderProblem(const uint8_t* header, int64_t containerSize) {
  const uint32_t magic = containerSize >= 8 ? GetLe32(header) : 0;
  if (magic != TLzrw1Class::kMagicLzh) return "is not a voice container";
  const int64_t stated = static_cast<int32_t>(GetLe32(header + 4));
  if (stated < 0 || stated > TLzrw1Class::LargestExpansion(magic, containerSize - 8))
    return "is damaged";
  if (stated > package::kLargestVoice) return "expands to more than 1 GiB";
  return nullptr;
}

}  // namespace

std::string PackageReader::BoundProblem(const Record& record) {
  if (record.size <= Largest(record.kind)) return {};
  const char* what = record.kind == Kind::kPicture   ? "picture"
                     : record.kind == Kind::kVoice   ? "voice"
                     : record.kind == Kind::kMessage ? "message"
                                                     : "link menu";
  const std::string where =
      record.picture >= 0 ? "picture " + std::to_string(record.picture + 1) + ": " : "";
  return where + "the " + what + " is larger than " + SizeText(Largest(record.kind));
}

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
      // Every reader stops at the same bounds, so a show one refuses is refused by all at once.
      if (const std::string problem = BoundProblem(KindOf(k + j, records, {offset, size}));
          !problem.empty()) {
        throw EPackageError(Name(path) + " : " + problem);
      }
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
  const int64_t k = int64_t{package::kRecordsPerPicture} * picture + which;
  return KindOf(k, package::IndexEntryCount(pictureCount_) / 2, Entry(k));
}

PackageReader::Record PackageReader::LinkMenuRecord() const {
  if (pictureCount_ == 0) throw EPackageError("no slideshow is open");
  Record record = linkMenu_;
  record.kind = Kind::kLinkMenu;
  return record;
}

void PackageReader::CheckRecord(const Record& record) const {
  // The index was checked when the package was opened, but the file may have changed since.
  if (record.offset < 0 || record.size < 0 || record.offset + record.size > tableStart_) {
    throw EPackageError(Name(path_) +
                        " : not a complete slideshow (a record reaches past the data)");
  }
  if (const std::string problem = BoundProblem(record); !problem.empty())
    throw EPackageError(Name(path_) + " : " + problem);
}

std::vector<uint8_t> PackageReader::Read(const Record& record) {
  CheckRecord(record);
  std::vector<uint8_t> bytes(static_cast<size_t>(record.size));
  ReadAt(record.offset, bytes.data(), record.size);
  return bytes;
}

std::vector<uint8_t> PackageReader::VoiceContainer(int picture) {
  const Record record = VoiceRecord(picture);
  CheckRecord(record);
  uint8_t header[8] = {};
  if (record.size >= 8) ReadAt(record.offset, header, sizeof header);
  if (const char* problem = VoiceHeaderProblem(header, record.size)) {
    throw EPackageError(std::string("a voice record ") + problem);
  }
  return Read(record);
}

std::vector<std::string> PackageReader::MessageLines(int picture) {
  const std::vector<uint8_t> bytes = Read(MessageRecord(picture));
  return SplitLines(std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> PackageReader::LinkMenu() {
  const std::vector<uint8_t> bytes = Read(LinkMenuRecord());
  std::vector<std::string> list = SplitLines(std::string(bytes.begin(), bytes.end()));
  // Each player lays out every link in every language it states.
  const auto count = [&](size_t k) {
    return k < list.size() ? std::strtoll(list[k].c_str(), nullptr, 10) : 0;
  };
  if (count(0) > package::kMostLinkLanguages) {
    throw EPackageError(Name(path_) + " : the link menu has more than " +
                        std::to_string(package::kMostLinkLanguages) + " languages");
  }
  if (count(1) > package::kMostLinks) {
    throw EPackageError(Name(path_) + " : the link menu has more than " +
                        std::to_string(package::kMostLinks) + " links");
  }
  return list;
}

namespace {

// The container as the expander's input, read where it lies.
class BytesStream : public TStream {
 public:
  explicit BytesStream(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  int64_t Read(void* buffer, int64_t n) override {
    const int64_t count = std::clamp<int64_t>(Size() - position_, 0, std::max<int64_t>(n, 0));
    if (count > 0) std::memcpy(buffer, bytes_.data() + position_, static_cast<size_t>(count));
    position_ += count;
    return count;
  }
  int64_t Write(const void*, int64_t) override { return -1; }
  int64_t Seek(int64_t offset, Origin origin) override {
    const int64_t base = origin == soFromBeginning ? 0
                         : origin == soFromCurrent ? position_
                                                   : Size();
    if (base + offset < 0) return -1;
    return position_ = base + offset;
  }
  int64_t Size() override { return static_cast<int64_t>(bytes_.size()); }

 private:
  const std::vector<uint8_t>& bytes_;
  int64_t position_ = 0;
};

// Takes the expanded voice, kept whole or only counted, and stops it as soon as its WAV header
// shows it longer than a show may play: a forged length costs neither the time nor the memory
// of expanding it.
class VoiceOutput : public TStream {
 public:
  VoiceOutput(bool keep, int64_t stated) : keep_(keep), stated_(stated) {
    if (keep) bytes_.reserve(static_cast<size_t>(stated));
  }
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void* buffer, int64_t n) override {
    const auto* from = static_cast<const uint8_t*>(buffer);
    if (keep_) {
      bytes_.insert(bytes_.end(), from, from + n);
    } else if (head_.size() < kHeadBytes) {
      head_.insert(head_.end(), from,
                   from + std::min<int64_t>(n, int64_t(kHeadBytes - head_.size())));
    }
    size_ += n;
    if (!judged_) {
      const std::vector<uint8_t>& head = keep_ ? bytes_ : head_;
      const WavHead wav = ReadWavHead(head.data(), head.size(), stated_);
      // A header that does not end within the first bytes is judged once the voice is whole.
      judged_ = wav.state != WavHead::State::kNeedMore || head.size() >= kHeadBytes;
      tooLong_ = TooLong(wav);
      if (tooLong_) return 0;
    }
    return n;
  }
  int64_t Seek(int64_t offset, Origin origin) override {
    return origin == soFromCurrent && offset == 0 ? size_ : -1;
  }
  int64_t Size() override { return size_; }

  static bool TooLong(const WavHead& wav) {
    return wav.state == WavHead::State::kFound &&
           wav.Seconds() > double(package::kLongestVoiceSeconds);
  }
  // Whether the whole voice, as far as it is kept, is longer than a show may play.
  bool IsTooLong() const {
    return tooLong_ || (keep_ && TooLong(ReadWavHead(bytes_.data(), bytes_.size(), stated_)));
  }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  static constexpr size_t kHeadBytes = 64 << 10;
  bool keep_;
  int64_t stated_;
  bool judged_ = false;
  bool tooLong_ = false;
  int64_t size_ = 0;
  std::vector<uint8_t> bytes_;
  std::vector<uint8_t> head_;
};

// Expands the container into out; true when it gave exactly the size it states.
bool Expand(const std::vector<uint8_t>& container, TStream& out) {
  BytesStream in(container);
  TLzrw1Class expander;
  expander.UseStreams = true;
  expander.InputStream = &in;
  expander.OutputStream = &out;
  return expander.Decompress() == expander.UncompressedSize();
}

[[noreturn]] void RefuseVoice(const VoiceOutput& out) {
  if (out.IsTooLong()) {
    throw EPackageError("a voice record is longer than " +
                        std::to_string(package::kLongestVoiceSeconds / 3600) + " hours");
  }
  throw EPackageError("a voice record is damaged");
}

}  // namespace

std::vector<uint8_t> ExpandVoiceRecord(const std::vector<uint8_t>& container,
                                       int64_t expandedAtOnce) {
  if (const char* problem = VoiceHeaderProblem(container.data(), int64_t(container.size()))) {
    throw EPackageError(std::string("a voice record ") + problem);
  }
  const int64_t stated = static_cast<int32_t>(GetLe32(container.data() + 4));
  if (stated > expandedAtOnce) {
    VoiceOutput counted(false, stated);
    if (!Expand(container, counted) || counted.IsTooLong()) RefuseVoice(counted);
  }
  // Room for the stated size at once, so the output never grows by doubling past it.
  VoiceOutput out(true, stated);
  if (!Expand(container, out) || out.IsTooLong()) RefuseVoice(out);
  return std::move(out.Bytes());
}

WavHead ReadWavHead(const uint8_t* bytes, size_t count, int64_t fileSize) {
  WavHead wav;
  const auto more = [&] {
    wav.state = int64_t(count) < fileSize ? WavHead::State::kNeedMore : WavHead::State::kNotWav;
    return wav;
  };
  if (count < 12) return more();
  if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    wav.state = WavHead::State::kNotWav;
    return wav;
  }
  // 64-bit positions: a chunk length near 4 GiB must not wrap back to an earlier chunk.
  bool haveFormat = false;
  uint64_t pos = 12;
  while (pos + 8 <= count) {
    const uint8_t* chunk = bytes + pos;
    const uint64_t length = GetLe32(chunk + 4);
    const uint64_t body = pos + 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (body + 16 > count) return more();
      wav.format = GetLe16(bytes + body);
      wav.channels = GetLe16(bytes + body + 2);
      wav.rate = GetLe32(bytes + body + 4);
      wav.bytesPerSecond = GetLe32(bytes + body + 8);
      wav.bits = GetLe16(bytes + body + 14);
      // Players recompute a plain PCM rate rather than trust the stated one.
      const uint64_t computed = uint64_t{wav.rate} * wav.channels * wav.bits / 8;
      if (wav.format == 1 && computed > 0 && computed <= UINT32_MAX)
        wav.bytesPerSecond = static_cast<uint32_t>(computed);
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) break;
      wav.state = WavHead::State::kFound;
      wav.dataBytes =
          std::max<int64_t>(0, std::min<int64_t>(int64_t(length), fileSize - int64_t(body)));
      return wav;
    }
    pos = body + length + (length & 1);
  }
  if (pos + 8 <= count) {
    wav.state = WavHead::State::kNotWav;
    return wav;
  }
  return more();
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
