// The file layer's Windows side, run under wine: names outside any code page, binary bytes,
// offsets past 4 GiB, an atomic replace, and file identity where st_ino is always 0.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/atomic_file.h"
#include "common/file_stream.h"
#include "common/files.h"
#include "common/memory_stream.h"
#include "platform/native_file.h"

using namespace tovak;

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  if (ok) return;
  std::printf("FAILED: %s\n", what);
  ++failures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  // "Fotos \u00FC \u263A" under the folder given, in UTF-8.
  const std::string dir = std::string(argv[1]) + "\\Fotos \xC3\xBC \xE2\x98\xBA";
  ::CreateDirectoryW(platform::WidePath(dir).c_str(), nullptr);
  const std::string big = dir + "\\big.bin";
  const int64_t distant = (int64_t{1} << 32) + 5;
  TFileStream f;
  Check(f.Open(big, TFileStream::Mode::Create), "a file at a Unicode path is made");
  Check(f.Write("\r\n\x1A\n\r", 5) == 5, "binary bytes are written");
  Check(f.Seek(distant, TStream::soFromBeginning) == distant, "a seek past 4 GiB lands there");
  Check(f.Write("x", 1) == 1 && f.Size() == distant + 1, "the file grows past 4 GiB");
  Check(f.Close(), "the file closes");
  char got[5] = {};
  Check(f.Open(big, TFileStream::Mode::Read) && f.Read(got, 5) == 5 &&
            std::string(got, 5) == "\r\n\x1A\n\r",
        "binary bytes read back unchanged");
  Check(f.Seek(-1, TStream::soFromEnd) == distant && f.Read(got, 1) == 1 && got[0] == 'x',
        "the byte past 4 GiB reads back");
  f.Close();
  Check(platform::RemoveFile(big), "the file is removed");

  const std::string note = dir + "\\note.txt";
  Check(WriteFileAtomically(note, "one", 3) && WriteFileAtomically(note, "four", 4),
        "an atomic write replaces an existing file");
  TMemoryStream loaded;
  Check(loaded.LoadFromFile(note) && loaded.Size() == 4, "the replaced file holds the new bytes");
  Check(SameFile(note, dir + "/note.txt") && !SameFile(note, dir), "file identity is compared");
  Check(OutputTargetProblem(dir) == "it is a folder" && OutputTargetProblem(note).empty() &&
            OutputTargetProblem(dir + "\\none").empty(),
        "output targets are judged");
  Check(!f.Open(dir, TFileStream::Mode::Read), "a folder is not opened as a file");
  Check(DeleteFileIfExists(note) && !FileExists(note), "the note is deleted");
  ::RemoveDirectoryW(platform::WidePath(dir).c_str());
  std::printf("%s\n", failures ? "file layer: failures" : "file layer: all checks passed");
  return failures ? 1 : 0;
}
