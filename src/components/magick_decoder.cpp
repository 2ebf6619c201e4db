#include "components/magick_decoder.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "components/magick_module.h"
#include "components/picture_error.h"

namespace tovak {

namespace {

struct Module {
  TovakMagickStartFn start = nullptr;
  TovakMagickPingFn ping = nullptr;
  TovakMagickDecodeFn decode = nullptr;
};

// Opens the module at path and checks it is the one this program was built with.
Module Open(const std::string& path, std::string& why) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* error = dlerror();
    why = error ? error : path + " cannot be opened";
    return {};
  }
  auto symbol = [&](const char* name) { return dlsym(handle, name); };
  const auto interface =
      reinterpret_cast<TovakMagickInterfaceFn>(symbol(TOVAK_MAGICK_INTERFACE_SYMBOL));
  Module m;
  m.start = reinterpret_cast<TovakMagickStartFn>(symbol(TOVAK_MAGICK_START_SYMBOL));
  m.ping = reinterpret_cast<TovakMagickPingFn>(symbol(TOVAK_MAGICK_PING_SYMBOL));
  m.decode = reinterpret_cast<TovakMagickDecodeFn>(symbol(TOVAK_MAGICK_DECODE_SYMBOL));
  if (!interface || !m.start || !m.ping || !m.decode || interface() != TOVAK_MAGICK_INTERFACE) {
    why = path + " is not this program's picture module";
    dlclose(handle);
    return {};
  }
  // Kept open for the rest of the process: the library it loaded keeps global state.
  return m;
}

Module OpenChecked(const std::string& path) {
  std::string why;
  Module m = Open(path, why);
  if (!m.start) throw EPictureError("the picture module cannot be loaded: " + why);
  char message[TOVAK_MAGICK_MESSAGE_SIZE] = {};
  if (m.start(kMaxPicturePixels, message) != 0) {
    throw EPictureError(std::string("the picture module cannot start: ") + message);
  }
  return m;
}

// The module sits beside the program; a program run from elsewhere in the build (the tests)
// finds the one the build made.
std::vector<std::string> Candidates() {
  std::vector<std::string> paths;
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) paths.push_back((self.parent_path() / TOVAK_MAGICK_MODULE_NAME).string());
#ifdef TOVAK_MAGICK_BUILD_PATH
  paths.push_back(TOVAK_MAGICK_BUILD_PATH);
#endif
  return paths;
}

std::mutex loadMutex;
Module loaded;

const Module& Loaded() {
  std::lock_guard lock(loadMutex);
  if (loaded.start) return loaded;
  for (const std::string& path : Candidates()) {
    if (!std::filesystem::exists(path)) continue;
    loaded = OpenChecked(path);
    return loaded;
  }
  throw EPictureError("the picture module " TOVAK_MAGICK_MODULE_NAME
                      " is missing beside the program: pictures of this kind cannot be read");
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

MagickHeader PingWithMagick(const uint8_t* data, size_t size, const std::string& coder,
                            const KeepWaiting& /*keepWaiting*/) {
  const Module& m = Loaded();
  TovakMagickHeader h = {};
  char message[TOVAK_MAGICK_MESSAGE_SIZE] = {};
  if (m.ping(data, size, coder.c_str(), kVectorDensity, &h, message) != 0) {
    throw EPictureError(message);
  }
  return {h.width, h.height, h.bitsPerPixel, h.pageCount};
}

QImage DecodeWithMagick(const uint8_t* data, size_t size, const std::string& coder,
                        const KeepWaiting& /*keepWaiting*/) {
  const Module& m = Loaded();
  QImage image;
  char message[TOVAK_MAGICK_MESSAGE_SIZE] = {};
  if (m.decode(data, size, coder.c_str(), kVectorDensity, AllocateImage, &image, message) != 0) {
    throw EPictureError(message);
  }
  return image;
}

}  // namespace tovak
