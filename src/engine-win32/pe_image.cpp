#include "engine-win32/pe_image.h"

#include <algorithm>
#include <vector>

#include "common/byte_order.h"
#include "common/file_stream.h"

namespace tovak {

int64_t PeImageSize(const uint8_t* head, size_t size) {
  if (size < 0x40 || head[0] != 'M' || head[1] != 'Z') return 0;
  const uint32_t pe = GetLe32(head + 0x3C);
  if (pe > size || size - pe < 24 || GetLe32(head + pe) != 0x00004550) return 0;  // "PE\0\0"
  const uint8_t* coff = head + pe + 4;
  const uint32_t sections = GetLe16(coff + 2);
  const uint32_t optionalSize = GetLe16(coff + 16);
  const uint8_t* optional = coff + 20;
  const size_t table = size_t(optional - head) + optionalSize;
  if (table + 40 * size_t(sections) > size) return 0;
  int64_t end = table + 40 * int64_t(sections);
  for (uint32_t k = 0; k < sections; ++k) {
    const uint8_t* section = head + table + 40 * k;
    const uint32_t rawSize = GetLe32(section + 16);
    const uint32_t rawOffset = GetLe32(section + 20);
    if (rawSize > 0) end = std::max<int64_t>(end, int64_t(rawOffset) + rawSize);
  }
  // A signature sits after the sections; its directory entry holds a file offset.
  const uint16_t magic = optionalSize >= 2 ? GetLe16(optional) : 0;
  const size_t directories = magic == 0x20B ? 112 : 96;
  if (magic != 0 && optionalSize >= directories + 5 * 8) {
    const uint32_t count = GetLe32(optional + directories - 4);
    if (count > 4) {
      const uint32_t offset = GetLe32(optional + directories + 4 * 8);
      const uint32_t length = GetLe32(optional + directories + 4 * 8 + 4);
      if (length > 0) end = std::max<int64_t>(end, int64_t(offset) + length);
    }
  }
  return end;
}

int64_t PeImageSizeOfFile(const std::string& path) {
  TFileStream file;
  if (!file.Open(path, TFileStream::Mode::Read)) return 0;
  std::vector<uint8_t> head(4096);
  const int64_t got = file.Read(head.data(), int64_t(head.size()));
  if (got <= 0) return 0;
  return PeImageSize(head.data(), size_t(got));
}

}  // namespace tovak
