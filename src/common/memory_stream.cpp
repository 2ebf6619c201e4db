#include "common/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/file_stream.h"

namespace tovak {

namespace {

// Whether a length in bytes can be held at all: on a 32-bit build a 64-bit length past 4 GiB
// would otherwise be cut down silently when it becomes a size_t.
bool FitsInMemory(int64_t length, const std::vector<uint8_t>& data) {
  return length >= 0 && static_cast<uint64_t>(length) <= data.max_size();
}

}  // namespace

int64_t TMemoryStream::Read(void* buffer, int64_t n) {
  if (n <= 0) return 0;
  const int64_t available = Size() - position_;
  if (available <= 0) return 0;
  const int64_t count = std::min(n, available);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(count));
  position_ += count;
  return count;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t n) {
  if (n <= 0) return 0;
  const int64_t end = position_ + n;
  if (!FitsInMemory(end, data_)) return -1;
  if (end > Size()) data_.resize(static_cast<size_t>(end));
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(n));
  position_ = end;
  return n;
}

int64_t TMemoryStream::Seek(int64_t offset, Origin origin) {
  int64_t base = 0;
  switch (origin) {
    case soFromBeginning:
      base = 0;
      break;
    case soFromCurrent:
      base = position_;
      break;
    case soFromEnd:
      base = Size();
      break;
  }
  const int64_t target = base + offset;
  if (target < 0) return -1;
  position_ = target;
  return position_;
}

bool TMemoryStream::LoadFromFile(const std::string& path) {
  Clear();
  TFileStream file;
  if (!file.Open(path, TFileStream::Mode::Read)) return false;
  const int64_t size = file.Size();
  if (!FitsInMemory(size, data_)) return false;
  data_.resize(static_cast<size_t>(size));
  if (size > 0 && !file.ReadExact(data_.data(), size)) {
    data_.clear();
    return false;
  }
  return true;
}

bool TMemoryStream::SaveToFile(const std::string& path) const {
  TFileStream file;
  if (!file.Open(path, TFileStream::Mode::Create)) return false;
  const int64_t size = static_cast<int64_t>(data_.size());
  return (size == 0 || file.WriteAll(data_.data(), size)) && file.Close();
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

void TMemoryStream::SetSize(int64_t size) {
  size = std::max<int64_t>(size, 0);
  if (!FitsInMemory(size, data_)) throw std::bad_alloc();
  data_.resize(static_cast<size_t>(size));
  position_ = std::min(position_, Size());
}

}  // namespace tovak
