#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tovak {

struct WebExportReport {
  int pictures = 0;
  int voices = 0;
  int64_t bytes = 0;  // of the page written
  // One line per picture that lost something on the way (a voice that cannot be read).
  std::vector<std::string> warnings;
};

// Writes the slideshow package at packagePath as one web page at outPath: its pictures as
// stored, its voices as MP3, its messages, and its links in a language (1-based, each falling
// back to the first). The page is written under a temporary name and renamed into place, so
// outPath is either the whole page or what it was. Throws
// EPackageError for a package that cannot be read, EWebExportError when the page cannot be
// made or written. stopped, asked between slides and within long voices, abandons the page
// (EWebExportError, nothing left at outPath) once it says yes. The page is titled by the name of
// the file it goes by, without its extension: outPath's, or finalPath's when outPath is only a
// temporary name.
WebExportReport ExportWebSlideshow(const std::string& packagePath, const std::string& outPath,
                                   int language = 1, const std::function<bool()>& stopped = nullptr,
                                   const std::string& finalPath = {});

}  // namespace tovak
