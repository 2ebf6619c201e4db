#include "components/magick_worker.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

#include "components/magick_worker_protocol.h"
#include "components/picture_error.h"

extern char** environ;

namespace tovak {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// keepWaiting is asked, and the clock read, at least this often.
constexpr auto kTick = 25ms;

[[noreturn]] void SystemFailure(const std::string& what) {
  throw EPictureError("the picture could not be drawn: " + what + " (" + std::strerror(errno) +
                      ")");
}

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Fd& operator=(Fd&&) = delete;
  ~Fd() { Reset(); }
  int Get() const { return fd_; }
  void Reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// The picture's bytes as a file in memory: the worker reads them at its own pace, and nothing
// here waits on a full pipe.
Fd InputFile(const uint8_t* data, size_t size) {
  Fd fd(memfd_create("tovak-picture", MFD_CLOEXEC));
  if (fd.Get() < 0) SystemFailure("no memory file for the picture");
  while (size > 0) {
    const ssize_t put = write(fd.Get(), data, size);
    if (put < 0) {
      if (errno == EINTR) continue;
      SystemFailure("the picture cannot be passed on");
    }
    data += put;
    size -= size_t(put);
  }
  if (lseek(fd.Get(), 0, SEEK_SET) != 0) SystemFailure("the picture cannot be passed on");
  return fd;
}

// GraphicsMagick and Ghostscript draw through temporary files, which a killed drawing would
// leave behind: the worker gets a folder of its own, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code error;
    auto base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string pattern = (base / "tovak-draw-XXXXXX").string();
    if (!mkdtemp(pattern.data())) SystemFailure("no temporary folder");
    path_ = pattern;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::vector<std::string> ChildEnvironment(const std::string& scratch) {
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    const std::string_view entry = *e;
    if (entry.starts_with("TMPDIR=") || entry.starts_with("MAGICK_TMPDIR=")) continue;
    env.emplace_back(entry);
  }
  env.push_back("TMPDIR=" + scratch);
  env.push_back("MAGICK_TMPDIR=" + scratch);
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// The worker, leader of a process group of its own: Ghostscript, which GraphicsMagick starts,
// belongs to it too. Whatever way the caller leaves, the group is killed and the worker reaped.
class Child {
 public:
  Child(std::vector<std::string> args, int input, int output, const std::string& scratch) {
    std::vector<std::string> env = ChildEnvironment(scratch);
    const std::vector<char*> argv = Pointers(args);
    const std::vector<char*> envp = Pointers(env);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    // Whatever the program ignores or blocks, the drawing should not: Ghostscript is waited for
    // through SIGCHLD, and the CPU limit ends through SIGXCPU.
    sigset_t mask;
    sigemptyset(&mask);
    for (int s : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXCPU}) {
      sigaddset(&mask, s);
    }
    posix_spawnattr_setsigdefault(&attributes, &mask);
    sigemptyset(&mask);
    posix_spawnattr_setsigmask(&attributes, &mask);

