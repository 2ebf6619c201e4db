#include "components/picture_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/files.h"
#include "components/jpeg_codec.h"
#include "components/magick_decoder.h"
#include "components/picture_error.h"
#include "components/psd_reader.h"

namespace tovak {

namespace {

using namespace std::literals;
using Bytes = std::span<const uint8_t>;

// Enough for every header here, a JPEG's too unless its metadata is unusually large.
constexpr size_t kHeaderBytes = 256 * 1024;
// Files are decoded from memory; anything larger is refused rather than read.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;
// Qt's own default (128 MiB) is below kMaxPicturePixels at 4 bytes a pixel.
constexpr int kQtAllocationLimitMiB = 1024;

constexpr std::string_view kDamaged = "the picture is damaged or truncated";

enum class Decoder { Jpeg, Psd, Qt, Magick, PostScript, Refused, Unknown };

// What a file holds, and who decodes it. Formats with a Qt reader also name the coder that
// tries the files Qt rejects.
struct Kind {
  PictureFormat format = PictureFormat::Other;
  const char* name = "";
  Decoder decoder = Decoder::Unknown;
  const char* qtFormat = "";
  std::string coder;  // GraphicsMagick's name; for refused files, what to call them
};

[[noreturn]] void Damaged() {
  throw EPictureError(std::string(kDamaged));
}

void CheckSize(double width, double height) {
  if (!(width >= 1 && height >= 1)) Damaged();
  if (width * height > double(kMaxPicturePixels)) {
    throw EPictureError("the picture is too large (" + std::to_string(int64_t(width)) + " x " +
                        std::to_string(int64_t(height)) + ")");
  }
}

uint16_t Le16(Bytes d, size_t at) {
  return static_cast<uint16_t>(d[at] | d[at + 1] << 8);
}
uint32_t Le32(Bytes d, size_t at) {
  return Le16(d, at) | uint32_t{Le16(d, at + 2)} << 16;
}
uint32_t Be32(Bytes d, size_t at) {
  return uint32_t{d[at]} << 24 | uint32_t{d[at + 1]} << 16 | uint32_t{d[at + 2]} << 8 | d[at + 3];
}

bool Has(Bytes d, size_t at, std::string_view magic) {
  return d.size() >= at + magic.size() &&
         std::memcmp(d.data() + at, magic.data(), magic.size()) == 0;
}

// --- Headers read here rather than by a library -------------------------------------------------

struct PcxHeader {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  uint64_t decodedBytes = 0;
  bool compressed = true;
  bool paletteAtEnd = false;
};

bool ParsePcx(Bytes d, PcxHeader& h) {
  if (d.size() < 128 || d[0] != 0x0A || d[1] > 5 || d[1] == 1 || d[2] > 1) return false;
  const int bits = d[3];
  const int planes = d[65];
  const int xmin = Le16(d, 4), ymin = Le16(d, 6), xmax = Le16(d, 8), ymax = Le16(d, 10);
  const int bytesPerLine = Le16(d, 66);
  if ((bits != 1 && bits != 2 && bits != 4 && bits != 8) || planes < 1 || planes > 4 ||
      xmax < xmin || ymax < ymin || bytesPerLine == 0) {
    return false;
  }
  h.width = xmax - xmin + 1;
  h.height = ymax - ymin + 1;
  h.bitsPerPixel = bits * planes;
  h.decodedBytes = uint64_t(bytesPerLine) * planes * h.height;
  h.compressed = d[2] == 1;
  h.paletteAtEnd = bits == 8 && planes == 1;
  return true;
}

struct TgaHeader {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
};

bool ParseTga(Bytes d, TgaHeader& h) {
  if (d.size() < 18 || d[1] > 1) return false;
  const int type = d[2];
  const int bits = d[16];
  if ((type & ~8) < 1 || (type & ~8) > 3 ||
      (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32)) {
    return false;
  }
  h.width = Le16(d, 12);
  h.height = Le16(d, 14);
  h.bitsPerPixel = bits;
  return h.width > 0 && h.height > 0;
}

bool IsPict(Bytes d, size_t at) {
  return Has(d, at, "\x00\x11\x02\xFF"sv) || Has(d, at, "\x11\x01"sv);
}

bool IsStandardWmf(Bytes d) {
  if (d.size() < 18) return false;
  const int type = Le16(d, 0);
  const int version = Le16(d, 4);
  return (type == 1 || type == 2) && Le16(d, 2) == 9 && (version == 0x0100 || version == 0x0300);
}

// Photo CD's base image, turned upright as the decoder does when the disc records a portrait.
void PhotoCdSize(Bytes d, PictureInfo& info) {
  if (d.size() < 3 * 0x800) Damaged();
  const bool portrait = d[0x0E02] & 1;
  info.width = portrait ? 512 : 768;
  info.height = portrait ? 768 : 512;
  info.bitsPerPixel = 24;
}

// The size GraphicsMagick gives a PostScript drawing: the largest bounding box or medium the
// file declares, or a Letter page when it declares none, at kVectorDensity.
void PostScriptSize(Bytes d, double& width, double& height) {
  if (Has(d, 0, "\xC5\xD0\xD3\xC6"sv)) {  // a DOS EPS: PostScript with a preview picture
    if (d.size() < 12) Damaged();
    const uint32_t start = Le32(d, 4);
    const uint32_t length = Le32(d, 8);
    if (start > d.size() || length > d.size() - start) Damaged();
    d = d.subspan(start, length);
  }
  auto numbers = [](std::string_view text, double* out, int count) {
    for (int i = 0; i < count; ++i) {
      while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out[i]);
      if (error != std::errc()) return false;
      text.remove_prefix(size_t(end - text.data()));
    }
    return true;
  };
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
      if (line.starts_with(key)) found = numbers(line.substr(key.size()), box, 4);
    }
    if (line.starts_with("%%DocumentMedia:"sv)) {
      std::string_view rest = line.substr(16);
      while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
      const size_t space = rest.find(' ');  // skip the medium's name
      if (space != std::string_view::npos) found = numbers(rest.substr(space), box + 2, 2);
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

// --- Checks that the data is all there -----------------------------------------------------------
// Qt's BMP and GIF readers and GraphicsMagick's PCX reader return a picture with a blank or
// grey bottom when the file ends early; these walk the file's structure to catch that.

bool PngComplete(Bytes d) {
  if (d.size() < 8) return false;
  size_t pos = 8;
  while (d.size() - pos >= 12) {
    const uint32_t length = Be32(d, pos);
    if (length > d.size() - pos - 12) return false;
    if (Has(d, pos + 4, "IEND")) return true;
    pos += 12 + size_t(length);
  }
  return false;
}

bool GifComplete(Bytes d) {
  if (d.size() < 13) return false;
  auto skipColourTable = [](uint8_t flags) { return flags & 0x80 ? 3 * (2 << (flags & 7)) : 0; };
  size_t pos = 13 + size_t(skipColourTable(d[10]));
  auto skipSubBlocks = [&]() {
    while (pos < d.size()) {
      const size_t length = d[pos++];
      if (length == 0) return true;
      pos += length;
    }
    return false;
  };
  while (pos < d.size()) {
    const uint8_t block = d[pos++];
    if (block == 0x21) {  // extension: label, then sub-blocks
      ++pos;
      if (!skipSubBlocks()) return false;
    } else if (block == 0x2C) {  // the first frame: descriptor, colours, code size, data
      if (d.size() - pos < 10) return false;
      pos += 9 + size_t(skipColourTable(d[pos + 8])) + 1;
      return skipSubBlocks();
    } else {
      return false;
    }
  }
  return false;
}

bool BmpRleComplete(Bytes d, bool fourBit, int64_t height) {
  size_t pos = 0;
  int64_t y = 0;
  while (d.size() - pos >= 2) {
    const uint8_t count = d[pos];
    const uint8_t code = d[pos + 1];
    pos += 2;
    if (count != 0) continue;
    if (code == 0) {
      if (++y >= height) return true;
    } else if (code == 1) {
      return true;
    } else if (code == 2) {
      if (d.size() - pos < 2) return false;
      y += d[pos + 1];
      pos += 2;
      if (y >= height) return true;
    } else {
      size_t bytes = fourBit ? (code + 1) / 2 : code;
      bytes += bytes & 1;
      if (bytes > d.size() - pos) return false;
      pos += bytes;
    }
  }
  return false;
}

bool BmpComplete(Bytes d) {
  if (d.size() < 26) return false;
  const uint32_t dataStart = Le32(d, 10);
  const uint32_t infoSize = Le32(d, 14);
  int64_t width = 0;
  int64_t height = 0;
  int bits = 0;
  uint32_t compression = 0;
  if (infoSize == 12) {
    width = Le16(d, 18);
    height = Le16(d, 20);
    bits = Le16(d, 24);
  } else if (infoSize >= 40 && d.size() >= 54) {
    width = static_cast<int32_t>(Le32(d, 18));
    height = std::abs(int64_t{static_cast<int32_t>(Le32(d, 22))});
    bits = Le16(d, 28);
    compression = Le32(d, 30);
  } else {
    return infoSize < 40;  // cut inside the header, or a header the decoders must judge
  }
  if (width <= 0 || height <= 0 || bits <= 0) return true;  // likewise
  if (dataStart > d.size()) return false;
  const Bytes pixels = d.subspan(dataStart);
  if (compression == 1 || compression == 2) return BmpRleComplete(pixels, compression == 2, height);
  if (compression != 0 && compression != 3 && compression != 6) return true;
  const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
  return stride <= pixels.size() && uint64_t(height) <= pixels.size() / stride;
}

bool PcxComplete(Bytes d, const PcxHeader& h) {
  size_t pos = 128;
  if (!h.compressed) {
    if (h.decodedBytes > d.size() - pos) return false;
    pos += size_t(h.decodedBytes);
  }
  for (uint64_t produced = h.compressed ? 0 : h.decodedBytes; produced < h.decodedBytes;) {
    if (pos >= d.size()) return false;
    const uint8_t b = d[pos++];
    if ((b & 0xC0) == 0xC0) {
      if (pos++ >= d.size()) return false;
      produced += b & 0x3F;
    } else {
      ++produced;
    }
  }
  // 256-colour pictures end with a marker and their palette. Without them the decoder shows
  // grey, which is right for a file that never had one, but not for one cut inside it.
  if (h.paletteAtEnd && pos < d.size()) {
    return d.size() - pos >= 769 && d[d.size() - 769] == 0x0C;
  }
  return true;
}

// --- Telling formats apart -----------------------------------------------------------------------

Kind Identify(Bytes d, const std::string& extension) {
  using F = PictureFormat;
  if (Has(d, 0, "\xFF\xD8\xFF"sv)) return {F::Jpeg, "JPEG", Decoder::Jpeg, "", ""};
  if (Has(d, 0, "8BPS")) return {F::Psd, "PSD", Decoder::Psd, "", ""};
  if (Has(d, 0, "\x89PNG\r\n\x1A\n"sv)) return {F::Png, "PNG", Decoder::Qt, "png", "PNG"};
  if (Has(d, 0, "GIF87a") || Has(d, 0, "GIF89a")) {
    return {F::Gif, "GIF", Decoder::Qt, "gif", "GIF"};
  }
  if (Has(d, 0, "BM")) return {F::Bmp, "BMP", Decoder::Qt, "bmp", "BMP"};
  // Not Qt's TIFF reader: it shares libtiff with GraphicsMagick, whose process-wide error handler
  // then receives Qt's data as its own and aborts.
  if (Has(d, 0, "II*\0"sv) || Has(d, 0, "MM\0*"sv)) {
    return {F::Tiff, "TIFF", Decoder::Magick, "", "TIFF"};
  }
  if (Has(d, 0, "\0\0\1\0"sv) && d.size() >= 6 && Le16(d, 4) > 0) {
    return {F::Ico, "ICO", Decoder::Qt, "ico", "ICO"};
  }
  if (Has(d, 0, "%!") || Has(d, 0, "\x04%!") || Has(d, 0, "\xC5\xD0\xD3\xC6"sv)) {
    return {F::Eps, "EPS", Decoder::PostScript, "", d[0] == 0xC5 ? "EPT" : "EPS"};
  }
  if (Has(d, 0, "\xD7\xCD\xC6\x9A"sv) || IsStandardWmf(d)) {
    return {F::Wmf, "WMF", Decoder::Magick, "", "WMF"};
  }
  if (Has(d, 0, "\x01\0\0\0"sv) && Has(d, 40, " EMF")) {
    return {F::Other, "EMF", Decoder::Refused, "", "EMF"};
  }
  if (Has(d, 0x800, "PCD_")) return {F::Pcd, "PCD", Decoder::Magick, "", "PCD"};
  // PICT files begin with 512 bytes that belong to the Macintosh file system, not the picture.
  if (IsPict(d, 512 + 10)) return {F::Pict, "PICT", Decoder::Magick, "", "PICT"};
  PcxHeader pcx;
  if (ParsePcx(d, pcx)) return {F::Pcx, "PCX", Decoder::Magick, "", "PCX"};
  // Targa has no signature; only its name tells.
  if (extension == ".TGA") return {F::Tga, "TGA", Decoder::Magick, "", "TGA"};
  for (const char* refused : {".CMS", ".SCM", ".CMP", ".EMF"}) {
    if (extension == refused) return {F::Other, refused + 1, Decoder::Refused, "", refused + 1};
  }
  return {};
}

// --- Qt's readers --------------------------------------------------------------------------------

void PrepareQt() {
  static std::once_flag once;
  std::call_once(once, [] {
    const int limit = QImageReader::allocationLimit();
    if (limit != 0 && limit < kQtAllocationLimitMiB) {
      QImageReader::setAllocationLimit(kQtAllocationLimitMiB);
    }
  });
}

int BitsOfQtFormat(QImage::Format format) {
  switch (format) {
    case QImage::Format_Invalid:
      return 0;
    case QImage::Format_RGB32:
      return 24;
    case QImage::Format_RGBX64:
      return 48;
    default:
      return QImage::toPixelFormat(format).bitsPerPixel();
  }
}

// The colour depth the file itself declares, where its header says so plainly.
int DeclaredBits(const Kind& kind, Bytes head, const QImageReader& reader) {
  switch (kind.format) {
    case PictureFormat::Png:
      if (head.size() >= 26) {
        static constexpr int kChannels[] = {1, 0, 3, 1, 2, 0, 4};
        const int type = head[25];
        if (type < 7 && kChannels[type] > 0) return head[24] * kChannels[type];
      }
      break;
    case PictureFormat::Bmp:
      if (head.size() >= 30) return Le32(head, 14) == 12 ? Le16(head, 24) : Le16(head, 28);
      break;
    case PictureFormat::Gif:
      if (head.size() >= 11) return head[10] & 0x80 ? (head[10] & 7) + 1 : 8;
      break;
    default:
      break;
  }
  return BitsOfQtFormat(reader.imageFormat());
}

// Qt's reader for the kind, and GraphicsMagick for what Qt cannot read.
QImage DecodeWithQt(Bytes d, const Kind& kind) {
  PrepareQt();
  QByteArray array = QByteArray::fromRawData(reinterpret_cast<const char*>(d.data()),
                                             static_cast<qsizetype>(d.size()));
  QBuffer buffer(&array);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, kind.qtFormat);
  reader.setAutoDetectImageFormat(false);
  const QSize size = reader.size();
  if (size.isValid()) {
    CheckSize(size.width(), size.height());
  } else {
    // Qt rejects some headers it cannot handle, sizes beyond its own limit among them.
    const MagickHeader h = PingWithMagick(d.data(), d.size(), kind.coder);
    CheckSize(h.width, h.height);
  }

  bool complete = true;
  if (kind.format == PictureFormat::Png) complete = PngComplete(d);
  if (kind.format == PictureFormat::Gif) complete = GifComplete(d);
  if (kind.format == PictureFormat::Bmp) complete = BmpComplete(d);
  if (!complete) Damaged();

  QImage image;
  if (size.isValid() && reader.read(&image)) return image;
  return DecodeWithMagick(d.data(), d.size(), kind.coder);
}

QImage To32Bit(QImage image) {
  const QImage::Format format =
      image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  if (image.format() != format) image = image.convertToFormat(format);
  if (image.isNull()) throw EPictureError("not enough memory for the picture");
  return image;
}

// --- Files ---------------------------------------------------------------------------------------

struct FileBytes {
  std::vector<uint8_t> bytes;
  uint64_t fileSize = 0;
  bool whole() const { return bytes.size() == fileSize; }
};

FileBytes ReadFile(const std::string& path, uint64_t limit) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw EPictureError(std::filesystem::exists(path, error) ? "this is not a file"
                                                             : "the file does not exist");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EPictureError("cannot open the file");
  in.seekg(0, std::ios::end);
  const std::streamoff end = in.tellg();
  in.seekg(0);
  if (end < 0 || !in) throw EPictureError("cannot read the file");
  if (end == 0) throw EPictureError("the file is empty");
  FileBytes file;
  file.fileSize = uint64_t(end);
  file.bytes.resize(std::min(file.fileSize, limit));
  in.read(reinterpret_cast<char*>(file.bytes.data()), std::streamsize(file.bytes.size()));
  if (uint64_t(in.gcount()) != file.bytes.size()) throw EPictureError("cannot read the file");
  return file;
}

