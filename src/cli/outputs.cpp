#include "cli/outputs.h"

#include <sys/stat.h>

#include "common/atomic_file.h"
#include "common/files.h"

namespace tovak::cli {

std::string OutputProblem(const std::string& out, const std::vector<std::string>& inputs) {
  if (const std::string problem = OutputTargetProblem(out); !problem.empty()) {
    return "cannot write " + out + ": " + problem;
  }
  for (const std::string& in : inputs) {
    if (!in.empty() && (in == out || SameFile(in, out))) {
      return "cannot write " + out + ": it is the input " + in;
    }
  }
  return {};
}

std::string FolderProblem(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return {};
  return "cannot write into " + folder + ": it is not a folder";
}

std::string WriteOutput(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string error;
  if (WriteFileAtomically(path, bytes.data(), static_cast<int64_t>(bytes.size()), &error))
    return {};
  return path + " : cannot be written (" + error + ")";
}

}  // namespace tovak::cli
