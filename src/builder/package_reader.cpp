#include "builder/package_reader.h"

#include "builder/package_format.h"
#include "common/memory_stream.h"
#include "common/text_lines.h"
#include "compress/lzrw1_class.h"
#include "platform/native_file.h"

namespace tovak {

namespace {

std::string Name(const std::string& path) {
  return platform::FileNameOf(path);
}

}  // namespace

void PackageReader::Open(const std::string& path) {
  path_ = path;
  records_.clear();
  pictureCount_ = 0;
  const std::string damaged = Name(path) + " : not a complete slideshow (";
  if (!file_.Open(path, TFileStream::Mode::Read)) {
    throw EPackageError(Name(path) + " : the file cannot be opened");
  }
  fileSize_ = file_.Size();
  if (fileSize_ < package::kTrailerSize) throw EPackageError(damaged + "too short)");

  uint8_t trailer[package::kTrailerSize];
  if (file_.Seek(fileSize_ - package::kTrailerSize, TStream::soFromBeginning) < 0 ||
      !file_.ReadExact(trailer, sizeof trailer)) {
    throw EPackageError(Name(path) + " : the file cannot be read");
  }
  const uint32_t zero = GetLe32(trailer);
  const uint32_t pictures = GetLe32(trailer + 4);
  const uint32_t perPicture = GetLe32(trailer + 8);
  trailerFlag_ = trailer[12];
  if (zero != 0 || perPicture != package::kRecordsPerPicture) {
    throw EPackageError(damaged + "no slideshow trailer)");
  }
  if (pictures == 0) throw EPackageError(damaged + "no pictures)");

  // The table must fit in front of the trailer before a byte of it is allocated.
  const int64_t entries = package::IndexEntryCount(pictures);
  const int64_t tableStart = fileSize_ - package::kTrailerSize - 4 * entries;
  if (tableStart < 0) throw EPackageError(damaged + "the picture count does not fit the file)");
  std::vector<uint8_t> table(static_cast<size_t>(4 * entries));
  if (file_.Seek(tableStart, TStream::soFromBeginning) < 0 ||
      !file_.ReadExact(table.data(), static_cast<int64_t>(table.size()))) {
    throw EPackageError(Name(path) + " : the file cannot be read");
  }

  std::vector<Record> records(static_cast<size_t>(entries / 2));
  int64_t expected = -1;
  for (size_t k = 0; k < records.size(); ++k) {
    const uint32_t offset = GetLe32(&table[8 * k]);
    const uint32_t size = GetLe32(&table[8 * k + 4]);
    if (offset >= package::kLargestPackage || size >= package::kLargestPackage) {
      throw EPackageError(damaged + "record " + std::to_string(k) + " is out of range)");
    }
    records[k] = {offset, size};
    if (expected >= 0 && records[k].offset != expected) {
      throw EPackageError(damaged + "record " + std::to_string(k) +
                          " does not follow the one before)");
    }
    expected = records[k].offset + records[k].size;
    if (expected > tableStart) {
      throw EPackageError(damaged + "record " + std::to_string(k) + " reaches past the data)");
    }
  }
  if (expected != tableStart) throw EPackageError(damaged + "the records do not reach the index)");
  records_ = std::move(records);
  pictureCount_ = static_cast<int>(pictures);
}

PackageReader::Record PackageReader::PictureRecord(int picture, int which) const {
  if (picture < 0 || picture >= pictureCount_) {
    throw EPackageError("the slideshow has no picture " + std::to_string(picture + 1));
  }
  return records_[3 * size_t(picture) + which];
}

PackageReader::Record PackageReader::LinkMenuRecord() const {
  if (records_.empty()) throw EPackageError("no slideshow is open");
  return records_.back();
}

std::vector<uint8_t> PackageReader::Read(const Record& record) {
  std::vector<uint8_t> bytes(static_cast<size_t>(record.size));
  if (record.size > 0 && (file_.Seek(record.offset, TStream::soFromBeginning) < 0 ||
                          !file_.ReadExact(bytes.data(), record.size))) {
    throw EPackageError(Name(path_) + " : the file cannot be read");
  }
  return bytes;
}

std::vector<std::string> PackageReader::MessageLines(int picture) {
  const std::vector<uint8_t> bytes = Read(MessageRecord(picture));
  return SplitLines(std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> PackageReader::LinkMenu() {
  const std::vector<uint8_t> bytes = Read(LinkMenuRecord());
  return SplitLines(std::string(bytes.begin(), bytes.end()));
}

namespace {

// Takes a container's output and keeps only its length.
class CountingStream : public TStream {
 public:
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void*, int64_t n) override {
    size_ += n;
    return n;
  }
  int64_t Seek(int64_t offset, Origin origin) override {
    return origin == soFromCurrent && offset == 0 ? size_ : -1;
  }
  int64_t Size() override { return size_; }

 private:
  int64_t size_ = 0;
};

// Expands the container into out; true when it gave exactly the size it states.
bool Expand(const std::vector<uint8_t>& container, TStream& out) {
  TMemoryStream in{std::vector<uint8_t>(container)};
  TLzrw1Class expander;
  expander.UseStreams = true;
  expander.InputStream = &in;
  expander.OutputStream = &out;
  return expander.Decompress() == expander.UncompressedSize();
}

}  // namespace

std::vector<uint8_t> ExpandVoiceRecord(const std::vector<uint8_t>& container,
                                       int64_t expandedAtOnce) {
  // Slideshows carry their voices in the strong form only. The fast form can legitimately expand
  // a megabyte into most of a gigabyte, which no voice needs and a forged record would exploit.
  const uint32_t magic = container.size() >= 8 ? GetLe32(container.data()) : 0;
  if (magic != TLzrw1Class::kMagicLzh)
    throw EPackageError("a voice record is not a voice container");
  const int64_t stated = static_cast<int32_t>(GetLe32(container.data() + 4));
  if (stated < 0 ||
      stated > TLzrw1Class::LargestExpansion(magic, static_cast<int64_t>(container.size()) - 8)) {
    throw EPackageError("a voice record is damaged");
  }
  if (stated > expandedAtOnce) {
    CountingStream counted;
    if (!Expand(container, counted)) throw EPackageError("a voice record is damaged");
  }
  TMemoryStream out;
  // Room for the stated size at once, so the output never grows by doubling past it.
  out.Bytes().reserve(static_cast<size_t>(stated));
  if (!Expand(container, out)) throw EPackageError("a voice record is damaged");
  return std::move(out.Bytes());
}

bool HasPackageData(const std::string& path) {
  try {
    PackageReader reader;
    reader.Open(path);
    return true;
  } catch (const EPackageError&) {
    return false;
  }
}

}  // namespace tovak
