#include "engine-win32/streamed_voice.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "builder/package_format.h"
#include "common/byte_order.h"
#include "common/exception.h"
#include "common/file_stream.h"
#include "compress/lzrw1_class.h"
#include "platform/native_file.h"

namespace tovak {

namespace {

// The WAV header and anything before the sound: recorders put a few small chunks there.
constexpr size_t kLongestHeader = 64 * 1024;

// One record of the package, read in the container's own pieces from a handle of its own, so
// the player's thread and the window's never share a position.
class RecordStream : public TStream {
 public:
  RecordStream(const std::string& path, int64_t offset, int64_t size)
      : offset_(offset), size_(size) {
    if (!file_.Open(path, TFileStream::Mode::Read)) throw Exception("the voice cannot be read");
  }
  int64_t Read(void* buffer, int64_t n) override {
    n = std::min(n, size_ - at_);
    if (n <= 0) return 0;
    const int64_t got = platform::ReadSomeAt(file_.Handle(), buffer, n, offset_ + at_);
    if (got > 0) at_ += got;
    return got;
  }
  int64_t Write(const void*, int64_t) override { return -1; }
  int64_t Seek(int64_t offset, Origin origin) override {
    return origin == soFromCurrent && offset == 0 ? at_ : -1;
  }
  int64_t Size() override { return size_; }

 private:
  TFileStream file_;
  const int64_t offset_;
  const int64_t size_;
  int64_t at_ = 0;
};

// Takes the expanded WAV file as the container writes it. Writing less than asked ends the
// expansion: the container then stops quietly.
class ExpandedStream : public TStream {
 public:
  using Sink = std::function<bool(const uint8_t* bytes, size_t count, int64_t at)>;
  explicit ExpandedStream(Sink sink) : sink_(std::move(sink)) {}
  int64_t Read(void*, int64_t) override { return -1; }
  int64_t Write(const void* buffer, int64_t n) override {
    const int64_t at = at_;
    at_ += n;
    return sink_(static_cast<const uint8_t*>(buffer), size_t(n), at) ? n : -1;
  }
  int64_t Seek(int64_t offset, Origin origin) override {
    return origin == soFromCurrent && offset == 0 ? at_ : -1;
  }
  int64_t Size() override { return at_; }

 private:
  Sink sink_;
  int64_t at_ = 0;
};

void Expand(const std::string& path, int64_t offset, int64_t size, ExpandedStream::Sink sink) {
  RecordStream in(path, offset, size);
  ExpandedStream out(std::move(sink));
  TLzrw1Class expander;
  expander.UseStreams = true;
  expander.InputStream = &in;
  expander.OutputStream = &out;
  expander.Decompress();
}

bool IsId(const uint8_t* bytes, const char* id) {
  return std::memcmp(bytes, id, 4) == 0;
}

}  // namespace

void StreamedVoice::Open(const std::string& path, int64_t offset, int64_t size) {
  path_ = path;
  offset_ = offset;
  size_ = size;
  info_ = WavInfo();
  uint8_t head[8] = {};
  {
    RecordStream record(path, offset, size);
    if (!record.ReadExact(head, sizeof head)) throw Exception("a voice record is damaged");
  }
  // Slideshows carry their voices in the strong form only.
  const uint32_t magic = GetLe32(head);
  const int64_t stated = static_cast<int32_t>(GetLe32(head + 4));
  if (magic != TLzrw1Class::kMagicLzh) throw Exception("a voice record is not a voice container");
  if (stated < 0 || stated > TLzrw1Class::LargestExpansion(magic, size - 8) ||
      stated > package::kLargestVoice) {
    throw Exception("a voice record is damaged");
  }
  if (stated == 0) return;  // a picture without a voice

  std::vector<uint8_t> header;
  Expand(path, offset, size, [&header](const uint8_t* bytes, size_t count, int64_t) {
    header.insert(header.end(), bytes, bytes + std::min(count, kLongestHeader - header.size()));
    return header.size() < kLongestHeader;
  });
  if (header.size() < 12 || !IsId(header.data(), "RIFF") || !IsId(header.data() + 8, "WAVE")) {
    throw Exception("This is not a WAV file");
  }
  // The chunks up to the sound's, checked as any WAV file is; only the sound's length is taken
  // from its chunk, since the sound itself is still to come.
  for (size_t at = 12; at + 8 <= header.size();) {
    const uint64_t length = GetLe32(header.data() + at + 4);
    if (IsId(header.data() + at, "data")) {
      std::vector<uint8_t> head(header.begin(), header.begin() + std::ptrdiff_t(at + 8));
      PutLe32(head.data() + at + 4, 0);
      info_ = ReadWavInfo(head);
      if (at + 8 + length > uint64_t(stated)) throw Exception("The WAV file is cut short");
      info_.dataSize = size_t(length - length % info_.format.nBlockAlign);
      if (info_.Seconds() > double(package::kLongestVoiceSeconds)) {
        throw Exception("the voice is longer than any show's");
      }
      return;
    }
    at += 8 + length + (length & 1);
  }
  throw Exception("The WAV file has no sound near its start");
}

void StreamedVoice::Play(const Take& take) const {
  const int64_t first = int64_t(info_.dataOffset);
  const int64_t end = first + int64_t(info_.dataSize);
  Expand(path_, offset_, size_, [&](const uint8_t* bytes, size_t count, int64_t at) {
    const int64_t from = std::max(at, first);
    const int64_t to = std::min(at + int64_t(count), end);
    if (from < to && !take(bytes + (from - at), size_t(to - from))) return false;
    // Whatever follows the sound is not needed.
    return to < end;
  });
}

}  // namespace tovak