FileBytes ReadWholeFile(const std::string& path) {
  FileBytes file = ReadFile(path, kMaxFileBytes);
  if (!file.whole()) throw EPictureError("the file is too large");
  return file;
}

[[noreturn]] void Refuse(const Kind& kind) {
  if (kind.decoder == Decoder::Refused) {
    throw EPictureError("pictures of this kind (" + kind.coder + ") cannot be read");
  }
  throw EPictureError("the file is not a picture of a kind this program can read");
}

// Every failure below is reported with the file's name in front.
template <typename Body>
auto Named(const std::string& path, Body body) {
  std::string name = std::filesystem::path(path).filename().string();
  if (name.empty()) name = path;
  try {
    return body();
  } catch (const EPictureError& e) {
    std::string_view text = e.what();
    if (text.starts_with("JPEG : ")) text.remove_prefix(7);
    throw EPictureError(name + " : " + std::string(text));
  } catch (const std::bad_alloc&) {
    throw EPictureError(name + " : not enough memory for the picture");
  }
}

// Size, depth and pages as GraphicsMagick reads them from the header of the whole file.
void SizeFromMagick(const std::string& path, const std::string& coder, PictureInfo& info) {
  const FileBytes whole = ReadWholeFile(path);
  const MagickHeader h = PingWithMagick(whole.bytes.data(), whole.bytes.size(), coder);
  info.width = h.width;
  info.height = h.height;
  info.bitsPerPixel = h.bitsPerPixel;
  info.pageCount = h.pageCount;
}

