#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <vector>

#include "player/slideshow_content.h"

namespace tovak {

// A slideshow as the Linux player shows it: the shared content, with pictures decoded and text
// as QString. A damaged package is refused by Open; a single damaged picture or voice only
// loses itself.
class SlideshowPackage {
 public:
  // Throws EPackageError.
  void Open(const std::string& path) { content_.Open(path); }

  int Count() const { return content_.Count(); }
  const std::string& Path() const { return content_.Path(); }

  // A null image when the picture cannot be decoded or none is stored.
  QImage Picture(int index);
  // False for a picture the builder could not read: its record is empty, the slide shows only
  // its message and voice.
  bool HasPicture(int index) const { return content_.HasPicture(index); }
  // Throws Exception when the message cannot be read.
  QString Message(int index) { return QString::fromStdU16String(content_.Message(index)); }
  // The message as the show displays it: one that cannot be read is left out, and said so once
  // on stderr.
  QString ShownMessage(int index) {
    return QString::fromStdU16String(content_.ShownMessage(index));
  }
  // No voice when there is none or it cannot be expanded into a playable WAV file.
  SlideSound Sound(int index) { return content_.Sound(index); }

  // The voice expanded and checked: throws Exception with the reason when it is damaged.
  std::vector<uint8_t> ExpandVoice(int index) { return content_.ExpandVoice(index); }

  // As the package stores them: the JPEG bytes (none for a picture the builder could not read)
  // and the compressed voice container. Throw EPackageError.
  std::vector<uint8_t> StoredPicture(int index) { return content_.StoredPicture(index); }
  std::vector<uint8_t> VoiceContainer(int index) { return content_.VoiceContainer(index); }

  struct Link {
    QString caption;
    QString url;
  };
  // The links in a language (1-based), each falling back to language 1 when its caption there
  // is empty.
  std::vector<Link> Links(int language);

 private:
  SlideshowContent content_;
};

// Message bytes as text: UTF-8 when they are valid UTF-8, else the Western Windows code page
// (1252) that older messages were typed in.
inline QString DecodeMessageText(const std::string& bytes) {
  return QString::fromStdU16String(DecodeMessageBytes(bytes));
}

}  // namespace tovak
