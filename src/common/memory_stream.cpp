#include "common/memory_stream.h"

#include <algorithm>
#include <cstring>

#include "common/file_stream.h"

namespace tovak {

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
  if (size < 0) return false;
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
  data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  position_ = std::min(position_, Size());
}

}  // namespace tovak
