#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/outputs.h"
#include "common/atomic_file.h"
#include "common/byte_order.h"
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

// Standard input as the container reads it when expanding: what was looked at first, then the
// rest as it comes, so that a stream is judged by its header before anything is stored. It
// cannot seek; its position is what was read. A failed read is kept for the message.
class StreamInput : public TStream {
 public:
  explicit StreamInput(int fd) : fd_(fd) {}

  // The first count bytes, which the next reads give again; fewer at the end of the stream.
  std::vector<uint8_t> Peek(size_t count) {
    std::vector<uint8_t> head(count);
    head.resize(static_cast<size_t>(std::max<int64_t>(0, ReadFromStream(head.data(), count))));
    head_ = head;
    return head;
  }

  int64_t Read(void* buffer, int64_t n) override {
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t total = 0;
    for (; total < n && served_ < head_.size(); ++total) out[total] = head_[served_++];
    const int64_t rest = total < n ? ReadFromStream(out + total, n - total) : 0;
    if (rest < 0 && total == 0) return -1;
    total += std::max<int64_t>(rest, 0);
    position_ += total;
    return total;
  }
  int64_t Write(const void*, int64_t) override { return -1; }
  int64_t Seek(int64_t offset, Origin origin) override {
    return offset == 0 && origin == soFromCurrent ? position_ : -1;
  }
  int64_t Size() override { return -1; }

  int Error() const { return error_; }

 private:
  int64_t ReadFromStream(uint8_t* out, int64_t n) {
    int64_t total = 0;
    while (total < n) {
      const ssize_t got = ::read(fd_, out + total, static_cast<size_t>(n - total));
      ThrowIfInterrupted();
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        error_ = errno;
        return total > 0 ? total : -1;
      }
      if (got == 0) break;
      total += got;
    }
    return total;
  }

  const int fd_;
  std::vector<uint8_t> head_;
  size_t served_ = 0;
  int64_t position_ = 0;
  int error_ = 0;
};

// A file written through the container's stream interface, keeping the reason of a failed write.
class OutputFile : public TStream {
 public:
  bool Open(const std::string& path) { return file_.Open(path, TFileStream::Mode::Create); }
  bool Close() {
    errno = 0;
    if (file_.Close()) return true;
    if (!error_) error_ = errno;
    return false;
  }
  int64_t Read(void*, int64_t) override { return -1; }
  int64_t Write(const void* buffer, int64_t n) override {
    errno = 0;
    const int64_t put = file_.Write(buffer, n);
    if (put != n && !error_) error_ = errno ? errno : ENOSPC;
    return put;
  }
  int64_t Seek(int64_t offset, Origin origin) override { return file_.Seek(offset, origin); }
  int64_t Size() override { return file_.Size(); }
  int Error() const { return error_; }

 private:
  TFileStream file_;
  int error_ = 0;
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

// Expands standard input as it comes: its header is judged before anything is stored, and
// nothing of it goes through the temporary folder. The container takes two streams; on streams
// it ends quietly on a failure, which is then told from what the streams saw and what it wrote.
int ExpandStream(const std::string& out) {
  const std::string inName = "standard input";
  const bool toStream = out == "-";
  const std::string outName = toStream ? "standard output" : out;
  StreamInput input(STDIN_FILENO);
  const std::vector<uint8_t> head = input.Peek(8);
  if (input.Error()) return Fail(inName + ": cannot be read: " + std::strerror(input.Error()));
  const uint32_t magic = head.size() >= 4 ? GetLe32(head.data()) : 0;
  if (magic != TLzrw1Class::kMagicLzh && magic != TLzrw1Class::kMagicLzrw1KH)
    return Fail(inName + ": it is no voice container (no valid header)");
  if (head.size() < 8) return Fail(inName + ": the header is cut short");

  std::optional<ScratchFile> scratch;
  std::optional<PendingFile> pending;
  std::string target;
  if (toStream) {
    scratch.emplace();
    if (scratch->Path().empty())
      return Fail(outName + ": no room for it in the temporary folder: " + std::strerror(errno));
    target = scratch->Path();
  } else {
    pending.emplace(out);
    target = pending->Temporary();
  }
  OutputFile output;
  if (!output.Open(target)) return Fail(outName + ": cannot be written: " + std::strerror(errno));
  TLzrw1Class container;
  container.UseStreams = true;
  container.InputStream = &input;
  container.OutputStream = &output;
  container.ProcessMessages = ThrowIfInterrupted;
  try {
    container.Decompress();
  } catch (const Exception& e) {
    return Fail(Describe(e.Message(), inName, outName, errno));
  }
  const bool closed = output.Close();
  if (output.Error())
    return Fail(outName + ": cannot be written: " + std::strerror(output.Error()));
  if (input.Error()) return Fail(inName + ": cannot be read: " + std::strerror(input.Error()));
  if (container.UncompressedSize() < 0 || container.BytesWritten() != container.UncompressedSize())
    return Fail(inName + ": compressed data is truncated or damaged");
  if (!closed) return Fail(outName + ": cannot be written: write failed");
  if (toStream) {
    if (!PumpFile(target, STDOUT_FILENO, true))
      return Fail(outName + ": cannot be written: " + std::strerror(errno));
    return 0;
  }
  if (std::string error; !pending->Commit(&error))
    return Fail(out + ": cannot be written: " + error);
  return 0;
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

  if (fromStream && !compress) return ExpandStream(out);

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
