#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "builder/plimo.h"
#include "builder/size_table.h"
#include "cli/commands.h"
#include "common/files.h"
#include "common/ini_file.h"
#include "common/paths.h"

namespace tovak::cli {

namespace fs = std::filesystem;

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
  interrupted = 1;
}

// Where the settings keep the size indexes and qualities of the two creation modes.
struct ModeSettings {
  int32_t index;
  int32_t quality;
};

ModeSettings ReadModeSettings(const Paths& paths, uint8_t mode) {
  const IniFile ini(paths.SettingsFile());
  if (mode == cmFull) {
    return {ini.ReadInteger("Slideshow Settings", "FullImageIndex", kDefaultSizeIndex),
            ini.ReadInteger("Slideshow Settings", "FullImageQuality", kDefaultFullQuality)};
  }
  return {ini.ReadInteger("Slideshow Settings", "CompactImageIndex", kDefaultSizeIndex),
          ini.ReadInteger("Slideshow Settings", "CompactImageQuality", kDefaultCompactQuality)};
}

// The message or voice file beside a picture: same name, another extension.
std::string Sidecar(const std::string& picture, const char* lower, const char* upper) {
  for (const char* ext : {lower, upper}) {
    fs::path candidate = fs::path(picture).replace_extension(ext);
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) return candidate.string();
  }
  return {};
}

void ShowProgress(int32_t current, int32_t total, const std::string& file, bool terminal) {
  const std::string name = fs::path(file).filename().string();
  if (!terminal) {
    std::fprintf(stderr, "%d/%d %s\n", current, total, name.c_str());
    return;
  }
  constexpr int kWidth = 30;
  const int done = total > 0 ? kWidth * current / total : kWidth;
  std::fprintf(stderr, "\r[%s%s] %d/%d %-40.40s", std::string(done, '#').c_str(),
               std::string(kWidth - done, ' ').c_str(), current, total, name.c_str());
}

// A private working folder, removed with everything in it.
class WorkFolder {
 public:
  WorkFolder() {
    std::string pattern = (fs::temp_directory_path() / "tovak-build-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~WorkFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

int RunBuild(const Arguments& args) {
  uint8_t mode = cmCompact;
  int32_t sizeIndex = -1;
  int32_t quality = -1;
  int32_t maxWidth = -1;
  int32_t maxHeight = -1;
  std::string out = "Slideshow.exe";
  std::string engine = "windows";
  std::vector<std::string> pictures;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool takesValue = arg == "--mode" || arg == "--size-index" || arg == "--quality" ||
                            arg == "--max" || arg == "-o" || arg == "--engine";
    if (takesValue && i + 1 >= args.size()) return Fail(arg + " needs a value");
    if (arg == "--mode") {
      const std::string& value = args[++i];
      if (value != "compact" && value != "full") return Fail("--mode takes compact or full");
      mode = value == "full" ? cmFull : cmCompact;
    } else if (arg == "--size-index") {
      if (!ParseNumber(args[++i], 0, 4, sizeIndex)) return Fail("--size-index takes 0 to 4");
    } else if (arg == "--quality") {
      if (!ParseNumber(args[++i], 0, 100, quality)) return Fail("--quality takes 0 to 100");
    } else if (arg == "--max") {
      if (!ParseSize(args[++i], maxWidth, maxHeight)) return Fail("--max takes WIDTHxHEIGHT");
    } else if (arg == "-o") {
      out = args[++i];
    } else if (arg == "--engine") {
      engine = args[++i];
    } else if (arg.starts_with("-")) {
      return Fail("unknown option '" + arg + "'");
    } else {
      pictures.push_back(arg);
    }
  }
  if (pictures.empty()) {
    return Fail(
        "usage: tovak-cli build [--mode compact|full] [--size-index N] [--quality Q] "
        "[--max WxH] [--engine windows|linux|PATH] [-o OUT] PICTURE...");
  }

  Paths paths = Paths::FromExecutable();
  const ModeSettings settings = ReadModeSettings(paths, mode);
  if (sizeIndex < 0) sizeIndex = settings.index;
  if (quality < 0) quality = settings.quality;
  if (maxWidth < 0) {
    const ImageSize size = GetImageSize(mode, sizeIndex);
    maxWidth = size.width;
    maxHeight = size.height;
  }

  WorkFolder work;
  if (work.Path().empty())
    return Fail("cannot make a working folder in " + fs::temp_directory_path().string());
  paths.SetWorkFolder(work.Path());

  std::vector<std::string> messages;
  std::vector<std::string> voices;
  for (const std::string& picture : pictures) {
    messages.push_back(Sidecar(picture, ".txt", ".TXT"));
    voices.push_back(Sidecar(picture, ".wav", ".WAV"));
  }

  TPlimo builder(paths);
  // The Windows engine is the program's own "PlimoEng.dll"; the Linux player makes a package
  // that runs here.
  if (engine == "linux") {
    builder.EngineFile = paths.ProgramFolder() + "tovak-player";
  } else if (engine != "windows") {
    builder.EngineFile = engine;
  }
  builder.Reset();
  builder.SetPictures(pictures);
  builder.SetMessages(messages);
  builder.SetVoices(voices);
  builder.SetOptions(maxWidth, maxHeight, quality);
  builder.TrailerFlag = 1;
  const bool terminal = isatty(STDERR_FILENO);
  builder.OnProgress = [&](int32_t current, int32_t total) {
    ShowProgress(current, total, builder.CurrentFile, terminal);
  };
  builder.ProcessMessages = [&] {
    if (interrupted) builder.CancelRequested = true;
  };
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  const bool built = builder.Build();
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  if (terminal) std::fputc('\n', stderr);
  if (!built) {
    Fail(builder.LastError);
    return interrupted ? 130 : 1;
  }

  // Beside the target first, so that a full disk never leaves half a slideshow under its name
  // nor spoils one that was there.
  std::error_code error;
  const std::string part = out + ".part";
  fs::copy_file(builder.OutputFile, part, fs::copy_options::overwrite_existing, error);
  if (!error) fs::rename(part, out, error);
  if (error) {
    DeleteFileIfExists(part);
    return Fail("the slideshow could not be copied to " + out);
  }
  std::printf("%s: %d pictures, %lld bytes\n", out.c_str(), builder.PictureCount(),
              static_cast<long long>(fs::file_size(out, error)));
  if (!builder.UnreadablePictures.empty()) {
    std::string names;
    for (const std::string& name : builder.UnreadablePictures) {
      names += (names.empty() ? "" : ", ") + name;
    }
    std::fprintf(stderr, "warning: %zu pictures could not be read and are left empty: %s\n",
                 builder.UnreadablePictures.size(), names.c_str());
  }
  return 0;
}

}  // namespace tovak::cli
