#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "common/exception.h"
#include "editor/project_journal.h"

namespace tovak {

// A file that cannot be opened as a slideshow to change: not a package, a damaged one, a folder,
// a file that cannot be read, or a working folder that cannot take its contents.
class EOpenSlideshowError : public Exception {
 public:
  using Exception::Exception;
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

// The quick part of the checks OpenSlideshow makes: the file is a readable package, not a folder.
// Throws EOpenSlideshowError, worded as OpenSlideshow words it.
void CheckSlideshowFile(const std::string& package);

// Whether a file given to the program (dropped, or named on the command line) is meant as a
// slideshow to open rather than a picture: named ".exe" in any letter case, or carrying a
// package. One named so that is no slideshow is refused when it is opened, not imported.
bool IsSlideshowToOpen(const std::string& path);

}  // namespace tovak
