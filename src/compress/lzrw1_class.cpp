#include "compress/lzrw1_class.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "common/byte_order.h"
#include "common/file_stream.h"
#include "common/files.h"
#include "common/stream.h"
#include "compress/compress_errors.h"

namespace tovak {

namespace {

constexpr int32_t kAdviseMinimum = 3 * TLzrw1Class::kBufferSize;
constexpr int32_t kSampleMask = 0x7FFF8000;

constexpr char kLzhMismatch[] =
    "Lzrw1 (LZH decompression) : Original and compressed sizes do not match !";
constexpr char kLzhDamaged[] =
    "Lzrw1 (LZH decompression) : Compressed data is truncated or damaged !";
constexpr char kLzrw1KHMismatch[] =
    "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !";

// Signed 32-bit arithmetic that wraps as the stored format's writers did, without overflow.
int32_t Wrap32(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace

// Serves the LZH coder's bytes from InBuffer, refilled 32768 bytes at a time.
class TLzrw1Class::BufferSource : public LzhByteSource {
 public:
  explicit BufferSource(TLzrw1Class& owner) : owner_(owner) {}

 protected:
  bool Refill() override {
    const int64_t got = owner_.in_->Read(owner_.InBuffer.get(), kBufferSize);
    if (got < 0) owner_.FailRead(" (LZH)");
    owner_.bytesRead_ += got;
    owner_.Service();
    cur_ = owner_.InBuffer.get();
    end_ = cur_ + got;
    return got > 0;
  }

 private:
  TLzrw1Class& owner_;
};

// Gathers the LZH coder's bytes in OutBuffer; the output leaves in pieces of 32768 bytes. Given
// a limit, it takes that many bytes in all and fails with `overflow` on the next one.
class TLzrw1Class::BufferSink : public LzhByteSink {
 public:
  explicit BufferSink(TLzrw1Class& owner, int64_t limit = std::numeric_limits<int64_t>::max(),
                      const char* overflow = "")
      : owner_(owner), limit_(limit), overflow_(overflow) {
    cur_ = owner_.OutBuffer.get();
    OpenWindow();
  }

  void Flush() {
    uint8_t* start = owner_.OutBuffer.get();
    const int64_t pending = cur_ - start;
    const int64_t written = pending > 0 ? owner_.out_->Write(start, pending) : 0;
    owner_.CheckWrite(written, pending);
    owner_.bytesWritten_ += written;
    taken_ += pending;
    cur_ = start;
    OpenWindow();
  }

 protected:
  void Drain() override {
    Flush();
    if (cur_ == end_) throw ELzrw1Exception(overflow_);
  }

 private:
  // The window ends at the limit, so the coder's inline stores stop right there.
  void OpenWindow() { end_ = cur_ + std::min<int64_t>(kBufferSize, limit_ - taken_); }

  TLzrw1Class& owner_;
  const int64_t limit_;
  const char* const overflow_;
  int64_t taken_ = 0;
};

// One Compress, Decompress or Advise: the buffers live as long as it does, and whatever it
// opened is closed however it ends. Advise also puts a stream input back where it stood.
class TLzrw1Class::Operation {
 public:
  Operation(TLzrw1Class& owner, const char* bufferFailure, bool restoreInput = false)
      : owner_(owner) {
    if (restoreInput && owner_.UseStreams && owner_.InputStream) {
      restoreAt_ = owner_.InputStream->Position();
    }
    owner_.AllocateBuffers(bufferFailure);
  }
  ~Operation() {
    if (restoreAt_ >= 0) owner_.InputStream->Seek(restoreAt_, TStream::soFromBeginning);
    owner_.CloseFiles();
    owner_.FreeBuffers();
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

 private:
  TLzrw1Class& owner_;
  int64_t restoreAt_ = -1;
};

TLzrw1Class::TLzrw1Class() = default;
TLzrw1Class::~TLzrw1Class() = default;

void TLzrw1Class::Service() {
  if (ProcessMessages) ProcessMessages();
}

void TLzrw1Class::AllocateBuffers(const char* failure) {
  InBuffer.reset(new (std::nothrow) uint8_t[kBufferSize + kBufferSpare]());
  OutBuffer.reset(new (std::nothrow) uint8_t[kBufferSize + kBufferSpare]());
  if (!InBuffer || !OutBuffer) {
    FreeBuffers();
    throw ELzrw1Exception(failure);
  }
}

void TLzrw1Class::FreeBuffers() {
  source_.reset();
  sink_.reset();
  InBuffer.reset();
  OutBuffer.reset();
}

std::string TLzrw1Class::InputFailure(const std::string& streamText,
                                      const std::string& fileText) const {
  return UseStreams ? streamText : fileText + InputFileName;
}

void TLzrw1Class::CheckWrite(int64_t written, int64_t asked) {
  if (written != asked) {
    throw ELzrw1Exception(UseStreams ? "Lzrw1 : Error writing to output stream !"
                                     : "Lzrw1 : Error writing to output file : " + OutputFileName);
  }
  Service();
}

void TLzrw1Class::CheckRead(int64_t read, int64_t asked) {
  if (read != asked) {
    throw ELzrw1Exception(InputFailure("Lzrw1 : Error reading from input stream !",
                                       "Lzrw1 : Error reading from input file : "));
  }
  Service();
}

void TLzrw1Class::FailRead(const char* codecTag) {
  throw ELzrw1Exception(InputFailure("Lzrw1 : Error reading from input stream !",
                                     "Lzrw1 : Error reading from input file : ") +
                        codecTag);
}

void TLzrw1Class::OpenStreams() {
  if (UseStreams) {
    if (!InputStream || InputStream->Seek(0, TStream::soFromCurrent) < 0) {
      throw ELzrw1Exception("Lzrw1 (de)compression : Failed to initialize input stream !");
    }
    if (!OutputStream || OutputStream->Seek(0, TStream::soFromCurrent) < 0) {
      throw ELzrw1Exception("Lzrw1 (de)compression : Failed to initialize output stream !");
    }
    in_ = InputStream;
    out_ = OutputStream;
    return;
  }
  inputFile_ = std::make_unique<TFileStream>();
  if (!inputFile_->Open(InputFileName, TFileStream::Mode::Read)) {
    throw ELzrw1Exception("Lzrw1 (de)compression : Failed to open input file : " + InputFileName);
  }
  // Creating the output would truncate the input before a byte of it was read.
  outputFile_ = std::make_unique<TFileStream>();
  if (SameFile(InputFileName, OutputFileName) ||
      !outputFile_->Open(OutputFileName, TFileStream::Mode::Create)) {
    outputFile_.reset();
    throw ELzrw1Exception("Lzrw1 (de)compression : Failed to open output file : " + OutputFileName);
  }
  in_ = inputFile_.get();
  out_ = outputFile_.get();
}

// Bytes the input holds from its position on, or -1 when the stream cannot tell.
int64_t TLzrw1Class::InputLeft() {
  const int64_t size = in_->Size();
  const int64_t at = in_->Position();
  return size >= 0 && at >= 0 ? std::max<int64_t>(size - at, 0) : -1;
}

int64_t TLzrw1Class::LargestExpansion(uint32_t magic, int64_t bodyBytes) {
  if (magic == kMagicLzh) return bodyBytes < 0 ? -1 : TLZH::kMaxExpansion * bodyBytes;
  if (magic != kMagicLzrw1KH || bodyBytes < 2) return -1;
  // Every block but the last decodes to exactly one buffer's worth from at least its length
  // field and the shortest full block; the last needs its length field and yields less.
  const int64_t fullBlocks = (bodyBytes - 2) / (2 + TLZR::kShortestFullBlock);
  return (fullBlocks + 1) * kBufferSize - 1;
}

// Refuses a size field before anything is decoded when it is negative or when no body as short
// as the rest of the input could yield it, so that a forged one cannot make the output grow.
void TLzrw1Class::CheckStatedSize(uint32_t magic, const char* mismatch,
                                  const std::string& tooShort) {
  if (uncompressedSize_ < 0) throw ELzrw1Exception(mismatch);
  const int64_t left = InputLeft();
  if (left >= 0 && uncompressedSize_ > LargestExpansion(magic, left)) {
    throw ELzrw1Exception(tooShort);
  }
}

void TLzrw1Class::CloseFiles() {
  inputFile_.reset();
  outputFile_.reset();
  in_ = out_ = nullptr;
}

// Runs the part of an operation whose failures are handled by mode: with files the partial
// output is removed and the failure passed on; with streams it is absorbed.
template <typename Body>
void TLzrw1Class::Guarded(Body body) {
  try {
    body();
    // Data still in the system's hands is not yet safe: a failed close is a failed write.
    if (!UseStreams && outputFile_ && !outputFile_->Close()) CheckWrite(0, 1);
  } catch (const Exception&) {
    if (UseStreams) return;
    outputFile_.reset();
    DeleteFileIfExists(OutputFileName);
    throw;
  } catch (...) {
    if (!UseStreams) {
      outputFile_.reset();
      DeleteFileIfExists(OutputFileName);
    }
    throw;
  }
}

void TLzrw1Class::WriteHeaderValue(uint32_t value) {
  uint8_t bytes[4];
  PutLe32(bytes, value);
  CheckWrite(out_->Write(bytes, 4), 4);
}

uint32_t TLzrw1Class::ReadHeaderValue() {
  uint8_t bytes[4] = {};
  CheckRead(in_->Read(bytes, 4), 4);
  return GetLe32(bytes);
}

int32_t TLzrw1Class::Compress() {
  uint8_t method = Method;
  if (method == cmAuto) method = Advise() ? cmLzrw1KH : cmLzh;
  const bool fast = method == cmLzrw1KH;

  const Operation operation(*this,
                            "Lzrw1 (de)compression : Failed to get memory for I/O buffers !");

  const uint32_t magic = fast ? kMagicLzrw1KH : kMagicLzh;
  const int64_t size =
      UseStreams ? (InputStream ? InputStream->Size() : -1) : FileSize(InputFileName);
  if (size < 0 || size > std::numeric_limits<int32_t>::max()) {
    throw ELzrw1Exception(
        InputFailure("Lzrw1 compression : Failed to obtain the size of the input stream !",
                     "Lzrw1 compression : Failed to obtain the size of : "));
  }
  uncompressedSize_ = static_cast<int32_t>(size);
  OpenStreams();

  Guarded([&] {
    WriteHeaderValue(magic);
    bytesWritten_ = 4;
    bytesRead_ = 0;
    WriteHeaderValue(static_cast<uint32_t>(uncompressedSize_));
    bytesWritten_ += 4;
    if (fast) {
      CompressLzrw1KH();
    } else {
      CompressLzh();
    }
  });
  return BytesWritten();
}

void TLzrw1Class::CompressLzh() {
  source_ = std::make_unique<BufferSource>(*this);
  sink_ = std::make_unique<BufferSink>(*this);
  lzh_.Encode(*source_, *sink_);
  sink_->Flush();
}

void TLzrw1Class::CompressLzrw1KH() {
  int64_t blockIn = kBufferSize;
  bytesRead_ = 0;
  while (blockIn == kBufferSize) {
    blockIn = in_->Read(InBuffer.get(), kBufferSize);
    if (blockIn < 0) FailRead(" (LZRW1/KH)");
    Service();
    bytesRead_ += blockIn;
    const uint16_t coded =
        lzr_.CompressBlock(InBuffer.get(), OutBuffer.get(), static_cast<uint32_t>(blockIn));
    uint8_t length[2];
    PutLe16(length, coded);
    CheckWrite(out_->Write(length, 2), 2);
    bytesWritten_ += 2;
    CheckWrite(out_->Write(OutBuffer.get(), coded), coded);
    bytesWritten_ += coded;
  }
}

int32_t TLzrw1Class::Decompress() {
  const Operation operation(*this,
                            "Lzrw1 (de)compression : Failed to get memory for I/O buffers !");
  OpenStreams();

  Guarded([&] {
    const uint32_t magic = ReadHeaderValue();
    if (magic != kMagicLzrw1KH && magic != kMagicLzh) {
      throw ELzrw1Exception(
          UseStreams ? std::string("Lzrw1 decompression : input stream contains no "
                                   "valid header !")
                     : InputFileName + " : Lzrw1 decompression : this file has no valid header !");
    }
    bytesRead_ = 4;
    bytesWritten_ = 0;
    if (magic == kMagicLzrw1KH) {
      DecompressLzrw1KH();
    } else {
      DecompressLzh();
    }
  });
  return BytesWritten();
}

void TLzrw1Class::DecompressLzh() {
  uncompressedSize_ = static_cast<int32_t>(ReadHeaderValue());
  bytesRead_ += 4;
  CheckStatedSize(kMagicLzh, kLzhMismatch, kLzhDamaged);
  source_ = std::make_unique<BufferSource>(*this);
  sink_ = std::make_unique<BufferSink>(*this, uncompressedSize_, kLzhMismatch);
  // A genuine stream never needs bits beyond its end; one that does is cut short or damaged,
  // and decoding zero bits up to a forged size would only pass garbage off as a voice.
  if (!lzh_.Decode(uncompressedSize_, *source_, *sink_, true)) {
    throw ELzrw1Exception(kLzhDamaged);
  }
  sink_->Flush();
  if (bytesWritten_ != uncompressedSize_) throw ELzrw1Exception(kLzhMismatch);
}

void TLzrw1Class::DecompressLzrw1KH() {
  uncompressedSize_ = static_cast<int32_t>(ReadHeaderValue());
  bytesRead_ += 4;
  // An input too short for its size field is cut short, whatever the field says.
  CheckStatedSize(kMagicLzrw1KH, kLzrw1KHMismatch,
                  InputFailure("Lzrw1 : Error reading from input stream !",
                               "Lzrw1 : Error reading from input file : "));
  int64_t blockOut = kBufferSize;
  while (blockOut == kBufferSize) {
    uint8_t length[2] = {};
    CheckRead(in_->Read(length, 2), 2);
    const uint32_t coded = GetLe16(length);
    // No genuine block is longer than a stored full block; a longer one would not fit the buffer.
    if (coded > kBufferSize + 1) {
      throw ELzrw1Exception("Lzrw1 (decompression LZRW1/KH) : Damaged block found !");
    }
    CheckRead(in_->Read(InBuffer.get(), coded), coded);
    bytesRead_ += coded + 2;
    blockOut = lzr_.DecompressBlock(InBuffer.get(), OutBuffer.get(), coded);
    if (bytesWritten_ + blockOut > uncompressedSize_) throw ELzrw1Exception(kLzrw1KHMismatch);
    CheckWrite(blockOut > 0 ? out_->Write(OutBuffer.get(), blockOut) : 0, blockOut);
    bytesWritten_ += blockOut;
  }
  if (bytesWritten_ != uncompressedSize_) throw ELzrw1Exception(kLzrw1KHMismatch);
}

bool TLzrw1Class::Advise() {
  bool result = false;
  const Operation operation(*this, "Lzrw1 advise : Error getting I/O buffers", true);

  const int64_t size =
      UseStreams ? (InputStream ? InputStream->Size() : -1) : FileSize(InputFileName);
  if (size < 0 || size > std::numeric_limits<int32_t>::max()) {
    throw ELzrw1Exception(InputFailure("Lzrw1 advise : can not get size of inputstream !",
                                       "Lzrw1 advise : can not get the size of : "));
  }
  uncompressedSize_ = static_cast<int32_t>(size);

  if (UseStreams) {
    if (InputStream->Seek(0, TStream::soFromBeginning) < 0) {
      throw ELzrw1Exception("Lzrw1 edvise : can not initialize the input stream!");
    }
    in_ = InputStream;
  } else {
    inputFile_ = std::make_unique<TFileStream>();
    if (!inputFile_->Open(InputFileName, TFileStream::Mode::Read)) {
      throw ELzrw1Exception("Lzrw1 advise : can open input file : " + InputFileName);
    }
    in_ = inputFile_.get();
  }

  if (uncompressedSize_ < kAdviseMinimum) {
    Method = cmLzh;
    return result;
  }

  auto codedSample = [&](int32_t offset, int32_t& sampleSize) -> int32_t {
    int64_t got = -1;
    if (in_->Seek(offset, TStream::soFromBeginning) >= 0) {
      got = in_->Read(InBuffer.get(), kBufferSize);
    }
    if (got < 0) {
      throw ELzrw1Exception(InputFailure("Lzrw1 advise : input stream read error !",
                                         "Lzrw1 advise : read error on input file : "));
    }
    Service();
    sampleSize = static_cast<int32_t>(got);
    return lzr_.CompressBlock(InBuffer.get(), OutBuffer.get(), static_cast<uint32_t>(got));
  };

  int32_t firstSize = 0;
  int32_t secondSize = 0;
  const int32_t firstCoded = codedSample((uncompressedSize_ / 3) & kSampleMask, firstSize);
  const int32_t secondOffset = (Wrap32(int64_t{uncompressedSize_} * 2) / 3) & kSampleMask;
  const int32_t secondCoded = codedSample(secondOffset, secondSize);

  const int32_t limit = Wrap32(int64_t{AutoThreshold} * (firstSize + secondSize)) / 100;
  result = firstCoded + secondCoded < limit;
  return result;
}

void TLzrw1Class::ReadBytes(uint8_t* buffer, uint16_t count, uint16_t& actual) {
  actual = 0;
  if (!source_) return;
  while (actual < count && source_->Next(buffer[actual])) ++actual;
}

void TLzrw1Class::WriteBytes(const uint8_t* buffer, uint16_t count, uint16_t& actual) {
  actual = 0;
  if (!sink_) return;
  if (count == 0) {
    sink_->Flush();
    return;
  }
  for (; actual < count; ++actual) sink_->Put(buffer[actual]);
}

}  // namespace tovak
