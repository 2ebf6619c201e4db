#pragma once

#include <cstdint>
#include <string>

// The few file calls that differ between Linux and Windows. Every path is UTF-8; on Windows it
// is turned into a wide path, so a name outside the machine's code page opens all the same.
// Files are always binary and 64-bit: sizes and offsets past 4 GiB work on 32-bit builds too.
namespace tovak::platform {

// The characters that end a folder name in a path.
#ifdef _WIN32
inline constexpr char kPathSeparators[] = "/\\";
#else
inline constexpr char kPathSeparators[] = "/";
#endif

// The last part of path: the name without its folder.
std::string FileNameOf(const std::string& path);
// The folder part of path with its trailing separator ("a/" for "a/b"), empty for a bare name.
std::string FolderOf(const std::string& path);

enum class OpenMode {
  Read,       // an existing file, read-only
  Create,     // a new or truncated file, write-only
  ReadWrite,  // an existing file, read and write
};

// A descriptor for path, or -1 (errno tells why). Never inherited by programs this one starts;
// a folder is refused.
int OpenFile(const std::string& path, OpenMode mode);
bool CloseFile(int fd);
// One transfer of at most n bytes: the count moved, 0 at the end of the file, -1 on failure.
int64_t ReadSome(int fd, void* buffer, int64_t n);
int64_t WriteSome(int fd, const void* buffer, int64_t n);
// whence is SEEK_SET, SEEK_CUR or SEEK_END; the new position or -1.
int64_t SeekFile(int fd, int64_t offset, int whence);
int64_t SizeOfFile(int fd);
// Waits until what was written to fd is on the disk.
bool FlushToDisk(int fd);
// Makes a rename inside folder durable; a no-op where the system does not need it.
void FlushFolder(const std::string& folder);

// Puts from in the place of to in one step, replacing a file already there.
bool RenameOver(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);
int ProcessId();

enum class FileKind { Missing, Regular, Folder, Other };
// What is at path, following links.
FileKind KindOf(const std::string& path);
// Whether two names lead to the same file (same volume and file identity).
bool SameFileIdentity(const std::string& a, const std::string& b);

#ifdef _WIN32
// path as UTF-16 for the wide Windows calls; empty when path is not valid UTF-8.
std::wstring WidePath(const std::string& path);
#endif

}  // namespace tovak::platform
