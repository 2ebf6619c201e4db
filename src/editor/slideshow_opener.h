#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "builder/package_reader.h"
#include "common/exception.h"
#include "editor/project_journal.h"

namespace tovak {

// A file that cannot be opened as a slideshow to change: not a package, a damaged one, a folder,
// a file that cannot be read, or a working folder that cannot take its contents.
class EOpenSlideshowError : public Exception {
 public:
  using Exception::Exception;
};

// An opening that was asked to stop: it left nothing behind.
class EOpeningCancelled : public Exception {
 public:
  using Exception::Exception;
};

// Told after each picture how many of how many are written; false asks the opening to stop.
using OpenProgress = std::function<bool(int done, int total)>;

// Takes a built slideshow apart into the working folder in two steps, so that whoever keeps the
// folder's journal can name every file before it exists: a crash halfway then leaves nothing
// that the next start cannot tell for the program's own.
class SlideshowOpening {
 public:
  // Checks the package (see CheckSlideshowFile), refuses a record larger than any player reads
  // as damaged, and picks a name for every file Write may make. Reads no record, so it is quick
  // however large the show. Throws EOpenSlideshowError.
  SlideshowOpening(const std::string& package, const std::string& workFolder,
                   const std::vector<std::string>& inUse, std::time_t when);
  // Full paths of every file Write may make; some may stay unwritten.
  std::vector<std::string> Files() const;
  // Writes the files and gives the lists (see OpenSlideshow). May run on a thread of its own.
  // On a failure, or when progress answers false, what was written is deleted and
  // EOpenSlideshowError or EOpeningCancelled is thrown. Once only.
  ProjectLists Write(const OpenProgress& progress = {});

 private:
  struct Names {
    std::string picture, message, voice;  // "" where the record is empty
  };
  std::string name_, folder_;
  PackageReader reader_;
  std::vector<Names> names_;
};

// Takes a built slideshow apart into the working folder, so it can be changed and built again:
// each picture's stored JPEG, its message and its voice (the whole WAV file, as recorded) become
// files named like the ones the program makes itself, never taking a name in inUse or in the
// folder. The message file keeps the stored bytes as they are, so a rebuild stores the same
// message. The lists come back in slideshow order, "" for an empty message or a missing voice.
// Everything is read and checked before the project gets it: on any failure the files written
// so far are deleted and one EOpenSlideshowError says what is wrong. The package is only read.
// Every picture is written under an opened-picture name (see IsOpenedPicture), by which the
// builder knows it later.
ProjectLists OpenSlideshow(const std::string& package, const std::string& workFolder,
                           const std::vector<std::string>& inUse, std::time_t when);

// The quick part of the checks OpenSlideshow makes: the file is a readable package, and a
// regular file: a folder, a FIFO or a device is refused before anything opens it, since opening
// a FIFO waits until something writes into it.
// Throws EOpenSlideshowError, worded as OpenSlideshow words it.
void CheckSlideshowFile(const std::string& package);

// Whether a file given to the program (dropped, or named on the command line) is meant as a
// slideshow to open rather than a picture: named ".exe" in any letter case, or a regular file
// carrying a package. One named so that is no slideshow is refused when it is opened, not
// imported.
bool IsSlideshowToOpen(const std::string& path);

}  // namespace tovak