    const int rc = posix_spawn(&pid_, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
      pid_ = -1;
      errno = rc;
      SystemFailure("the drawing program cannot be started");
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() { Finish(); }

  // Whether the worker has ended. It is left unreaped, so that its pid keeps naming its group.
  bool Ended() const {
    siginfo_t info = {};
    while (waitid(P_PID, pid_t(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
      if (errno != EINTR) return true;
    }
    return info.si_pid == pid_;
  }

  // Kills what is left of the group and reaps the worker; returns its wait status.
  int Finish() {
    if (pid_ <= 0) return 0;
    killpg(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
};

// The worker's output: the reply, then the pixels when a decoded picture follows.
class Receiver {
 public:
  explicit Receiver(bool wantsPixels) : wantsPixels_(wantsPixels) {}

  // Reads what has arrived; false once the worker has closed its output.
  bool ReadFrom(int fd) {
    for (;;) {
      uint8_t spill[4096];
      auto [where, room] = Room();
      if (room == 0) where = spill, room = sizeof spill;
      const ssize_t got = read(fd, where, room);
      if (got == 0) return false;
      if (got < 0) {
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return true;
        SystemFailure("the drawing program's answer cannot be read");
      }
      if (where == spill) throw EPictureError("the drawing program gave a wrong answer");
      Took(size_t(got));
    }
  }

  bool Complete() const { return replied_ == sizeof reply_ && pixelsLeft_ == 0; }
  const MagickWorkerReply& Reply() const { return reply_; }
  QImage& Image() { return image_; }

 private:
  std::pair<uint8_t*, size_t> Room() {
    if (replied_ < sizeof reply_) {
      return {reinterpret_cast<uint8_t*>(&reply_) + replied_, sizeof reply_ - replied_};
    }
    return {pixels_, pixelsLeft_};
  }

  void Took(size_t got) {
    if (replied_ < sizeof reply_) {
      replied_ += got;
      if (replied_ == sizeof reply_) Prepare();
    } else {
      pixels_ += got;
      pixelsLeft_ -= got;
    }
  }

  // Checks the reply and makes room for the pixels it announces.
  void Prepare() {
    if (std::memcmp(reply_.magic, kMagickWorkerMagic, sizeof reply_.magic) != 0) {
      throw EPictureError("the drawing program gave a wrong answer");
    }
    reply_.message[sizeof reply_.message - 1] = 0;
    if (reply_.failed || !wantsPixels_) return;
    const int64_t width = reply_.header.width, height = reply_.header.height;
    if (width <= 0 || height <= 0 || width > kMaxPicturePixels || height > kMaxPicturePixels ||
        width * height > kMaxPicturePixels) {
      throw EPictureError("the drawing program gave a wrong answer");
    }
    image_ = QImage(int(width), int(height),
                    reply_.hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image_.isNull()) throw EPictureError("not enough memory for the picture");
    // Rows of 4-byte pixels have no padding, and B, G, R, A is QImage's order on this machine.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixel layout assumes a little-endian machine");
    pixels_ = image_.bits();
    pixelsLeft_ = size_t(image_.sizeInBytes());
  }

  const bool wantsPixels_;
  MagickWorkerReply reply_ = {};
  size_t replied_ = 0;
  QImage image_;
  uint8_t* pixels_ = nullptr;
  size_t pixelsLeft_ = 0;
};

int Milliseconds(Clock::duration d) {
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(d).count();
  return int(std::clamp<decltype(ms)>(ms, 0, kTick.count()));
}

void Run(const MagickWorkerJob& job, const char* mode, const uint8_t* data, size_t size,
         const KeepWaiting& keepWaiting, Receiver& receiver) {
  const auto deadline = Clock::now() + job.limit;
  auto check = [&] {
    if (keepWaiting && !keepWaiting()) throw EPictureError("drawing was cancelled");
    if (Clock::now() >= deadline) throw EPictureError("took too long to draw");
  };

  ScratchFolder scratch;
  Fd input = InputFile(data, size);
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) SystemFailure("no pipe to the drawing program");
  Fd from(ends[0]), to(ends[1]);
  Child child({job.worker, job.module, job.coder, std::to_string(job.density),
               std::to_string(kMaxPicturePixels), mode},
              input.Get(), to.Get(), scratch.Path());
  input.Reset();
  to.Reset();  // so that the worker's end of its output is the last one
  fcntl(from.Get(), F_SETFL, O_NONBLOCK);

  for (bool open = true; open;) {
    check();
    pollfd p = {from.Get(), POLLIN, 0};
    const int ready = poll(&p, 1, Milliseconds(deadline - Clock::now()));
    if (ready < 0 && errno != EINTR) SystemFailure("the drawing program cannot be watched");
    if (ready > 0) open = receiver.ReadFrom(from.Get());
  }
  while (!child.Ended()) {
    check();
    poll(nullptr, 0, 5);
  }
  const int status = child.Finish();
  if (!receiver.Complete()) {
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU) {
      throw EPictureError("took too long to draw");
    }
    throw EPictureError("the picture could not be drawn (the drawing program stopped)");
  }
  if (receiver.Reply().failed) throw EPictureError(receiver.Reply().message);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw EPictureError("the picture could not be drawn (the drawing program stopped)");
  }
}

}  // namespace

MagickHeader PingInWorker(const MagickWorkerJob& job, const uint8_t* data, size_t size,
                          const KeepWaiting& keepWaiting) {
  Receiver receiver(false);
  Run(job, "ping", data, size, keepWaiting, receiver);
  const TovakMagickHeader& h = receiver.Reply().header;
  return {h.width, h.height, h.bitsPerPixel, h.pageCount};
}

QImage DecodeInWorker(const MagickWorkerJob& job, const uint8_t* data, size_t size,
                      const KeepWaiting& keepWaiting) {
  Receiver receiver(true);
  Run(job, "decode", data, size, keepWaiting, receiver);
  return std::move(receiver.Image());
}

}  // namespace tovak
