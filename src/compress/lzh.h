#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace tovak {

// The byte callbacks of the codec's boundary: (buffer, requested count, actual count). The codec
// always asks for one byte. For a reader an actual count other than 1 means no byte is left; a
// writer's actual count is not looked at.
using TByteReader = std::function<void(uint8_t* buffer, uint16_t count, uint16_t& actual)>;
using TByteWriter = std::function<void(const uint8_t* buffer, uint16_t count, uint16_t& actual)>;

// Where the codec takes its bytes from. Bytes are served inline from a window; Refill() is asked
// only when the window is used up, so an owner with its own buffer (the container) pays a call
// per buffer rather than per byte.
class LzhByteSource {
 public:
  virtual ~LzhByteSource() = default;

  bool Next(uint8_t& byte) {
    if (cur_ == end_ && !Refill()) return false;
    byte = *cur_++;
    return true;
  }

 protected:
  // Points cur_/end_ at a non-empty window and returns true, or returns false when no byte is
  // left this time. It may be asked again after returning false.
  virtual bool Refill() = 0;

  const uint8_t* cur_ = nullptr;
  const uint8_t* end_ = nullptr;

 private:
  friend class LzhBitReader;
};

// Where the codec puts its bytes. Bytes go inline into a window; Drain() is asked only when the
// window is full.
class LzhByteSink {
 public:
  virtual ~LzhByteSink() = default;

  void Put(uint8_t byte) {
    if (cur_ == end_) Drain();
    *cur_++ = byte;
  }

 protected:
  // Makes room: on return cur_ < end_.
  virtual void Drain() = 0;

  uint8_t* cur_ = nullptr;
  uint8_t* end_ = nullptr;
};

// The LZH codec, whose stream docs/voice-container.md describes; the coder finds matches with
// ordered search trees. It knows nothing of headers or sizes.
class TLZH {
 public:
  // The most output one byte of coded input can yield: the shortest symbol code is one bit and
  // the shortest position code nine, so a longest match of 60 bytes costs at least ten bits.
  static constexpr int64_t kMaxExpansion = 48;

  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Codes everything the reader delivers; returns the number of bytes taken (also in consumed).
  int32_t Encode(int32_t& consumed, const TByteReader& reader, const TByteWriter& writer);
  // Decodes until at least size bytes have been written (a final match is written whole).
  // Past the end of the input it reads zero bits.
  void Decode(int32_t size, const TByteReader& reader, const TByteWriter& writer);

  // The same through inline byte windows.
  int32_t Encode(LzhByteSource& source, LzhByteSink& sink);
  // Returns false, having stopped at once, when stopOnOverrun is set and decoding needed bits
  // beyond the end of the input: a genuine stream never does, so its tail is missing or the
  // stream is not what it claims. Without stopOnOverrun zero bits are read and it returns true.
  bool Decode(int32_t size, LzhByteSource& source, LzhByteSink& sink, bool stopOnOverrun);

  int32_t ConsumedCount() const { return consumed_; }

  struct Tables;

 private:
  void AllocateTables();
  void ReleaseTables();

  std::unique_ptr<Tables> tables_;
  int32_t consumed_ = 0;
};

}  // namespace tovak
