#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/exception.h"
#include "common/paths.h"

namespace tovak {

class JpegPicture;
class PicturePreparation;
struct PreparedRecord;
class TFileStream;

// A failure that ends a build; its message becomes LastError.
class EPlimoError : public Exception {
 public:
  using Exception::Exception;
};

// The slideshow builder: turns three parallel lists of picture, message and voice files into one
// package at OutputFile. A build either leaves a complete package there or no file at all.
class TPlimo {
 public:
  explicit TPlimo(const Paths& paths);
  virtual ~TPlimo();
  TPlimo(const TPlimo&) = delete;
  TPlimo& operator=(const TPlimo&) = delete;

  // Clears the picture options, the index and the picture list (messages and voices stay).
  void Reset();
  // Each replaces the builder's own copy.
  void SetPictures(const std::vector<std::string>& pictures);
  void SetMessages(const std::vector<std::string>& messages);
  void SetVoices(const std::vector<std::string>& voices);
  int32_t PictureCount() const { return static_cast<int32_t>(pictures_.size()); }
  void SetOptions(int32_t maxWidth, int32_t maxHeight, int32_t quality);

  // True when the package is complete at OutputFile; otherwise LastError says why.
  virtual bool Build();

  // The working folder, with a trailing separator.
  std::string WorkFolder() const { return paths_.WorkFolder(); }

  // Threads that prepare pictures and compress voices ahead of the writer; 1 does everything on
  // the calling thread. The package is the same byte for byte either way.
  int32_t Jobs = 1;
  // The number of cores, at least 1.
  static int32_t CoreCount();
  // Jobs as the text asks (a whole number from 1), else fallback.
  static int32_t JobsFrom(const char* text, int32_t fallback);

  // Set by the caller, from the message processing inside a build, to stop it.
  bool CancelRequested = false;
  // True while Build runs.
  bool Busy = false;
  const std::string OutputFile;
  // The engine copied to the front of the package; empty: "PlimoEng.dll" in the program's folder.
  std::string EngineFile;
  std::string CurrentFile;
  int32_t Quality = 0;  // 0: no re-encoding; else the JPEG quality (its low byte)
  uint8_t TrailerFlag = 0;
  int32_t MaxWidth = 0;
  int32_t MaxHeight = 0;
  // A JPEG that already fits is stored byte for byte (see PicturePreparation).
  bool KeepFittingJpegs = false;
  // The same for the pictures this says yes to, when KeepFittingJpegs is off. Asked once per
  // picture on the calling thread as a build starts.
  std::function<bool(const std::string& picture)> KeepsFittingJpeg;
  // (offset, size) of each record appended so far, in file order.
  std::vector<int32_t> IndexEntries;
  int32_t CurrentIndex = 0;
  std::string LastError;
  // The pictures of the last build that could not be read, in list order. Each got an empty
  // image record (its message and voice keep their places); the build still succeeds.
  std::vector<std::string> UnreadablePictures;
  // The voice files of the last build long enough to put a 32-bit engine at risk (see
  // CheckVoices); the build succeeds all the same.
  std::vector<std::string> LongVoices;

  // Called before each picture with (1..N, N).
  std::function<void(int32_t current, int32_t total)> OnProgress;
  // Lets the user interface process pending events; called at every checkpoint.
  std::function<void()> ProcessMessages;

  int32_t IndexCount() const { return static_cast<int32_t>(IndexEntries.size()); }

 protected:
  virtual void WriteIndex();
  virtual void WriteTrailer();

  void CopyEngine();
  void AppendRecord(const std::vector<uint8_t>& bytes);
  void WritePicture(JpegPicture& picture, const std::string& voicePath,
                    const std::string& messagePath);

 private:
  // Steps on pictures of this many pixels or more run while events are processed.
  static constexpr int64_t kLargePicturePixels = 1'000'000;

  void Checkpoint();
  void BuildSteps();
  void BuildRecordsOnPool(const PicturePreparation& preparation);
  // Everything record index stores, made without touching the builder's state: safe on a worker.
  // The preparation of picture index: preparation, keeping it when it fits as keepFitting_ says.
  PicturePreparation PreparationOf(const PicturePreparation& preparation, int32_t index) const;
  PreparedRecord PrepareRecord(const PicturePreparation& preparation, int32_t index,
                               const std::function<bool()>& stopped) const;
  // Loads, shrinks and re-encodes the current picture; false when it cannot be read.
  bool PreparePicture(const PicturePreparation& preparation, JpegPicture& picture);
  void WriteAtEnd(const uint8_t* bytes, size_t count);

  Paths paths_;
  std::vector<std::string> pictures_;
  std::vector<std::string> messages_;
  std::vector<std::string> voices_;
  std::vector<bool> keepFitting_;  // per picture, for the build that runs
  std::unique_ptr<TFileStream> file_;
};

}  // namespace tovak
