#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/stream.h"

namespace tovak {

// A growable stream held in memory. Writing past the end grows it; seeking past the end is
// allowed and the gap is filled with zeros by the next write.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

  int64_t Read(void* buffer, int64_t n) override;
  int64_t Write(const void* buffer, int64_t n) override;
  int64_t Seek(int64_t offset, Origin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }

  // Replaces the contents with the whole file and moves to its start; false when it cannot be
  // read (the stream is then empty).
  bool LoadFromFile(const std::string& path);
  // Writes the whole contents to a new file; false on any failure.
  bool SaveToFile(const std::string& path) const;

  void Clear();
  void SetSize(int64_t size);

  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::vector<uint8_t>& Bytes() { return data_; }

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

}  // namespace tovak
