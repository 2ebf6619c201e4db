#include "common/paths.h"

#include <algorithm>
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

std::string Paths::UserSettingsFolder() {
  return UserConfigFolder() + "/Quillora Tovak/";
}

Paths Paths::FromExecutable() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) self = fs::current_path(error) / "tovak";
  Paths paths(self.parent_path().string(), UserSettingsFolder());
  paths.SetProgramName(self.filename().string());
  return paths;
}

bool IsInTemporaryFolder(const std::string& path) {
  const char* tmpdir = std::getenv("TMPDIR");
  std::error_code error;
  const fs::path temporary = fs::canonical(tmpdir && *tmpdir ? tmpdir : "/tmp", error);
  if (error) return false;
  const fs::path file = fs::canonical(path, error);
  if (error) return false;
  // Compared by whole path elements, so "/tmpfiles/list.txt" is not inside "/tmp".
  const auto [end, rest] =
      std::mismatch(temporary.begin(), temporary.end(), file.begin(), file.end());
  return end == temporary.end() && rest != file.end();
}

}  // namespace tovak
