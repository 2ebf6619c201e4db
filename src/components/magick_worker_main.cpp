// tovak-magick-worker: draws one vector picture with libtovak_magick.so on behalf of the program
// (see magick_worker_protocol.h). A drawing is a program Ghostscript or the metafile player
// runs, and it may never end; here it can be killed, with the Ghostscript it started, without
// harm to the program that waits for it.

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "components/magick_loader.h"
#include "components/magick_worker_protocol.h"

namespace {

using tovak::MagickWorkerReply;

// Should everything else fail, a drawing that never ends still stops: the limit is inherited by
// Ghostscript, and is far beyond any wait the program allows.
constexpr rlim_t kCpuSeconds = 120;

// Where the answer goes: our standard output as we found it. Standard output itself then goes
// nowhere, because Ghostscript prints its complaints there: they must not be taken for an
// answer, and the answer's message says what went wrong.
int answer = STDOUT_FILENO;

// Should the program go away without killing us (it crashed, or was killed), our output has no
// reader left: the drawing then ends at once, Ghostscript with it, as the program would have
// done.
void EndWithTheReader() {
  std::thread([] {
    pollfd p = {answer, 0, 0};
    while (poll(&p, 1, -1) < 0 && errno == EINTR) {
    }
    if (!(p.revents & (POLLERR | POLLHUP))) return;
    // The program makes us the leader of a group of our own; run otherwise, we end alone.
    if (getpgrp() == getpid()) killpg(0, SIGKILL);
    raise(SIGKILL);
  }).detach();
}

bool ReadAll(int fd, std::vector<uint8_t>& bytes) {
  struct stat st = {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) bytes.reserve(size_t(st.st_size));
  uint8_t buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
}

bool WriteAll(int fd, const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t put = write(fd, p, size);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += put;
    size -= size_t(put);
  }
  return true;
}

struct Pixels {
  std::vector<uint8_t> bytes;
  int width = 0;
  int height = 0;
  int hasAlpha = 0;
};

uint8_t* Allocate(void* context, int width, int height, int hasAlpha) {
  auto* pixels = static_cast<Pixels*>(context);
  try {
    pixels->bytes.resize(size_t(width) * size_t(height) * 4);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  pixels->width = width;
  pixels->height = height;
  pixels->hasAlpha = hasAlpha;
  return pixels->bytes.data();
}

int Fail(MagickWorkerReply& reply, const std::string& why) {
  reply.failed = 1;
  std::snprintf(reply.message, sizeof reply.message, "%s", why.c_str());
  return WriteAll(answer, &reply, sizeof reply) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const rlimit cpu = {kCpuSeconds, kCpuSeconds + 5};
  setrlimit(RLIMIT_CPU, &cpu);

  MagickWorkerReply reply = {};
  std::memcpy(reply.magic, tovak::kMagickWorkerMagic, sizeof reply.magic);
  const std::string mode = argc == 6 ? argv[5] : "";
  if (mode != "ping" && mode != "decode") {
    std::fprintf(stderr, "%s draws pictures for the program; it is not run by hand\n",
                 tovak::kMagickWorkerName);
    return 2;
  }
  const std::string modulePath = argv[1];
  const char* coder = argv[2];
  const int density = std::atoi(argv[3]);
  const int64_t maxPixels = std::atoll(argv[4]);

  answer = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (answer < 0 || nowhere < 0 || dup2(nowhere, STDOUT_FILENO) < 0) return 1;
  close(nowhere);
  EndWithTheReader();
  std::vector<uint8_t> data;
  if (!ReadAll(STDIN_FILENO, data)) return Fail(reply, "the picture could not be passed on");

  std::string why;
  const tovak::MagickModule module = tovak::OpenMagickModule(modulePath, why);
  if (!module) return Fail(reply, "the picture module cannot be loaded: " + why);
  if (module.start(maxPixels, reply.message) != 0) {
    return Fail(reply, std::string("the picture module cannot start: ") + reply.message);
  }

  if (mode == "ping") {
    reply.failed =
        module.ping(data.data(), data.size(), coder, density, &reply.header, reply.message);
    return WriteAll(answer, &reply, sizeof reply) ? 0 : 1;
  }
  Pixels pixels;
  reply.failed =
      module.decode(data.data(), data.size(), coder, density, Allocate, &pixels, reply.message);
  // Only the pixels are needed from here on; the file goes before they are sent.
  std::vector<uint8_t>().swap(data);
  reply.header.width = pixels.width;
  reply.header.height = pixels.height;
  reply.hasAlpha = pixels.hasAlpha;
  if (!WriteAll(answer, &reply, sizeof reply)) return 1;
  if (reply.failed) return 0;
  return WriteAll(answer, pixels.bytes.data(), pixels.bytes.size()) ? 0 : 1;
}
