#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/outputs.h"
#include "common/atomic_file.h"
#include "common/exception.h"
#include "compress/lzrw1_class.h"

namespace tovak::cli {

namespace {

// The container reads and writes files by name and needs its input's size before it writes;
// a stream goes through a file of its own in the temporary folder.
class ScratchFile {
 public:
  ScratchFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tovak-stream-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd >= 0) {
      ::close(fd);
      path_ = pattern;
    }
  }
  ~ScratchFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Copies everything from one descriptor to another, stopping at a signal; false with errno set
// when a read or write fails.
bool Pump(int from, int to) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    ThrowIfInterrupted();
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return got == 0;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(to, buffer + done, static_cast<size_t>(got - done));
      ThrowIfInterrupted();
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      done += put;
    }
  }
}

// Fills the file at path from the stream, or empties it into the stream.
bool PumpFile(const std::string& path, int stream, bool intoStream) {
  const int fd = ::open(path.c_str(), intoStream ? O_RDONLY : O_WRONLY | O_TRUNC);
  if (fd < 0) return false;
  const bool ok = intoStream ? Pump(fd, stream) : Pump(stream, fd);
  const int code = errno;
  const bool closed = ::close(fd) == 0;
  errno = code;
  return ok && closed;
}

std::string ReasonFrom(int code, const char* otherwise) {
  return code != 0 ? std::strerror(code) : otherwise;
}

// The container's own words name its class and repeat the file; the user hears which file and
// what is wrong with it.
std::string Describe(const std::string& message, const std::string& in, const std::string& out,
                     int code) {
  if (message.find("output") != std::string::npos)
    return out + ": cannot be written: " + ReasonFrom(code, "write failed");
  if (message.find("memory") != std::string::npos) return in + ": not enough memory";
  if (message.find("input") != std::string::npos || message.find("size of") != std::string::npos)
    return in + ": cannot be read: " + ReasonFrom(code, "read failed");
  // "[NAME : ]Lzrw1 (...) : Reason !": the reason is the last part.
  std::string reason =
      message.substr(message.rfind(" : ") == std::string::npos ? 0 : message.rfind(" : ") + 3);
  while (!reason.empty() && (reason.back() == '!' || reason.back() == ' ')) reason.pop_back();
  if (!reason.empty()) reason[0] = static_cast<char>(std::tolower(reason[0]));
  return in + ": " + reason;
}

int RunContainer(const std::string& in, const std::string& out, bool compress, uint8_t method) {
  const bool fromStream = in == "-";
  const bool toStream = out == "-";
  const std::string inName = fromStream ? "standard input" : in;
  const std::string outName = toStream ? "standard output" : out;
  if (!fromStream) {
    if (const std::string problem = InputProblem(in); !problem.empty()) return Fail(problem);
  }
  if (!toStream) {
    if (const std::string problem = OutputProblem(out, {in}); !problem.empty())
      return Fail(problem);
  }

  std::optional<ScratchFile> input;
  std::optional<ScratchFile> output;
  std::optional<PendingFile> pending;
  TLzrw1Class container;
  container.UseStreams = false;
  container.InputFileName = in;
  if (fromStream) {
    input.emplace();
    if (input->Path().empty() || !PumpFile(input->Path(), STDIN_FILENO, false))
      return Fail(inName + ": cannot be read: " + std::strerror(errno));
    container.InputFileName = input->Path();
  }
  if (toStream) {
    output.emplace();
    if (output->Path().empty())
      return Fail(outName + ": no room for it in the temporary folder: " + std::strerror(errno));
    container.OutputFileName = output->Path();
  } else {
    pending.emplace(out);
    container.OutputFileName = pending->Temporary();
  }
  container.Method = method;
  container.ProcessMessages = ThrowIfInterrupted;
  try {
    if (compress) {
      container.Compress();
    } else {
      container.Decompress();
    }
  } catch (const Exception& e) {
    const int code = errno;
    return Fail(Describe(e.Message(), inName, outName, code));
  }
  std::string error;
  if (toStream) {
    if (!PumpFile(output->Path(), STDOUT_FILENO, true))
      return Fail(outName + ": cannot be written: " + std::strerror(errno));
  } else if (!pending->Commit(&error)) {
    return Fail(out + ": cannot be written: " + error);
  }
  return 0;
}

}  // namespace

int RunCompress(const Arguments& args) {
  CommandLine line;
  if (!ParseCommandLine(args, {"--method"}, line)) return 2;
  uint8_t method = cmLzh;
  if (line.Has("--method")) {
    const std::string& name = line.options["--method"];
    if (name == "lzh") {
      method = cmLzh;
    } else if (name == "lzrw1kh") {
      method = cmLzrw1KH;
    } else if (name == "auto") {
      method = cmAuto;
    } else {
      return UsageError("unknown method '" + name + "' (use lzh, lzrw1kh or auto)");
    }
  }
  if (line.operands.size() != 2)
    return UsageError("usage: tovak-cli compress [--method lzh|lzrw1kh|auto] IN OUT");
  return RunContainer(line.operands[0], line.operands[1], true, method);
}

int RunDecompress(const Arguments& args) {
  CommandLine line;
  if (!ParseCommandLine(args, {}, line)) return 2;
  if (line.operands.size() != 2) return UsageError("usage: tovak-cli decompress IN OUT");
  return RunContainer(line.operands[0], line.operands[1], false, cmLzh);
}

}  // namespace tovak::cli
