#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "builder/plimo.h"
#include "builder/size_table.h"
#include "builder/voice_record.h"
#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/outputs.h"
#include "common/atomic_file.h"
#include "common/files.h"
#include "common/ini_file.h"
#include "common/paths.h"
#include "common/temporary_registry.h"

namespace tovak::cli {

namespace fs = std::filesystem;

namespace {

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

void ShowProgress(int32_t current, int32_t total, const std::string& file) {
  const std::string name = fs::path(file).filename().string();
  constexpr int kWidth = 30;
  const int done = total > 0 ? kWidth * current / total : kWidth;
  std::fprintf(stderr, "\r[%s%s] %d/%d %-40.40s", std::string(done, '#').c_str(),
               std::string(kWidth - done, ' ').c_str(), current, total, name.c_str());
}

// A private working folder, removed with everything in it; a second Ctrl-C, which ends the
// process at once, removes the slideshow being built there and the folder.
class WorkFolder {
 public:
  WorkFolder() {
    std::string pattern = (fs::temp_directory_path() / "tovak-build-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    path_ = pattern;
    folder_ = std::make_unique<RegisteredTemporary>(path_, RegisteredTemporary::Kind::Folder);
    package_ =
        std::make_unique<RegisteredTemporary>((fs::path(path_) / kTemporarySlideshowName).string());
  }
  ~WorkFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::unique_ptr<RegisteredTemporary> folder_;
  std::unique_ptr<RegisteredTemporary> package_;
};

// Beside the target first, under a short name, so that a full disk never leaves half a
// slideshow under its name nor spoils one that was there, and a name near the length limit
// still saves.
bool CopyPackage(const std::string& built, const std::string& out, std::string& error) {
  TFileStream in;
  struct stat info {};
  if (!in.Open(built, TFileStream::Mode::Read) || ::fstat(in.Handle(), &info) != 0) {
    error = "the built slideshow cannot be read";
    return false;
  }
  return WriteFileAtomically(
      out,
      [&](TFileStream& file) {
        // The package runs as the engine does.
        return CopyStream(in, file) == info.st_size &&
               ::fchmod(file.Handle(), info.st_mode & 07777) == 0 && !InterruptSignal();
      },
      &error);
}

// The builder's sentences end with the file they are about, or start with a picture's name; the
// command line names the file first. Its own slideshow in the working folder is the user's OUT.
std::string BuildFailure(std::string reason, const std::string& work, const std::string& out) {
  std::string file = out;
  bool inWork = false;
  if (const size_t named = reason.find(" : "); named != std::string::npos) {
    file = reason.substr(0, named);
    reason.erase(0, named + 3);
  } else if (const size_t colon = reason.rfind(": "); colon != std::string::npos) {
    const std::string tail = reason.substr(colon + 2);
    std::error_code error;
    if (tail.starts_with(work) || tail.find('/') != std::string::npos || fs::exists(tail, error)) {
      inWork = tail.starts_with(work);
      if (!inWork) file = tail;
      reason.erase(colon);
    }
  }
  while (!reason.empty() && reason.back() == '.') reason.pop_back();
  // The slideshow is made in the temporary folder and copied to OUT only once whole: a write
  // that failed there is the temporary folder's doing, not OUT's.
  if (inWork) {
    if (!reason.empty()) reason[0] = static_cast<char>(std::tolower(reason[0]));
    return fs::path(work).parent_path().string() +
           ": the temporary folder cannot hold the slideshow while it is built: " + reason;
  }
  return file + ": " + reason;
}

}  // namespace

int RunBuild(const Arguments& arguments) {
  return RunBuildNamed(arguments, {}, {});
}

int RunBuildNamed(const Arguments& arguments, const std::string& temporary,
                  const std::string& given) {
  // Every line names what the user gave, never the temporary name a file is made under.
  const auto fail = [&](const std::string& message) {
    return Fail(NamedAsGiven(message, temporary, given));
  };
  const auto warn = [&](const std::string& message) {
    Warn(NamedAsGiven(message, temporary, given));
  };
  uint8_t mode = cmCompact;
  int32_t sizeIndex = -1;
  int32_t quality = -1;
  int32_t maxWidth = -1;
  int32_t maxHeight = -1;
  std::string out = "Slideshow.exe";
  std::string engine = "windows";
  int32_t jobs = TPlimo::CoreCount();
  bool keepFittingJpegs = false;
  std::vector<std::string> pictures;
  const Arguments args = SplitOptionValues(arguments);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      pictures.insert(pictures.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                      args.end());
      break;
    }
    const bool takesValue = arg == "--mode" || arg == "--size-index" || arg == "--quality" ||
                            arg == "--max" || arg == "-o" || arg == "--engine" || arg == "--jobs";
    if (takesValue && i + 1 >= args.size()) return UsageError(arg + " needs a value");
    if (arg == "--mode") {
      const std::string& value = args[++i];
      if (value != "compact" && value != "full") return UsageError("--mode takes compact or full");
      mode = value == "full" ? cmFull : cmCompact;
    } else if (arg == "--size-index") {
      if (!ParseNumber(args[++i], 0, 4, sizeIndex)) return UsageError("--size-index takes 0 to 4");
    } else if (arg == "--quality") {
      if (!ParseNumber(args[++i], 0, 100, quality)) return UsageError("--quality takes 0 to 100");
    } else if (arg == "--max") {
      if (!ParseSize(args[++i], maxWidth, maxHeight)) return UsageError("--max takes WIDTHxHEIGHT");
    } else if (arg == "--jobs") {
      if (!ParseNumber(args[++i], 1, 1024, jobs)) return UsageError("--jobs takes 1 to 1024");
    } else if (arg == "-o") {
      out = args[++i];
    } else if (arg == "--engine") {
      engine = args[++i];
    } else if (arg == "--keep-fitting-jpegs") {
      keepFittingJpegs = true;
    } else if (arg == "-q" || arg == "--quiet") {
      SetQuiet(true);
    } else if (IsOption(arg)) {
      return UsageError("unknown option '" + arg + "'");
    } else {
      pictures.push_back(arg);
    }
  }
  if (pictures.empty()) {
    return UsageError(
        "usage: tovak-cli build [--mode compact|full] [--size-index N] [--quality Q] "
        "[--max WxH] [--engine windows|linux|PATH] [--jobs N] [--keep-fitting-jpegs] [-o OUT] "
        "PICTURE...");
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

  // A mistyped name would otherwise become an empty picture in a slideshow that seems built.
  for (const std::string& picture : pictures) {
    if (const std::string problem = InputProblem(picture); !problem.empty()) return fail(problem);
  }

  std::vector<std::string> messages;
  std::vector<std::string> voices;
  for (const std::string& picture : pictures) {
    messages.push_back(Sidecar(picture, ".txt", ".TXT"));
    voices.push_back(Sidecar(picture, ".wav", ".WAV"));
  }
  // The Windows engine is the program's own "PlimoEng.dll"; the Linux player, stripped as it
  // rides in every package, makes a package that runs here.
  std::string engineFile;
  if (engine == "linux") {
    engineFile = paths.ProgramFolder() + "tovak-linux-engine";
  } else if (engine != "windows") {
    engineFile = engine;
  }
  // The engine is read into every package, so it is as much an input as the pictures.
  std::vector<std::string> inputs = {engineFile.empty() ? paths.EngineFile() : engineFile};
  for (const auto* list : {&pictures, &messages, &voices})
    inputs.insert(inputs.end(), list->begin(), list->end());
  if (const std::string problem = OutputProblem(out, inputs); !problem.empty())
    return fail(problem);

  // A voice no player could play and none can convert is refused, and a risk is told, before a
  // long build begins.
  const VoiceCheck voiceCheck = CheckVoices(voices);
  for (const std::string& warning : voiceCheck.warnings) warn(warning);
  if (!voiceCheck.refusedFile.empty())
    return fail(voiceCheck.refusedFile + ": " + voiceCheck.refusal);

  WorkFolder work;
  if (work.Path().empty())
    return fail("cannot make a working folder in " + fs::temp_directory_path().string());
  paths.SetWorkFolder(work.Path());

  TPlimo builder(paths);
  builder.EngineFile = engineFile;
  builder.Reset();
  builder.SetPictures(pictures);
  builder.SetMessages(messages);
  builder.SetVoices(voices);
  builder.SetOptions(maxWidth, maxHeight, quality);
  builder.TrailerFlag = 1;
  builder.Jobs = jobs;
  builder.KeepFittingJpegs = keepFittingJpegs;
  const bool progress = ShowsProgress();
  builder.OnProgress = [&](int32_t current, int32_t total) {
    if (progress) ShowProgress(current, total, builder.CurrentFile);
  };
  builder.ProcessMessages = [&] {
    if (InterruptSignal()) builder.CancelRequested = true;
  };
  const bool built = builder.Build();
  if (progress) std::fputc('\n', stderr);
  ThrowIfInterrupted();
  if (!built) return fail(BuildFailure(builder.LastError, work.Path(), out));

  std::string error;
  if (!CopyPackage(builder.OutputFile, out, error)) {
    ThrowIfInterrupted();
    return fail(out + ": cannot be written: " + error);
  }
  const int count = builder.PictureCount();
  std::printf("%s: %d picture%s, %lld bytes\n", NamedAsGiven(out, temporary, given).c_str(), count,
              count == 1 ? "" : "s", static_cast<long long>(FileSize(out)));
  if (const size_t unreadable = builder.UnreadablePictures.size(); unreadable > 0) {
    std::string names;
    for (const std::string& name : builder.UnreadablePictures) {
      names += (names.empty() ? "" : ", ") + name;
    }
    warn(std::to_string(unreadable) +
         (unreadable == 1 ? " picture could not be read and is left empty: "
                          : " pictures could not be read and are left empty: ") +
         names);
  }
  return 0;
}

}  // namespace tovak::cli