PictureInfo InfoWithQt(const std::string& path, const Kind& kind, Bytes head, PictureInfo info) {
  PrepareQt();
  QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
  if (!file.open(QIODevice::ReadOnly)) throw EPictureError("cannot open the file");
  QImageReader reader(&file, kind.qtFormat);
  reader.setAutoDetectImageFormat(false);
  const QSize size = reader.size();
  if (!size.isValid()) {
    SizeFromMagick(path, kind.coder, info);
    return info;
  }
  info.width = size.width();
  info.height = size.height();
  info.bitsPerPixel = DeclaredBits(kind, head, reader);
  if (kind.format != PictureFormat::Png && kind.format != PictureFormat::Bmp) {
    info.pageCount = std::max(1, reader.imageCount());
  }
  return info;
}

}  // namespace

PictureInfo GetFileInfo(const std::string& path) {
  return Named(path, [&] {
    FileBytes file = ReadFile(path, kHeaderBytes);
    const Bytes head = file.bytes;
    const Kind kind = Identify(head, UpperExtension(path));
    PictureInfo info;
    info.format = kind.format;
    info.formatName = kind.name;
    switch (kind.decoder) {
      case Decoder::Refused:
      case Decoder::Unknown:
        Refuse(kind);
      case Decoder::Jpeg: {
        JpegHeader h;
        try {
          h = ReadJpegHeader(head.data(), head.size());
        } catch (const EPictureError&) {
          if (file.whole()) throw;
          file = ReadWholeFile(path);  // the frame header lies beyond large metadata
          h = ReadJpegHeader(file.bytes.data(), file.bytes.size());
        }
        info.width = h.width;
        info.height = h.height;
        info.bitsPerPixel = 24;
        break;
      }
      case Decoder::Psd: {
        const PsdHeader h = ReadPsdHeader(head.data(), head.size());
        info.width = h.width;
        info.height = h.height;
        info.bitsPerPixel = h.bitsPerPixel;
        break;
      }
      case Decoder::Qt:
        info = InfoWithQt(path, kind, head, info);
        break;
      case Decoder::Magick:
        if (kind.format == PictureFormat::Pcd) {
          PhotoCdSize(head, info);
        } else if (PcxHeader pcx; kind.format == PictureFormat::Pcx && ParsePcx(head, pcx)) {
          info.width = pcx.width;
          info.height = pcx.height;
          info.bitsPerPixel = pcx.bitsPerPixel;
        } else if (TgaHeader tga; kind.format == PictureFormat::Tga) {
          if (!ParseTga(head, tga)) Damaged();
          info.width = tga.width;
          info.height = tga.height;
          info.bitsPerPixel = tga.bitsPerPixel;
        } else {
          SizeFromMagick(path, kind.coder, info);
        }
        break;
      case Decoder::PostScript: {
        const FileBytes whole = ReadWholeFile(path);
        double width = 0, height = 0;
        PostScriptSize(whole.bytes, width, height);
        CheckSize(width, height);
        info.width = static_cast<int>(width);
        info.height = static_cast<int>(height);
        info.bitsPerPixel = 24;
        break;
      }
    }
    CheckSize(info.width, info.height);
    return info;
  });
}

