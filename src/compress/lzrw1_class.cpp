#include "compress/lzrw1_class.h"

#include <cstring>
#include <limits>
#include <new>

#include "common/file_stream.h"
#include "common/files.h"
#include "common/stream.h"
#include "compress/compress_errors.h"

namespace tovak {

namespace {

constexpr int32_t kAdviseMinimum = 3 * TLzrw1Class::kBufferSize;
constexpr int32_t kSampleMask = 0x7FFF8000;

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

// Gathers the LZH coder's bytes in OutBuffer; the output leaves in pieces of 32768 bytes.
class TLzrw1Class::BufferSink : public LzhByteSink {
 public:
  explicit BufferSink(TLzrw1Class& owner) : owner_(owner) {
    cur_ = owner_.OutBuffer.get();
    end_ = cur_ + kBufferSize;
  }

  void Flush() {
    uint8_t* start = owner_.OutBuffer.get();
    const int64_t pending = cur_ - start;
    const int64_t written = pending > 0 ? owner_.out_->Write(start, pending) : 0;
    owner_.CheckWrite(written, pending);
    owner_.bytesWritten_ += written;
    cur_ = start;
  }

 protected:
  void Drain() override { Flush(); }

 private:
  TLzrw1Class& owner_;
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
  outputFile_ = std::make_unique<TFileStream>();
  if (!outputFile_->Open(OutputFileName, TFileStream::Mode::Create)) {
    throw ELzrw1Exception("Lzrw1 (de)compression : Failed to open output file : " + OutputFileName);
  }
  in_ = inputFile_.get();
  out_ = outputFile_.get();
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
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  CheckWrite(out_->Write(bytes, 4), 4);
}

uint32_t TLzrw1Class::ReadHeaderValue() {
  uint8_t bytes[4] = {};
  CheckRead(in_->Read(bytes, 4), 4);
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t{bytes[3]} << 24);
}

int32_t TLzrw1Class::Compress() {
  uint8_t method = Method;
  if (method == cmAuto) method = Advise() ? cmLzrw1KH : cmLzh;
  const bool fast = method == cmLzrw1KH;

  AllocateBuffers("Lzrw1 (de)compression : Failed to get memory for I/O buffers !");
  struct Cleanup {
    TLzrw1Class* self;
    ~Cleanup() {
      self->CloseFiles();
      self->FreeBuffers();
    }
  } cleanup{this};

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
    const uint8_t length[2] = {static_cast<uint8_t>(coded), static_cast<uint8_t>(coded >> 8)};
    CheckWrite(out_->Write(length, 2), 2);
    bytesWritten_ += 2;
    CheckWrite(out_->Write(OutBuffer.get(), coded), coded);
    bytesWritten_ += coded;
  }
}

int32_t TLzrw1Class::Decompress() {
  AllocateBuffers("Lzrw1 (de)compression : Failed to get memory for I/O buffers !");
  struct Cleanup {
    TLzrw1Class* self;
    ~Cleanup() {
      self->CloseFiles();
      self->FreeBuffers();
    }
  } cleanup{this};
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
  source_ = std::make_unique<BufferSource>(*this);
  sink_ = std::make_unique<BufferSink>(*this);
  // A genuine stream never needs bits beyond its end; one that does is cut short or damaged,
  // and decoding zero bits up to a forged size would only pass garbage off as a voice.
  if (!lzh_.Decode(uncompressedSize_, *source_, *sink_, true)) {
    throw ELzrw1Exception("Lzrw1 (LZH decompression) : Compressed data is truncated or damaged !");
  }
  sink_->Flush();
  if (bytesWritten_ != uncompressedSize_) {
    throw ELzrw1Exception(
        "Lzrw1 (LZH decompression) : Original and compressed sizes do not match !");
  }
}

void TLzrw1Class::DecompressLzrw1KH() {
  uncompressedSize_ = static_cast<int32_t>(ReadHeaderValue());
  bytesRead_ += 4;
  int64_t blockOut = kBufferSize;
  while (blockOut == kBufferSize) {
    uint8_t length[2] = {};
    CheckRead(in_->Read(length, 2), 2);
    const uint32_t coded = length[0] | (length[1] << 8);
    // No genuine block is longer than a stored full block; a longer one would not fit the buffer.
    if (coded > kBufferSize + 1) {
      throw ELzrw1Exception("Lzrw1 (decompression LZRW1/KH) : Damaged block found !");
    }
    CheckRead(in_->Read(InBuffer.get(), coded), coded);
    bytesRead_ += coded + 2;
    blockOut = lzr_.DecompressBlock(InBuffer.get(), OutBuffer.get(), coded);
    CheckWrite(blockOut > 0 ? out_->Write(OutBuffer.get(), blockOut) : 0, blockOut);
    bytesWritten_ += blockOut;
  }
  if (bytesWritten_ != uncompressedSize_) {
    throw ELzrw1Exception(
        "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");
  }
}

bool TLzrw1Class::Advise() {
  bool result = false;
  const int64_t remembered = UseStreams && InputStream ? InputStream->Position() : 0;

  AllocateBuffers("Lzrw1 advise : Error getting I/O buffers");
  struct Cleanup {
    TLzrw1Class* self;
    int64_t remembered;
    ~Cleanup() {
      if (self->UseStreams && self->InputStream) {
        self->InputStream->Seek(remembered, TStream::soFromBeginning);
      }
      self->CloseFiles();
      self->FreeBuffers();
    }
  } cleanup{this, remembered};

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
