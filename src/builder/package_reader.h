#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/exception.h"
#include "common/file_stream.h"

namespace tovak {

// A package that is not a complete slideshow: no trailer, a forged count, records outside the
// file or not following each other.
class EPackageError : public Exception {
 public:
  using Exception::Exception;
};

// The layout and every limit checked here: docs/package-format.md.
//
// Reads a slideshow package. Open checks the trailer, the picture count, the place of the index
// table and every record's bounds and contiguity against the file before anything is read by
// them, so a damaged package is refused with a clear message and never read outside the file.
// The index stays in the file and is read entry by entry: whatever count a package states, the
// reader holds a fixed amount of memory beside the records it is asked for. Reads do not move a
// shared position, so several threads may read one package at once.
class PackageReader {
 public:
  // What a record holds decides the most it may hold (package_format.h).
  enum class Kind { kAny, kPicture, kVoice, kMessage, kLinkMenu };
  struct Record {
    int64_t offset = 0;
    int64_t size = 0;
    // kAny: bytes of the package that are no record, such as the engine in front.
    Kind kind = Kind::kAny;
    int picture = -1;  // from 0, for a picture's records
  };

  // Throws EPackageError.
  void Open(const std::string& path);

  int PictureCount() const { return pictureCount_; }
  // Where the data begins: the length of the player engine in front of it.
  int64_t EngineSize() const { return engineSize_; }
  int64_t FileSize() const { return fileSize_; }
  uint8_t TrailerFlag() const { return trailerFlag_; }

  // Each throws EPackageError for a picture the package does not have, or when nothing is open.
  Record ImageRecord(int picture) const { return PictureRecord(picture, 0); }
  Record VoiceRecord(int picture) const { return PictureRecord(picture, 1); }
  Record MessageRecord(int picture) const { return PictureRecord(picture, 2); }
  Record LinkMenuRecord() const;

  // Throws EPackageError for a record outside the data, one larger than its kind may be, or a
  // file that cannot be read. Nothing is allocated for a record that is refused.
  std::vector<uint8_t> Read(const Record& record);
  std::vector<uint8_t> Image(int picture) { return Read(ImageRecord(picture)); }
  // The voice as stored: a compressed container. One whose header is no voice's, or states more
  // than a voice may expand to, is refused before the rest is read.
  std::vector<uint8_t> VoiceContainer(int picture);
  std::vector<std::string> MessageLines(int picture);
  // Number of languages, number of links, then caption and address per link and language. A menu
  // that states more links or languages than any show has is refused.
  std::vector<std::string> LinkMenu();

  // Why a record of this size is more than its kind may hold ("picture 2: the message is larger
  // than 1 MiB"); empty when it is not.
  static std::string BoundProblem(const Record& record);

 private:
  Record PictureRecord(int picture, int which) const;
  // Index entry k as the file holds it now.
  Record Entry(int64_t k) const;
  void ReadAt(int64_t offset, void* bytes, int64_t count) const;
  // Throws EPackageError for a record outside the data or larger than its kind may be.
  void CheckRecord(const Record& record) const;

  TFileStream file_;
  std::string path_;
  int64_t fileSize_ = 0;
  int64_t tableStart_ = 0;
  int64_t engineSize_ = 0;
  int pictureCount_ = 0;
  uint8_t trailerFlag_ = 0;
  Record linkMenu_;
};

// Expands a voice record (a compressed container) into the WAV file it holds; an empty voice
// gives no bytes. Throws EPackageError when the record is not a container, is damaged, or holds
// a voice larger or longer than a show may carry (package_format.h): a stated size over the
// bound before anything is expanded, a length in time as soon as the WAV header is.
// Voices up to expandedAtOnce bytes (three minutes and more by default) expand in one pass. A
// larger stated size is first checked without keeping the output: a forged record then costs no
// memory, and only a voice that really is that long takes room for it.
std::vector<uint8_t> ExpandVoiceRecord(const std::vector<uint8_t>& container,
                                       int64_t expandedAtOnce = 16 << 20);

// The sound of a WAV file as its first bytes describe it, for judging a voice's length before
// the rest of it is at hand.
struct WavHead {
  enum class State { kNeedMore, kNotWav, kFound };
  State state = State::kNeedMore;
  uint16_t format = 0;
  uint16_t channels = 0;
  uint16_t bits = 0;
  uint32_t rate = 0;
  uint32_t bytesPerSecond = 0;  // as players compute it for plain PCM, else as stated
  int64_t dataBytes = 0;        // the sound's chunk, as far as the file reaches
  // 0 when the format states no rate.
  double Seconds() const { return bytesPerSecond ? double(dataBytes) / bytesPerSecond : 0; }
};
// count bytes from the start of a WAV file of fileSize bytes. kNeedMore: they end before the
// sound's chunk begins.
WavHead ReadWavHead(const uint8_t* bytes, size_t count, int64_t fileSize);

// A text from a package as a terminal may show it: control characters (C1 ones included) and
// bytes that are not UTF-8 become escapes such as \t or \x1b, so a message can neither move the
// cursor nor retitle or clear the terminal; other text, accented and foreign letters included,
// stays as it is.
std::string PrintableText(const std::string& text);

// Whether the file at path ends with a slideshow (the player engine uses this on itself).
bool HasPackageData(const std::string& path);

}  // namespace tovak
