#include "common/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tovak {

namespace fs = std::filesystem;

namespace {

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string UserConfigFolder() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.config";
  return fs::temp_directory_path().string();
}

}  // namespace

Paths::Paths(std::string programFolder, std::string settingsFolder)
    : programFolder_(WithSeparator(std::move(programFolder))),
      settingsFolder_(WithSeparator(std::move(settingsFolder))) {}

void Paths::SetWorkFolder(std::string folder) {
  workFolder_ = WithSeparator(std::move(folder));
}

Paths Paths::FromExecutable() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) self = fs::current_path(error) / "tovak";
  Paths paths(self.parent_path().string(), UserConfigFolder() + "/Quillora Tovak");
  paths.SetProgramName(self.filename().string());
  return paths;
}

}  // namespace tovak
