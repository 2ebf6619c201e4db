#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "compress/lzh.h"
#include "compress/lzr.h"

namespace tovak {

class TStream;
class TFileStream;

enum TCompressMethod : uint8_t {
  cmLzh = 0,      // the strong codec; every voice in a slideshow uses it
  cmLzrw1KH = 1,  // the fast block codec
  cmAuto = 2,     // let Advise choose
};

// The compressed container (docs/voice-container.md has its layout). It works either on two
// caller-owned streams or on two named files.
//
// Failures are ELzrw1Exception (or a codec's exception). With files every failure reaches the
// caller and a partial output file is deleted; with streams a failure after the header work has
// begun ends the operation quietly, leaving what was written so far.
//
// Expanding never hands the output more bytes than the size field states, and a size field that
// the compressed bytes could not yield is refused before anything is written. An output file
// that is the input file (by any name) is refused before it is touched.
class TLzrw1Class {
 public:
  static constexpr uint32_t kMagicLzrw1KH = 0x4C5A5257;  // "WRZL"
  static constexpr uint32_t kMagicLzh = 0x4C5A4821;      // "!HZL"
  static constexpr int kBufferSize = 32768;
  // The LZRW1/KH coder may write a few bytes past a full block before deciding to store it.
  static constexpr int kBufferSpare = 16;

  TLzrw1Class();
  ~TLzrw1Class();
  TLzrw1Class(const TLzrw1Class&) = delete;
  TLzrw1Class& operator=(const TLzrw1Class&) = delete;

  // Returns the number of bytes written, header included.
  int32_t Compress();
  // Returns the number of bytes decoded.
  int32_t Decompress();
  // True when the fast method is advised for the input: two 32 KiB samples shrink below
  // AutoThreshold percent of their size. Inputs under three blocks get the strong method (and
  // Method is set to cmLzh). Writes nothing; a stream input keeps its position.
  bool Advise();

  // The largest uncompressed size that a body of bodyBytes coded bytes can yield with the method
  // of magic; -1 when none can (or the magic is unknown). A caller that expands into memory can
  // reserve a size field up to this much, and the container refuses anything above it.
  static int64_t LargestExpansion(uint32_t magic, int64_t bodyBytes);

  // Settings, filled by the caller before an operation.
  std::string InputFileName;
  std::string OutputFileName;
  uint8_t Method = cmLzh;
  bool UseStreams = false;
  TStream* InputStream = nullptr;   // not owned
  TStream* OutputStream = nullptr;  // not owned
  int32_t AutoThreshold = 40;
  // Called after every buffer transfer so that a window can stay responsive.
  std::function<void()> ProcessMessages;

  int32_t BytesRead() const { return static_cast<int32_t>(bytesRead_); }
  int32_t BytesWritten() const { return static_cast<int32_t>(bytesWritten_); }
  int32_t UncompressedSize() const { return uncompressedSize_; }

  // The codec's byte callbacks over the container's buffers, in the shape TLZH's boundary uses.
  // Only valid during an LZH run.
  void ReadBytes(uint8_t* buffer, uint16_t count, uint16_t& actual);
  void WriteBytes(const uint8_t* buffer, uint16_t count, uint16_t& actual);

 private:
  class BufferSource;
  class BufferSink;
  class Operation;

  void AllocateBuffers(const char* failure);
  void FreeBuffers();
  void OpenStreams();
  int64_t InputLeft();
  void CheckStatedSize(uint32_t magic, const char* mismatch, const std::string& tooShort);
  void CloseFiles();
  template <typename Body>
  void Guarded(Body body);

  void CheckWrite(int64_t written, int64_t asked);
  void CheckRead(int64_t read, int64_t asked);
  void Service();
  [[noreturn]] void FailRead(const char* codecTag);
  std::string InputFailure(const std::string& streamText, const std::string& fileText) const;

  void WriteHeaderValue(uint32_t value);
  uint32_t ReadHeaderValue();
  void CompressLzh();
  void CompressLzrw1KH();
  void DecompressLzh();
  void DecompressLzrw1KH();

  TLZH lzh_;
  TLZR lzr_;

  std::unique_ptr<uint8_t[]> InBuffer;
  std::unique_ptr<uint8_t[]> OutBuffer;
  std::unique_ptr<TFileStream> inputFile_;
  std::unique_ptr<TFileStream> outputFile_;
  TStream* in_ = nullptr;
  TStream* out_ = nullptr;
  std::unique_ptr<BufferSource> source_;
  std::unique_ptr<BufferSink> sink_;

  int64_t bytesRead_ = 0;
  int64_t bytesWritten_ = 0;
  int32_t uncompressedSize_ = 0;
};

}  // namespace tovak
