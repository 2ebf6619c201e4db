#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "audio/wav_stream.h"
#include "common/exception.h"

namespace tovak {

// A project file that could not be written, or an entry that is gone.
class EProjectError : public Exception {
 public:
  using Exception::Exception;
};

// Names an entry for as long as it is in the project, whatever its place: what the message box
// and a recording in flight belong to, so that moves and removals cannot hand them to another.
using EntryId = uint64_t;
inline constexpr EntryId kNoEntry = 0;

// The extensions a picture may have to be imported; a substring test, so ".JP" passes too.
inline constexpr const char* ImportPatterns =
    "*.ICO;*.BMP;*.CMS;*.JPG;*.JPEG;*.JPE;*.GIF;*.PCX;*.PNG;*.SCM;*.TIF;*.PCD;*.EMF;*.WMF;*.PCT;"
    "*.EPS;*.PSD;*.TGA;*.CMP;*.HEIC;*.HEIF;*.WEBP;*.AVIF";

// The slideshow being edited: pictures in slideshow order, each with an optional message file
// and an optional voice file in the working folder. The three path lists belong to the owner
// (the main window) and are changed in place; the display items (file names) are kept in step.
class SlideshowProject {
 public:
  SlideshowProject(std::vector<std::string>& pictureFiles, std::vector<std::string>& messageFiles,
                   std::vector<std::string>& voiceFiles, std::string workFolder);

  // Rebuilds the display items from the picture list.
  void Load();

  int Count() const { return static_cast<int>(pictureFiles_.size()); }
  const std::vector<std::string>& DisplayItems() const { return displayItems_; }
  const std::vector<std::string>& PictureFiles() const { return pictureFiles_; }
  const std::vector<std::string>& MessageFiles() const { return messageFiles_; }
  const std::vector<std::string>& VoiceFiles() const { return voiceFiles_; }
  const std::string& WorkFolder() const { return workFolder_; }

  EntryId IdAt(int i) const { return i >= 0 && i < Count() ? ids_[i] : kNoEntry; }
  // The entry's place now, or -1 when it is no longer in the project.
  int IndexOf(EntryId id) const;

  // Appends the acceptable pictures. Returns the skipped paths, each followed by a CR (empty
  // when nothing was skipped). Duplicates (letter case ignored) are dropped silently.
  std::string ImportFiles(const std::vector<std::string>& paths);

  // Each takes the selected indices (any order) and returns the selection afterwards.
  void RemoveSelected(const std::vector<int>& selected);
  std::vector<int> MoveUp(const std::vector<int>& selected);
  std::vector<int> MoveDown(const std::vector<int>& selected);

  // Writes the message box's text as entry t's message, atomically: a failed write keeps the
  // earlier message and throws EProjectError. An empty text means the entry has no message any
  // more (its file is deleted).
  void SaveMessage(int t, const std::string& text);
  // The message of entry i as text (lines joined by "\n"); empty when it has none or it
  // cannot be read.
  std::string LoadMessage(int i) const;

  // Saves recorded sample bytes as a new voice file for entry i; the voice file it replaces is
  // deleted once the new one is safe. Throws EWavStreamError when the file cannot be written and
  // EProjectError when there is no entry i (the recording then stays with the caller).
  void SaveRecording(int i, const std::vector<uint8_t>& samples, const TWaveFormatEx& format);
  void EraseVoice(const std::vector<int>& selected);
  // Deletes every message and voice file of the project and empties it.
  void Clear();

  // The clock used for new file names; tests set it.
  std::function<std::time_t()> Now = [] { return std::time(nullptr); };
  // The validity check of a picture file (the picture component's header reading); throws on an
  // unreadable or unknown file.
  std::function<void(const std::string&)> CheckPicture;

 private:
  void Swap(int a, int b);
  void Append(const std::string& path);
  std::vector<std::string> PathsInUse() const;
  void EnsureWorkFolder() const;

  std::vector<std::string>& pictureFiles_;
  std::vector<std::string>& messageFiles_;
  std::vector<std::string>& voiceFiles_;
  std::vector<std::string> displayItems_;
  std::vector<EntryId> ids_;
  EntryId nextId_ = 1;
  std::string workFolder_;
};

}  // namespace tovak
