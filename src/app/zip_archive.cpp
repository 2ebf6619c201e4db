#include "app/zip_archive.h"

#include <sys/stat.h>
#include <zip.h>

#include <cstdint>

namespace tovak {

namespace {

[[noreturn]] void Fail(const std::string& why, const std::string& archive) {
  throw EZipArchiveError("Zip : " + why + " - " + archive);
}

std::string OpenErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

}  // namespace

void AddToZipArchive(const std::string& archive, const std::string& source,
                     const std::string& entryName, bool replace) {
  struct stat info {};
  if (::stat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    Fail("the slideshow to store is missing (" + source + ")", archive);

  int code = 0;
  zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | (replace ? ZIP_TRUNCATE : 0), &code);
  if (!zip) Fail(OpenErrorText(code), archive);

  auto failWith = [&](const std::string& why) {
    zip_discard(zip);
    Fail(why, archive);
  };
  zip_source_t* data = zip_source_file(zip, source.c_str(), 0, -1);
  if (!data) failWith(zip_strerror(zip));
  const zip_int64_t index =
      zip_file_add(zip, entryName.c_str(), data, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(data);
    failWith(zip_strerror(zip));
  }
  // Unpackers take the permissions from the high half of the external attributes when the
  // entry says it was made on Unix; without them the slideshow would unpack as plain data.
  constexpr uint32_t kRegularProgram = S_IFREG | 0755;
  if (zip_file_set_external_attributes(zip, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                       kRegularProgram << 16) != 0)
    failWith(zip_strerror(zip));
  // The archive is written here, to a temporary file that replaces the old one at the end.
  if (zip_close(zip) != 0) failWith(zip_strerror(zip));
}

}  // namespace tovak
