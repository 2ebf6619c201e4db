#include "app/result_actions.h"

#include <sys/stat.h>

#include <unistd.h>
#include <QtGlobal>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <new>

#include "app/zip_archive.h"
#include "builder/package_reader.h"
#include "common/atomic_file.h"
#include "common/file_stream.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/placeholders.h"
#include "web/web_export.h"

namespace tovak {

namespace fs = std::filesystem;

namespace {

// The texts are looked up in this context by the window's translator.
const char* const kZipAdviceText = QT_TRANSLATE_NOOP(
    "tovak::ResultActions",
    "It's recommended to send Tovak! slideshows as \".zip\" files.\rSome mail servers will "
    "automatically remove \".exe\" attachments.\r\rWould you like to e-mail your slideshow "
    "anyway?");
const char* const kOverwriteText =
    QT_TRANSLATE_NOOP("tovak::ResultActions", "File exists (%s) - Do you want to overwrite it?");
const char* const kNoMailText = QT_TRANSLATE_NOOP(
    "tovak::ResultActions",
    "No e-mail program could be started. Please attach the slideshow to a message "
    "yourself; its folder is opened for you:\r%s");
const char* const kSaveForMailText = QT_TRANSLATE_NOOP(
    "tovak::ResultActions",
    "No e-mail program could be started. The slideshow is not saved yet and is deleted when "
    "Quillora Tovak! closes.\r\rSave it now, so that you can attach it to a message yourself?");
const char* const kNoOpenerText = QT_TRANSLATE_NOOP(
    "tovak::ResultActions",
    "No program on this computer could open %s. Please install a program for \"%s\" files, "
    "or open the file yourself; its folder is opened for you.");
const char* const kNoFolderText = QT_TRANSLATE_NOOP(
    "tovak::ResultActions",
    "No file manager could be started to show the folder %s. Please open it yourself.");
const char* const kSavedText = QT_TRANSLATE_NOOP("tovak::ResultActions", "Saved: %s");
const char* const kOutdatedText = QT_TRANSLATE_NOOP(
    "tovak::ResultActions",
    "The pictures, messages or voices were changed after this slideshow was created, so it "
    "does not show the changes.\r\rUse it anyway? Choose No, then press Edit! to create it "
    "again.");
const char* const kNotSavedText =
    QT_TRANSLATE_NOOP("tovak::ResultActions", "The slideshow could not be saved as %s:\r%s");
const char* const kWrongTypeText = QT_TRANSLATE_NOOP(
    "tovak::ResultActions",
    "A slideshow can only be saved as a \".exe\", a \".zip\", a \".html\" or a \".mp4\" file. "
    "Nothing was saved as %s.");
const char* const kBusyText =
    QT_TRANSLATE_NOOP("tovak::ResultActions",
                      "The slideshow is still being created. Please wait until it is finished.");
const char* const kIncompleteText = QT_TRANSLATE_NOOP(
    "tovak::ResultActions", "The slideshow is not complete, so it cannot be used:\r%s");
const char* const kWorkFolderText = QT_TRANSLATE_NOOP(
    "tovak::ResultActions",
    "Slideshows cannot be saved in the working folder %s, because Quillora Tovak! empties it. "
    "Please choose another folder.");
const char* const kVideoTitleText =
    QT_TRANSLATE_NOOP("tovak::ResultActions", "Saving the slideshow as a video");
const char* const kVideoProgressText =
    QT_TRANSLATE_NOOP("tovak::ResultActions", "Picture %s of %s");
const char* const kVideoWarningsText = QT_TRANSLATE_NOOP(
    "tovak::ResultActions",
    "The video was saved as %s, but some pictures or voices could not be read; they are black "
    "or silent in it:\r%s");

// The mail program and the archiver that an installation may put beside the program.
constexpr const char* kMailProgram = "QXmapi.exe";
// Plays any package, whatever engine is in front of it (a Windows one does not run here).
constexpr const char* kPlayerProgram = "tovak-player";
constexpr const char* kArchiver = "fbzip.exe";

// The busy cursor for as long as it lives.
class BusyCursor {
 public:
  explicit BusyCursor(ResultDesktop& desktop) : desktop_(desktop) { desktop_.SetBusy(true); }
  ~BusyCursor() { desktop_.SetBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  ResultDesktop& desktop_;
};

// A name beside path that nobody else picks and that stays short, so that it fits where path
// itself only just fits.
std::string ShortNameBeside(const std::string& path, const char* extension) {
  static std::atomic<int> counter = 0;
  const std::string name =
      ".tovak-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + "." + extension;
  return (fs::path(path).parent_path() / name).string();
}

// Removes a temporary file unless it was kept.
struct TemporaryFile {
  std::string path;
  ~TemporaryFile() {
    if (!path.empty()) DeleteFileIfExists(path);
  }
};

bool IsWebPage(const std::string& path) {
  const std::string ext = UpperExtension(path);
  return ext == ".HTML" || ext == ".HTM";
}

bool IsVideo(const std::string& path) {
  return UpperExtension(path) == ".MP4";
}

// The name the chosen filter asks for: the zip, web and video filters make any name an archive,
// a page or a video; a name without an extension gets the filter's.
std::string NameForFilter(const std::string& chosen, int filterIndex) {
  fs::path name(chosen);
  if (filterIndex == SaveDialogData::kZipFilter) return name.replace_extension(".zip").string();
  if (filterIndex == SaveDialogData::kHtmlFilter)
    return IsWebPage(chosen) ? chosen : name.replace_extension(".html").string();
  if (filterIndex == SaveDialogData::kVideoFilter)
    return IsVideo(chosen) ? chosen : name.replace_extension(".mp4").string();
  const std::string ext = name.extension().string();
  if (ext.empty() || ext == ".") return name.replace_extension(".exe").string();
  return chosen;
}

}  // namespace

std::string SlideshowTitle(const std::string& path) {
  return "[" + fs::path(path).filename().string() + "]";
}

void CopyProgramFile(const std::string& source, const std::string& target) {
  auto fail = [&](const std::string& why) { throw EResultError("Save : " + why + " - " + target); };
  struct stat info {};
  if (::stat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    fail("the slideshow to save is missing (" + source + ")");
  // Whoever may read the package may run it.
  mode_t mode = info.st_mode & 0777;
  if (mode & S_IRUSR) mode |= S_IXUSR;
  if (mode & S_IRGRP) mode |= S_IXGRP;
  if (mode & S_IROTH) mode |= S_IXOTH;

  TFileStream in;
  if (!in.Open(source, TFileStream::Mode::Read)) fail(std::strerror(errno));
  std::string error;
  const bool ok = WriteFileAtomically(
      target,
      [&](TFileStream& out) {
        std::vector<char> buffer(1 << 20);
        for (;;) {
          const int64_t got = in.Read(buffer.data(), static_cast<int64_t>(buffer.size()));
          if (got < 0) return false;
          if (got == 0) break;
          if (!out.WriteAll(buffer.data(), got)) return false;
        }
        return ::fchmod(out.Handle(), mode) == 0;
      },
      &error);
  if (!ok) fail(error);
}

ResultActions::ResultActions(const Paths& paths, ResultState& state, ResultAsker& asker,
                             ResultDesktop& desktop)
    : paths_(paths), state_(state), asker_(asker), desktop_(desktop) {}

void ResultActions::Button(int tag) {
  switch (tag) {
    case kPreview:
      Preview();
      break;
    case kSend:
      Send();
      break;
    case kOpenFolder:
      OpenFolder();
      break;
    case kSave:
      SaveButton();
      break;
    default:
      break;
  }
}

std::string ResultActions::ActionPath() const {
  const std::string output = state_.OutputFile();
  if (FileExists(output) && !state_.SlideshowSaved()) return output;
  return state_.SlideshowPath();
}

bool ResultActions::Usable(const std::string& path) {
  if (state_.Building()) {
    asker_.Tell(ResultAsker::Kind::Information, Tr(kBusyText));
    return false;
  }
  if (path != state_.OutputFile() || !FileExists(path)) return true;
  const std::string problem = PackageProblem();
  if (problem.empty()) return true;
  asker_.Tell(ResultAsker::Kind::Error, FillPlaceholders(Tr(kIncompleteText), {problem}));
  return false;
}

std::string ResultActions::PackageProblem() const {
  // The builder writes the package in place: until its trailer is there, a copy of it is no
  // slideshow at all.
  try {
    PackageReader reader;
    reader.Open(state_.OutputFile());
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::bad_alloc&) {
    return "there is not enough memory to read it";
  }
  return {};
}

std::string ResultActions::TargetProblem(const std::string& target) const {
  if (std::string problem = OutputTargetProblem(target); !problem.empty()) return problem;
  if (SameFile(target, state_.OutputFile())) return "it is the slideshow being saved";
  return {};
}

bool ResultActions::UseEvenIfOutdated() {
  return !state_.Outdated() || asker_.AskYesNo(Tr(kOutdatedText));
}

void ResultActions::Preview() {
  const std::string path = ActionPath();
  if (!FileExists(path) || !Usable(path) || !UseEvenIfOutdated()) return;
  if (UpperExtension(path) == ".EXE" &&
      desktop_.StartDetached(paths_.ProgramFolder() + kPlayerProgram, {path})) {
    return;
  }
  if (desktop_.OpenWithDesktop(path)) return;
  asker_.Tell(ResultAsker::Kind::Warning,
              FillPlaceholders(Tr(kNoOpenerText), {path, fs::path(path).extension().string()}));
  if (!desktop_.ShowInFileManager(path)) {
    asker_.Tell(ResultAsker::Kind::Warning,
                FillPlaceholders(Tr(kNoFolderText), {fs::path(path).parent_path().string()}));
  }
}

void ResultActions::Send() {
  const std::string path = ActionPath();
  if (!FileExists(path) || !Usable(path) || !UseEvenIfOutdated()) return;
  if (UpperExtension(path) == ".EXE" && !asker_.AskYesNo(Tr(kZipAdviceText))) return;
  desktop_.SetBusy(true);
  bool handedOver;
  const std::string mailer = paths_.ProgramFolder() + kMailProgram;
  if (FileExists(mailer)) {
    // The installed mail program takes the attachment as its one argument.
    handedOver = desktop_.RunAndWait(mailer, {path}).has_value();
  } else {
    handedOver = desktop_.SendMail(path);
  }
  desktop_.SetBusy(false);
  if (!handedOver) SendByHand(path);
}

void ResultActions::SendByHand(const std::string& path) {
  if (path == state_.OutputFile()) {
    // Already asked whether to use an outdated result; the save must not ask again.
    if (!asker_.AskYesNo(Tr(kSaveForMailText)) || !Save(true, true, false)) return;
    desktop_.ShowInFileManager(state_.SlideshowPath());
    return;
  }
  asker_.Tell(ResultAsker::Kind::Warning, FillPlaceholders(Tr(kNoMailText), {path}));
  desktop_.ShowInFileManager(path);
}

void ResultActions::OpenFolder() {
  const std::string path = ActionPath();
  const std::string folder = fs::path(path).parent_path().string();
  std::error_code ignored;
  if (folder.empty() || !fs::is_directory(folder, ignored) || !Usable(path)) return;
  const bool shown =
      FileExists(path) ? desktop_.ShowInFileManager(path) : desktop_.OpenWithDesktop(folder);
  if (!shown)
    asker_.Tell(ResultAsker::Kind::Warning, FillPlaceholders(Tr(kNoFolderText), {folder}));
}

void ResultActions::SaveButton() {
  const bool unsaved = ActionPath() == state_.OutputFile();
  SaveSlideshow(unsaved, unsaved);
}

void ResultActions::SaveMenu() {
  const std::string path = state_.SlideshowPath();
  const bool named = !path.empty() && path != state_.OutputFile();
  SaveSlideshow(!named, !named);
}

void ResultActions::SaveAs() {
  SaveSlideshow(true, true);
}

bool ResultActions::SaveSlideshow(bool askName, bool askOverwrite) {
  return Save(askName, askOverwrite, true);
}

bool ResultActions::Save(bool askName, bool askOverwrite, bool askIfOutdated) {
  if (state_.Building()) {
    asker_.Tell(ResultAsker::Kind::Information, Tr(kBusyText));
    return false;
  }
  if (askIfOutdated && !UseEvenIfOutdated()) return false;
  std::string name;
  if (askName) {
    int filter = SaveDialogData::kExeFilter;
    if (!asker_.AskSaveName(name, filter) || name.empty()) return false;
    name = NameForFilter(name, filter);
  } else {
    name = state_.SlideshowPath();
  }
  const std::string ext = UpperExtension(name);
  if (ext != ".EXE" && ext != ".ZIP" && !IsWebPage(name) && !IsVideo(name)) {
    asker_.Tell(ResultAsker::Kind::Warning, FillPlaceholders(Tr(kWrongTypeText), {name}));
    return false;
  }
  // The folder is emptied at the end of every run, and whatever the program did not make there
  // is at best left behind.
  std::string folder = fs::path(name).parent_path().string();
  if (SameFile(folder.empty() ? "." : folder, paths_.WorkFolder())) {
    asker_.Tell(ResultAsker::Kind::Warning,
                FillPlaceholders(Tr(kWorkFolderText), {paths_.WorkFolder()}));
    return false;
  }
  // Asked before the overwrite question: a device or a folder there must not be taken for a
  // name that is free, nor offered for overwriting.
  std::string problem = TargetProblem(name);
  if (problem.empty()) problem = PackageProblem();
  if (!problem.empty()) {
    asker_.Tell(ResultAsker::Kind::Error, FillPlaceholders(Tr(kNotSavedText), {name, problem}));
    return false;
  }
  const bool exists = FileExists(name);
  if (askOverwrite && exists &&
      !asker_.AskBeforeDeleting(FillPlaceholders(Tr(kOverwriteText), {name})))
    return false;
  std::vector<std::string> lost;
  try {
    lost = WriteResult(name, askOverwrite && exists);
  } catch (const EVideoExportCancelled&) {
    // The user stopped it and knows; whatever was at the name is still there.
    return false;
  } catch (const Exception& e) {
    asker_.Tell(ResultAsker::Kind::Error, FillPlaceholders(Tr(kNotSavedText), {name, e.Message()}));
    return false;
  } catch (const std::bad_alloc&) {
    // A web page of a large show is made in memory; running out must cost the save, not the
    // program.
    asker_.Tell(ResultAsker::Kind::Error,
                FillPlaceholders(Tr(kNotSavedText), {name, "there is not enough memory"}));
    return false;
  }
  state_.MarkSaved(name);
  // A save under the name it already had asks nothing; this is the only word that it happened.
  asker_.Report(FillPlaceholders(Tr(kSavedText), {name}));
  if (!lost.empty()) {
    std::string lines;
    for (const std::string& line : lost) lines += (lines.empty() ? "" : "\r") + line;
    asker_.Tell(ResultAsker::Kind::Warning,
                FillPlaceholders(Tr(kVideoWarningsText), {name, lines}));
  }
  return true;
}

std::vector<std::string> ResultActions::WriteResult(const std::string& target, bool replaceWhole) {
  const std::string source = state_.OutputFile();
  if (UpperExtension(target) == ".EXE") {
    CopyProgramFile(source, target);
    return {};
  }
  if (IsVideo(target)) return WriteVideo(target);
  if (IsWebPage(target)) {
    // Re-encoding the voices takes a moment for a long show.
    const BusyCursor busy(desktop_);
    try {
      ExportWebSlideshow(source, target, LinkLanguage());
    } catch (const Exception& e) {
      throw EResultError("Save : " + e.Message() + " - " + target);
    }
    return {};
  }
  const std::string archiver = paths_.ProgramFolder() + kArchiver;
  if (FileExists(archiver)) {
    ZipWithArchiver(archiver, target, replaceWhole);
    return {};
  }
  // "Trip.zip" holds "Trip.exe", whatever the package was called while it was built.
  const std::string entry = fs::path(target).stem().string() + ".exe";
  // The archive library writes beside the archive under its name and seven characters more,
  // which a name near the length limit has no room for; so the archive is made under a short
  // name and renamed into place.
  TemporaryFile work{ShortNameBeside(target, "zip")};
  if (!replaceWhole && FileExists(target)) {
    std::error_code error;
    fs::copy_file(target, work.path, error);
    if (error) throw EResultError("Save : " + error.message() + " - " + target);
  }
  try {
    AddToZipArchive(work.path, source, entry, replaceWhole);
  } catch (const EZipArchiveError& e) {
    // The user knows the archive by its own name.
    std::string message = e.Message();
    if (message.ends_with(work.path))
      message.replace(message.size() - work.path.size(), work.path.size(), target);
    throw EResultError(message);
  }
  if (::rename(work.path.c_str(), target.c_str()) != 0)
    throw EResultError("Save : " + std::string(std::strerror(errno)) + " - " + target);
  work.path.clear();
  return {};
}

std::vector<std::string> ResultActions::WriteVideo(const std::string& target) {
  // Everything the other thread needs is taken here: it must not reach the window's state or
  // its translations.
  const std::string source = state_.OutputFile();
  const std::string pictureOf = Tr(kVideoProgressText);
  const auto exportVideo = ExportVideo;
  VideoExportReport report;
  try {
    asker_.RunWithProgress(Tr(kVideoTitleText), [&](const ResultAsker::Progress& progress) {
      VideoExportOptions options;
      options.width = kVideoWidth;
      options.height = kVideoHeight;
      options.progress = [&](int picture, int pictures, int percent) {
        return progress(
            FillPlaceholders(pictureOf, {std::to_string(picture), std::to_string(pictures)}),
            percent);
      };
      report = exportVideo(source, target, options);
    });
  } catch (const EVideoExportCancelled&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    // Whatever the encoder's libraries or the thread ran into costs the save, not the program.
    throw EResultError("Save : " + std::string(e.what()) + " - " + target);
  }
  return report.warnings;
}

void ResultActions::ZipWithArchiver(const std::string& archiver, const std::string& target,
                                    bool replaceWhole) {
  // The archiver adds to an existing archive; to replace one, the old one waits aside until
  // the new one is there, and comes back when it is not.
  std::string aside;
  if (replaceWhole) {
    aside = ShortNameBeside(target, "old");
    if (::rename(target.c_str(), aside.c_str()) != 0)
      throw EResultError("Save : " + std::string(std::strerror(errno)) + " - " + target);
  }
  // Archive first, then the file to add; each is one argument.
  std::optional<int> status;
  bool ok = false;
  struct PutBack {
    const std::string& aside;
    const std::string& target;
    const bool& ok;
    ~PutBack() {
      if (aside.empty()) return;
      if (ok) {
        DeleteFileIfExists(aside);
      } else {
        DeleteFileIfExists(target);
        ::rename(aside.c_str(), target.c_str());
      }
    }
  };
  {
    // Also when the wait ends in an exception, such as a lack of memory.
    const PutBack putBack{aside, target, ok};
    status = desktop_.RunAndWait(archiver, {"-a", target, state_.OutputFile()});
    ok = status && *status == 0 && FileExists(target);
  }
  if (!ok) {
    const std::string why = !status ? "the archiver could not be run"
                            : *status != 0
                                ? "the archiver ended with status " + std::to_string(*status)
                                : "the archiver wrote no archive";
    throw EResultError("Save : " + why + " - " + target);
  }
}

}  // namespace tovak
