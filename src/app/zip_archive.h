#pragma once

#include <string>

#include "common/exception.h"

namespace tovak {

// An archive that could not be written; the message ends with the archive's name.
class EZipArchiveError : public Exception {
 public:
  using Exception::Exception;
};

// Puts the file at source into the archive at archive under the name entryName, marked as a
// Unix program (mode 0755) so that it runs once unpacked. With replace, the archive holds that
// one entry afterwards; without, an existing archive keeps its other entries and an entry of
// the same name is replaced. The archive is written to a temporary file beside it and renamed
// into place, so a failure leaves an existing archive as it was. Throws EZipArchiveError.
void AddToZipArchive(const std::string& archive, const std::string& source,
                     const std::string& entryName, bool replace);

}  // namespace tovak
