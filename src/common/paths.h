#pragma once

#include <string>

namespace tovak {

// The package a build writes into the working folder before the user saves it.
inline constexpr const char* kTemporarySlideshowName = "~TalkingPlimo.exe";

// Where the program finds its own files and keeps its work. Every path the program uses comes
// from one object: the programs make it from the running executable, tests point it at a
// temporary folder.
class Paths {
 public:
  // programFolder: the folder of the program's files; settingsFolder: where the per-user
  // settings live. Both get a trailing separator.
  Paths(std::string programFolder, std::string settingsFolder);

  // From the running executable, with the settings in the user's configuration folder.
  static Paths FromExecutable();
  // The user's own settings folder for the program, with a trailing separator.
  static std::string UserSettingsFolder();

  const std::string& ProgramFolder() const { return programFolder_; }
  // The full path of the running program (or of where it would be, for tests).
  std::string ProgramPath() const { return programFolder_ + programName_; }
  // Message and voice files, and the package while it is built.
  std::string WorkFolder() const {
    return workFolder_.empty() ? programFolder_ + "Waves/" : workFolder_;
  }
  std::string OutputFile() const { return WorkFolder() + kTemporarySlideshowName; }
  // The player engine that starts every package.
  std::string EngineFile() const { return programFolder_ + "PlimoEng.dll"; }
  const std::string& SettingsFolder() const { return settingsFolder_; }
  std::string SettingsFile() const { return settingsFolder_ + "Tovak! Settings.ini"; }

  void SetProgramName(std::string name) { programName_ = std::move(name); }
  // A working folder of its own, for a command-line run beside others.
  void SetWorkFolder(std::string folder);

 private:
  std::string programFolder_;
  std::string settingsFolder_;
  std::string programName_ = "tovak";
  std::string workFolder_;
};

// Whether path lies in the user's temporary folder ($TMPDIR, else /tmp) or below it, after
// links are resolved on both sides. Only there does another program leave files for us to
// delete once read.
bool IsInTemporaryFolder(const std::string& path);

}  // namespace tovak
