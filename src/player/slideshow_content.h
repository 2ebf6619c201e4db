#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "builder/package_reader.h"
#include "player/show_sequence.h"

namespace tovak {

// A slideshow as both players read it, without any window library: messages as text, voices
// expanded, links in a language. Pictures stay as their stored JPEG bytes, for each player to
// decode its own way. A damaged package is refused by Open; a single damaged picture or voice
// only loses itself.
class SlideshowContent {
 public:
  // Throws EPackageError.
  void Open(const std::string& path);

  int Count() const { return reader_.PictureCount(); }
  const std::string& Path() const { return path_; }

  // False for a picture the builder could not read: its record is empty, the slide shows only
  // its message and voice.
  bool HasPicture(int index) const { return reader_.ImageRecord(index).size > 0; }
  // As the package stores them: the JPEG bytes (none for a picture the builder could not read)
  // and the compressed voice container. Throw EPackageError.
  std::vector<uint8_t> StoredPicture(int index) { return reader_.Image(index); }
  std::vector<uint8_t> VoiceContainer(int index) { return reader_.VoiceContainer(index); }
  // The voice expanded and checked: throws Exception with the reason when it is damaged.
  std::vector<uint8_t> ExpandVoice(int index);

  // The message lines joined by '\n'. Throws Exception when the message cannot be read.
  std::u16string Message(int index);
  // The message as the show displays it: one that cannot be read is left out, and said so once
  // on stderr.
  std::u16string ShownMessage(int index);
  // No voice when there is none or it cannot be expanded into a playable WAV file.
  SlideSound Sound(int index);

  struct Link {
    std::u16string caption;
    std::u16string url;
  };
  // The links in a language (1-based), each falling back to language 1 when its caption there
  // is empty.
  std::vector<Link> Links(int language);

 private:
  PackageReader reader_;
  std::string path_;
  std::set<int> unreadableMessages_;
};

// Message bytes as text: UTF-8 when they are valid UTF-8, else the Western Windows code page
// (1252) that older messages were typed in. Never the code page of the machine playing it.
std::u16string DecodeMessageBytes(const std::string& bytes);
std::string ToUtf8(const std::u16string& text);

// The core's messages read "NAME : reason"; a line at the terminal reads "NAME: reason", as the
// command-line tool's do.
std::string TerminalForm(std::string message);

// Gives the size of a decoded JPEG; false when it cannot be decoded.
using PictureSizer = std::function<bool(const std::vector<uint8_t>& jpeg, int& width, int& height)>;

// Reads and verifies every record of a package: each picture decodes, each voice expands to a
// playable WAV file, each message reads. Prints a line per sound picture to out and one per
// damaged picture, naming it, to err; returns 0, or 1 when any is damaged or the package cannot
// be opened.
int ListPackage(const std::string& path, const PictureSizer& sizer, std::FILE* out, std::FILE* err);

}  // namespace tovak