QImage LoadPicture(const std::string& path) {
  return Named(path, [&] {
    const FileBytes file = ReadWholeFile(path);
    const Bytes d = file.bytes;
    const Kind kind = Identify(d, UpperExtension(path));
    QImage image;
    switch (kind.decoder) {
      case Decoder::Refused:
      case Decoder::Unknown:
        Refuse(kind);
      case Decoder::Jpeg:
        image = DecodeJpeg(d.data(), d.size());
        break;
      case Decoder::Psd:
        image = DecodePsd(d.data(), d.size());
        break;
      case Decoder::Qt:
        image = DecodeWithQt(d, kind);
        break;
      case Decoder::Magick:
        if (PcxHeader pcx; kind.format == PictureFormat::Pcx && ParsePcx(d, pcx)) {
          CheckSize(pcx.width, pcx.height);
          if (!PcxComplete(d, pcx)) Damaged();
        }
        image = DecodeWithMagick(d.data(), d.size(), kind.coder);
        break;
      case Decoder::PostScript: {
        // Ghostscript would draw first and be refused after; check the declared size before.
        double width = 0, height = 0;
        PostScriptSize(d, width, height);
        CheckSize(width, height);
        image = DecodeWithMagick(d.data(), d.size(), kind.coder);
        break;
      }
    }
    CheckSize(image.width(), image.height());
    return To32Bit(std::move(image));
  });
}

}  // namespace tovak
