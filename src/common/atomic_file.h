#pragma once

#include <functional>
#include <string>

#include "common/file_stream.h"
#include "common/temporary_registry.h"

namespace tovak {

// Writes a file the user cares about (a message, a recording, a journal) so that it is either
// wholly new or wholly old: write fills a temporary file in the same folder, which is flushed to
// disk and only then renamed over path. On any failure (write returns false, a short write, a
// full disk, a vanished folder) the temporary is removed, an existing file at path is untouched,
// and false is returned with the reason in error when given.
bool WriteFileAtomically(const std::string& path, const std::function<bool(TFileStream&)>& write,
                         std::string* error = nullptr);

// The same for bytes already in memory.
bool WriteFileAtomically(const std::string& path, const void* data, int64_t size,
                         std::string* error = nullptr);

// Whether a file name (without folder) is one of the temporaries these writes use, so that one
// left behind by a crash can be told from the user's own files and cleared away.
bool IsAtomicTemporaryName(const std::string& name);

// The same for a writer that opens the file by name itself (a codec, an image library) or for
// files that must appear together: it writes to Temporary(), a short name beside path, and
// Commit flushes that to disk and renames it over path. Until then path is untouched, and a
// temporary never committed is removed when the object goes away.
class PendingFile {
 public:
  explicit PendingFile(const std::string& path);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  const std::string& Path() const { return path_; }
  const std::string& Temporary() const { return temporary_; }
  // False with the reason when the temporary cannot be flushed or renamed; it is then removed.
  bool Commit(std::string* error = nullptr);

 private:
  std::string path_;
  std::string temporary_;
  RegisteredTemporary registered_{temporary_};
  bool committed_ = false;
};

}  // namespace tovak
