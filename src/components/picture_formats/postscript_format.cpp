#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/byte_order.h"
#include "components/magick_decoder.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

using namespace std::literals;

constexpr std::string_view kDosEps = "\xC5\xD0\xD3\xC6"sv;

// Reads count numbers separated by blanks. "inf" or "nan" is no coordinate: the file is damaged.
bool ReadNumbers(std::string_view text, double* out, int count) {
  for (int i = 0; i < count; ++i) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out[i]);
    if (error != std::errc()) return false;
    if (!std::isfinite(out[i])) ThrowDamaged();
    text.remove_prefix(size_t(end - text.data()));
  }
  return true;
}

// The size GraphicsMagick gives a PostScript drawing: the largest bounding box or medium the
// file declares, or a Letter page when it declares none, at kVectorDensity. The result may be
// beyond every integer type; CheckSize judges it.
void DrawingSize(Bytes d, double& width, double& height) {
  if (HasBytes(d, 0, kDosEps)) {  // a DOS EPS: PostScript with a preview picture
    if (d.size() < 12) ThrowDamaged();
    const uint32_t start = GetLe32(d.data() + 4);
    const uint32_t length = GetLe32(d.data() + 8);
    if (start > d.size() || length > d.size() - start) ThrowDamaged();
    d = d.subspan(start, length);
  }
  double pageWidth = 0;
  double pageHeight = 0;
  const std::string_view all(reinterpret_cast<const char*>(d.data()), d.size());
  size_t pos = 0;
  while (pos < all.size()) {
    size_t end = all.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = all.size();
    std::string_view line = all.substr(pos, end - pos);
    pos = end + 1;
    if (line.size() < 3 || line[0] != '%' || line[1] != '%') continue;
    double box[4] = {0, 0, 0, 0};
    bool found = false;
    for (std::string_view key : {"%%BoundingBox:"sv, "%%PageBoundingBox:"sv}) {
      if (line.starts_with(key)) found = ReadNumbers(line.substr(key.size()), box, 4);
    }
    if (line.starts_with("%%DocumentMedia:"sv)) {
      std::string_view rest = line.substr(16);
      while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
      const size_t space = rest.find(' ');  // skip the medium's name
      if (space != std::string_view::npos) found = ReadNumbers(rest.substr(space), box + 2, 2);
    }
    if (!found || box[0] > box[2] || box[1] > box[3]) continue;
    pageWidth = std::max(pageWidth, std::ceil(box[2] - box[0]));
    pageHeight = std::max(pageHeight, std::ceil(box[3] - box[1]));
  }
  if (pageWidth <= 0 || pageHeight <= 0) {
    pageWidth = 612;
    pageHeight = 792;
  }
  width = std::ceil(pageWidth * kVectorDensity / 72 - 0.5);
  height = std::ceil(pageHeight * kVectorDensity / 72 - 0.5);
}

// Encapsulated PostScript, drawn by Ghostscript through GraphicsMagick. Ghostscript would draw
// first and be refused after, so the declared size is checked before.
class PostScript final : public PictureDecoder {
 public:
  PostScript() : PictureDecoder(PictureFormat::Eps, "EPS") {}

  bool Identify(Bytes head, std::string_view) const override {
    return HasBytes(head, 0, "%!") || HasBytes(head, 0, "\x04%!") || HasBytes(head, 0, kDosEps);
  }

  void ReadInfo(PictureSource& source, PictureInfo& info, const KeepWaiting&) const override {
    double width = 0, height = 0;
    DrawingSize(source.Whole(), width, height);
    CheckSize(width, height);
    info.width = static_cast<int>(width);
    info.height = static_cast<int>(height);
    info.bitsPerPixel = 24;
  }

  void CheckDeclaredSize(Bytes data, const KeepWaiting&) const override {
    double width = 0, height = 0;
    DrawingSize(data, width, height);
    CheckSize(width, height);
  }

  QImage Decode(Bytes data, const KeepWaiting& keepWaiting) const override {
    const char* coder = HasBytes(data, 0, kDosEps) ? "EPT" : "EPS";
    return DecodeWithMagick(data.data(), data.size(), coder, keepWaiting);
  }
};

}  // namespace

const PictureDecoder& PostScriptFormat() {
  static const PostScript decoder;
  return decoder;
}

}  // namespace tovak
