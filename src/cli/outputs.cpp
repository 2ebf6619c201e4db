#include "cli/outputs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "cli/interruption.h"
#include "common/atomic_file.h"
#include "common/files.h"

namespace tovak::cli {

namespace {

std::string WritableFolderProblem(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return folder + ": " + std::strerror(errno);
  if (!S_ISDIR(info.st_mode)) return folder + ": it is not a folder";
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    return folder + ": cannot be written: " + std::strerror(errno);
  }
  return {};
}

}  // namespace

std::string OutputProblem(const std::string& out, const std::vector<std::string>& inputs) {
  if (out.empty()) return "no output file name given";
  if (out == "-") return "-: standard output is not accepted here (./- names a file called -)";
  if (const std::string problem = OutputTargetProblem(out); !problem.empty()) {
    return out + ": cannot be written: " + problem;
  }
  for (const std::string& in : inputs) {
    if (!in.empty() && (in == out || SameFile(in, out))) {
      return out + ": cannot be written: it is the input " + in;
    }
  }
  const std::string folder = std::filesystem::path(out).parent_path().string();
  return WritableFolderProblem(folder.empty() ? "." : folder);
}

std::string FolderProblem(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return {};
  return WritableFolderProblem(folder);
}

std::string InputProblem(const std::string& path) {
  if (path == "-") return "-: standard input is not accepted here (./- names a file called -)";
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return path + ": " + std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return path + ": it is a folder";
  if (!S_ISREG(info.st_mode)) return path + ": it is not a regular file";
  if (::access(path.c_str(), R_OK) != 0) return path + ": " + std::strerror(errno);
  return {};
}

std::string WriteOutput(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string error;
  const bool written = WriteFileAtomically(
      path,
      [&](TFileStream& file) {
        return (bytes.empty() || file.WriteAll(bytes.data(), static_cast<int64_t>(bytes.size()))) &&
               !InterruptSignal();
      },
      &error);
  ThrowIfInterrupted();
  return written ? std::string() : path + ": cannot be written: " + error;
}

std::string NamedAsGiven(std::string message, const std::string& temporary,
                         const std::string& given) {
  if (temporary.empty()) return message;
  for (size_t at = message.find(temporary); at != std::string::npos;
       at = message.find(temporary, at + given.size()))
    message.replace(at, temporary.size(), given);
  return message;
}

}  // namespace tovak::cli
