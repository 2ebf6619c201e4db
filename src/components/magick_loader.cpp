#include "components/magick_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace tovak {

MagickModule OpenMagickModule(const std::string& path, std::string& why) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* error = dlerror();
    why = error ? error : path + " cannot be opened";
    return {};
  }
  auto symbol = [&](const char* name) { return dlsym(handle, name); };
  const auto interface =
      reinterpret_cast<TovakMagickInterfaceFn>(symbol(TOVAK_MAGICK_INTERFACE_SYMBOL));
  MagickModule m;
  m.start = reinterpret_cast<TovakMagickStartFn>(symbol(TOVAK_MAGICK_START_SYMBOL));
  m.ping = reinterpret_cast<TovakMagickPingFn>(symbol(TOVAK_MAGICK_PING_SYMBOL));
  m.decode = reinterpret_cast<TovakMagickDecodeFn>(symbol(TOVAK_MAGICK_DECODE_SYMBOL));
  if (!interface || !m || interface() != TOVAK_MAGICK_INTERFACE) {
    why = path + " is not this program's picture module";
    dlclose(handle);
    return {};
  }
  // Kept open for the rest of the process: the library it loaded keeps global state.
  return m;
}

std::vector<std::string> BesideProgram(const std::string& name, const char* buildPath) {
  std::vector<std::string> paths;
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) paths.push_back((self.parent_path() / name).string());
  if (buildPath) paths.emplace_back(buildPath);
  return paths;
}

}  // namespace tovak
