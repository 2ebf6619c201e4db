#include "components/magick_decoder.h"

#include <atomic>
#include <filesystem>
#include <mutex>
#include <new>
#include <string>

#include "components/magick_loader.h"
#include "components/magick_module.h"
#include "components/magick_worker.h"
#include "components/magick_worker_protocol.h"
#include "components/picture_error.h"

namespace tovak {

namespace {

using Module = MagickModule;

Module OpenChecked(const std::string& path) {
  std::string why;
  Module m = OpenMagickModule(path, why);
  if (!m) throw EPictureError("the picture module cannot be loaded: " + why);
  char message[TOVAK_MAGICK_MESSAGE_SIZE] = {};
  if (m.start(kMaxPicturePixels, message) != 0) {
    throw EPictureError(std::string("the picture module cannot start: ") + message);
  }
  return m;
}

#ifndef TOVAK_MAGICK_BUILD_PATH
#define TOVAK_MAGICK_BUILD_PATH nullptr
#endif
#ifndef TOVAK_MAGICK_WORKER_BUILD_PATH
#define TOVAK_MAGICK_WORKER_BUILD_PATH nullptr
#endif

// The module and the worker sit beside the program; a program run from elsewhere in the build
// finds the ones the build made.
std::string Find(const std::string& name, const char* buildPath, const char* what) {
  for (const std::string& path : BesideProgram(name, buildPath)) {
    if (std::filesystem::exists(path)) return path;
  }
  throw EPictureError(std::string("the ") + what + " " + name +
                      " is missing beside the program: pictures of this kind cannot be read");
}

std::string ModulePath() {
  return Find(TOVAK_MAGICK_MODULE_NAME, TOVAK_MAGICK_BUILD_PATH, "picture module");
}

std::mutex loadMutex;
Module loaded;

const Module& Loaded() {
  std::lock_guard lock(loadMutex);
  if (!loaded) loaded = OpenChecked(ModulePath());
  return loaded;
}

std::atomic<int64_t> drawingLimitMs{kVectorDrawingLimit.count()};

// PostScript (EPS, and the PostScript inside EPT) is a program Ghostscript runs, and a metafile
// is played record by record by libwmf: either may never end, so both are drawn in the worker,
// which can be killed. The raster coders (TIFF, PCX, PICT, PCD, TGA, BMP, GIF, ...) only unpack
// pixels whose size the header declared; they stay in this process, which is much quicker.
// HEIC and AVIF go to the worker too: their video codecs are far larger, and a damaged file must
// not be able to take the program down or keep it waiting.
bool DrawsInWorker(const std::string& coder) {
  return coder == "EPS" || coder == "EPT" || coder == "WMF" || coder == "HEIC" || coder == "AVIF";
}

MagickWorkerJob WorkerJob(const std::string& coder) {
  MagickWorkerJob job;
  job.worker = Find(kMagickWorkerName, TOVAK_MAGICK_WORKER_BUILD_PATH, "drawing program");
  job.module = ModulePath();
  job.coder = coder;
  job.limit = std::chrono::milliseconds(drawingLimitMs.load());
  return job;
}

uint8_t* AllocateImage(void* context, int width, int height, int hasAlpha) {
  auto* image = static_cast<QImage*>(context);
  try {
    *image = QImage(width, height, hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  // QImage's 32-bit pixels are B, G, R, A in memory on little-endian machines, and its rows have
  // no padding at 4 bytes a pixel.
  static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixel layout assumes a little-endian machine");
  return image->isNull() ? nullptr : image->bits();
}

}  // namespace

void StartMagick() {
  Loaded();
}

void CheckMagickModule(const std::string& path) {
  OpenChecked(path);
}

void SetVectorDrawingLimit(std::chrono::milliseconds limit) {
  drawingLimitMs = limit.count();
}

MagickHeader PingWithMagick(const uint8_t* data, size_t size, const std::string& coder,
                            const KeepWaiting& keepWaiting) {
  if (DrawsInWorker(coder)) return PingInWorker(WorkerJob(coder), data, size, keepWaiting);
  const Module& m = Loaded();
  TovakMagickHeader h = {};
  char message[TOVAK_MAGICK_MESSAGE_SIZE] = {};
  if (m.ping(data, size, coder.c_str(), kVectorDensity, &h, message) != 0) {
    throw EPictureError(message);
  }
  return {h.width, h.height, h.bitsPerPixel, h.pageCount};
}

QImage DecodeWithMagick(const uint8_t* data, size_t size, const std::string& coder,
                        const KeepWaiting& keepWaiting) {
  if (DrawsInWorker(coder)) return DecodeInWorker(WorkerJob(coder), data, size, keepWaiting);
  const Module& m = Loaded();
  QImage image;
  char message[TOVAK_MAGICK_MESSAGE_SIZE] = {};
  if (m.decode(data, size, coder.c_str(), kVectorDensity, AllocateImage, &image, message) != 0) {
    throw EPictureError(message);
  }
  return image;
}

}  // namespace tovak
