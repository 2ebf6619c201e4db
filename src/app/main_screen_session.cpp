#include "app/main_screen_session.h"

#include <QtGlobal>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <system_error>

#include "common/files.h"
#include "common/ini_file.h"
#include "common/paths.h"
#include "common/placeholders.h"
#include "common/text_lines.h"
#include "editor/slideshow_opener.h"
#include "editor/working_files.h"
#include "editor/working_folder.h"

namespace tovak {

namespace fs = std::filesystem;

namespace {

// The project as a build sees it: every file named, with its size and time, so that a message
// typed again or a voice recorded again under the same name counts as a change.
std::vector<std::string> ProjectStamp(
    std::initializer_list<const std::vector<std::string>*> lists) {
  std::vector<std::string> stamp;
  for (const std::vector<std::string>* list : lists) {
    stamp.emplace_back();  // keeps a file from passing for one of the next list
    for (const std::string& file : *list) {
      std::error_code error;
      const auto size = file.empty() ? 0 : fs::file_size(file, error);
      const auto time = file.empty() ? fs::file_time_type{} : fs::last_write_time(file, error);
      stamp.push_back(file + "|" + std::to_string(error ? 0 : size) + "|" +
                      std::to_string(error ? 0 : time.time_since_epoch().count()));
    }
  }
  return stamp;
}

constexpr const char* kTovakSection = "Tovak! Settings";
constexpr const char* kSlideshowSection = "Slideshow Settings";
constexpr int64_t kMaxHandOverList = 1 << 20;

// The texts are looked up in this context by the window's translator.
const char* const kRestoreText =
    QT_TRANSLATE_NOOP("tovak::MainScreenSession", "Restore the slideshow you were working on?");
const char* const kSuccessText = QT_TRANSLATE_NOOP(
    "tovak::MainScreenSession", "Quillora Tovak! has successfully created a talking slideshow!");
const char* const kNotSavedText =
    QT_TRANSLATE_NOOP("tovak::MainScreenSession", "It is not saved yet: press Save to keep it.");
const char* const kUnreadableText = QT_TRANSLATE_NOOP(
    "tovak::MainScreenSession", "These pictures could not be read and were left out:");
const char* const kLongVoicesText = QT_TRANSLATE_NOOP(
    "tovak::MainScreenSession",
    "These voices are so long that on an older 32-bit Windows PC the slideshow may stop at them "
    "for lack of memory:");
const char* const kFailureText = QT_TRANSLATE_NOOP(
    "tovak::MainScreenSession", "The following error occured during the creation process:\r%s");
const char* const kCancelText =
    QT_TRANSLATE_NOOP("tovak::MainScreenSession", "Are you sure you want to cancel the process?");
const char* const kSaveText = QT_TRANSLATE_NOOP(
    "tovak::MainScreenSession", "Do you want to save the slideshow before you exit?");
// Asked when there is no result to save. Yes gives the project up, so it must be what the user
// chooses, never what a key press falls on: Enter answers No, which closes and keeps the project
// for the next start, and Esc answers Cancel, which stays.
const char* const kCloseUnsavedText = QT_TRANSLATE_NOOP(
    "tovak::MainScreenSession",
    "The slideshow you are working on is not saved. Do you want to discard it, with its messages "
    "and recordings?\n\nYes discards it. No keeps it for the next start. Cancel goes back to "
    "it.");

const char* const kDiscardText = QT_TRANSLATE_NOOP(
    "tovak::MainScreenSession",
    "Discard the slideshow you are working on, with its messages and recordings, and open "
    "\"%s\" instead?");
const char* const kOpenFailedText = QT_TRANSLATE_NOOP(
    "tovak::MainScreenSession", "\"%s\" cannot be opened as a talking slideshow.\r%s");
const char* const kOpenJournalText =
    QT_TRANSLATE_NOOP("tovak::MainScreenSession",
                      "The slideshow could not be noted down for a restart after a crash (%s).");

bool LooksLikeAbsolutePath(const std::string& line) {
  if (line.starts_with('/') || line.starts_with("\\\\")) return true;
  return line.size() >= 3 && std::isalpha(static_cast<unsigned char>(line[0])) && line[1] == ':' &&
         (line[2] == '\\' || line[2] == '/');
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool CanWriteIn(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) return false;
  const fs::path probe = folder / ".tovak-write-test";
  const bool written = std::ofstream(probe).good();
  fs::remove(probe, error);
  return written;
}

}  // namespace

BannerMenu BannerMenuFor(int32_t showBanner) {
  return {showBanner != -1, showBanner == 1};
}

std::string AppearanceKey(int menu, int entry) {
  return entry == 0 ? std::to_string(menu) : std::to_string(menu) + "," + std::to_string(entry);
}

bool AppearanceHides(int32_t value, int menu, int entry) {
  return value > 0 && value == menu + entry;
}

std::vector<LinkEntry> LinkMenuEntries(const std::vector<std::string>& list, int language) {
  std::vector<LinkEntry> entries;
  int32_t languages = 0, links = 0;
  if (list.size() < 2 || !ParseProfileInteger(list[0], languages) ||
      !ParseProfileInteger(list[1], links) || languages <= 0 || links <= 0) {
    return entries;
  }
  if (language <= 0 || language > languages) language = 1;
  for (int64_t d = 0; d < links; ++d) {
    size_t caption = static_cast<size_t>(d * 2 * languages + 2 * language);
    if (caption < list.size() && list[caption].empty()) {
      caption = static_cast<size_t>(d * 2 * languages + 2);
    }
    if (caption + 1 >= list.size()) break;
    entries.push_back({list[caption], list[caption + 1]});
  }
  return entries;
}

bool IsHandOverList(const std::string& path) {
  const int64_t size = FileSize(path);
  if (size <= 0 || size > kMaxHandOverList) return false;
  std::ifstream in(path, std::ios::binary);
  std::string text(static_cast<size_t>(size), '\0');
  if (!in.read(text.data(), size) || text.find('\0') != std::string::npos) return false;
  bool anyPath = false;
  for (const std::string& line : SplitLines(text)) {
    if (line.empty()) continue;
    if (!LooksLikeAbsolutePath(line)) return false;
    anyPath = true;
  }
  return anyPath;
}

std::string ChooseWorkFolder(const std::string& programFolder, const std::string& dataFolder) {
  // An installed folder belongs to the package manager, even to a root who can write there:
  // work left in it would outlive an uninstall. The install step leaves a marker to say so.
  std::error_code error;
  const bool installed = fs::exists(fs::path(programFolder) / kInstalledCopyMarker, error);
  const fs::path beside = fs::path(programFolder) / "Waves";
  if (!installed && CanWriteIn(beside)) return beside.string() + "/";
  return (fs::path(dataFolder) / "Waves").string() + "/";
}

MainScreenSession::MainScreenSession(const Paths& paths, IniFile& ini, MainScreenAsker& asker)
    : ini_(ini), asker_(asker), builder_(paths) {
  // A builder that cannot be prepared still lets the user edit; the build reports the fault.
  try {
    builder_.Reset();
  } catch (const std::exception&) {
  }
  // Every core by default; TOVAK_JOBS=1 builds on this thread alone.
  builder_.Jobs = TPlimo::JobsFrom(std::getenv("TOVAK_JOBS"), TPlimo::CoreCount());
  builder_.OnProgress = [this](int32_t current, int32_t) {
    look_.gaugePosition = current;
    Notify();
    if (ProcessMessages) ProcessMessages();
  };
  builder_.ProcessMessages = [this] {
    if (ProcessMessages) ProcessMessages();
  };
  // A picture taken out of an opened slideshow was prepared once already: when it still fits,
  // it is stored as it is. The opened pictures are known by their names in the working folder,
  // which the journal keeps across a crash.
  builder_.KeepsFittingJpeg = [work = paths.WorkFolder()](const std::string& picture) {
    return IsOpenedPicture(picture, work);
  };
  settings_.PictureFiles = &pictures_;
  settings_.MessageFiles = &messages_;
  settings_.VoiceFiles = &voices_;
  settings_.SingleScreenDefault = 1;
  ReadSlideshowSettings(ini_, settings_);
}

MainScreenSession::~MainScreenSession() = default;

void MainScreenSession::OpenProject(WorkingFolder& folder) {
  if (!folder.SetAsideNote().empty())
    asker_.Tell(MainScreenAsker::Kind::Error, folder.SetAsideNote());
  if (folder.HasUnfinishedProject() &&
      asker_.Ask(MainScreenAsker::Kind::Confirmation, Tr(kRestoreText), false) ==
          MainScreenAsker::Answer::Yes) {
    try {
      ProjectLists lists = folder.Restore();
      pictures_ = std::move(lists.pictures);
      messages_ = std::move(lists.messages);
      voices_ = std::move(lists.voices);
      // An opened show keeps its name in the caption and as Save's offer.
      openedFrom_ = folder.Slideshow();
      savedName_ = fs::path(openedFrom_).filename().string();
      ListsChanged();
      return;
    } catch (const Exception& e) {
      // The files stay in the folder until the user's next start or normal exit.
      asker_.Tell(MainScreenAsker::Kind::Error, e.Message());
      pictures_.clear();
      messages_.clear();
      voices_.clear();
      ListsChanged();
      return;
    }
  }
  ResetProject(folder);
}

void MainScreenSession::ResetProject(WorkingFolder& folder) {
  folder.Empty();
  settings_.SlideshowPath.clear();
  pictures_.clear();
  messages_.clear();
  voices_.clear();
  savedStamp_.clear();
  ListsChanged();
}

void MainScreenSession::LoadPictureListFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EHandOverListError(path + ": " + std::strerror(errno));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const bool failed = in.bad();
  in.close();
  if (IsInTemporaryFolder(path)) DeleteFileIfExists(path);
  if (failed) throw EHandOverListError(path + ": " + std::strerror(EIO));
  for (std::string& line : SplitLines(text)) {
    pictures_.push_back(std::move(line));
    messages_.emplace_back();
    voices_.emplace_back();
  }
  ListsChanged();
}

void MainScreenSession::ListsChanged() {
  look_.pictureCount = static_cast<int>(pictures_.size());
  Notify();
}

bool MainScreenSession::OpenSlideshow(const std::string& package, WorkingFolder& folder) {
  if (builder_.Busy) return false;
  const std::string name = fs::path(package).filename().string();
  const auto refuse = [&](const std::string& why) {
    asker_.Tell(MainScreenAsker::Kind::Error, FillPlaceholders(Tr(kOpenFailedText), {name, why}));
    return false;
  };
  ProjectLists opened;
  try {
    // What is no slideshow at all is said before the project is put in question.
    CheckSlideshowFile(package);
    const bool unsavedResult = FileExists(builder_.OutputFile) && !slideshowSaved_;
    if ((!pictures_.empty() || unsavedResult) &&
        !asker_.AskBeforeDeleting(MainScreenAsker::Kind::Confirmation,
                                  FillPlaceholders(Tr(kDiscardText), {name}))) {
      return false;
    }
    std::vector<std::string> inUse = pictures_;
    inUse.insert(inUse.end(), messages_.begin(), messages_.end());
    inUse.insert(inUse.end(), voices_.begin(), voices_.end());
    SlideshowOpening opening(package, folder.Path(), inUse, std::time(nullptr));
    // The journal names every file before it is written: a crash halfway leaves none unnamed.
    const std::vector<std::string> coming = opening.Files();
    std::string error;
    if (!folder.NoteComing(coming, &error)) throw EOpenSlideshowError(error);
    try {
      const auto work = [&](const OpenProgress& progress) { opened = opening.Write(progress); };
      RunOpening ? RunOpening(work) : work({});
    } catch (...) {
      folder.ForgetComing(coming);
      throw;
    }
  } catch (const EOpeningCancelled&) {
    return false;
  } catch (const EOpenSlideshowError& e) {
    return refuse(e.Message());
  }
  // Only now is the old project let go: its files, and the result built from it; the package
  // may be the program's own unsaved result.
  folder.Adopt({pictures_, messages_, voices_});
  pictures_ = std::move(opened.pictures);
  messages_ = std::move(opened.messages);
  voices_ = std::move(opened.voices);
  std::string error;
  folder.SetSlideshow(fs::absolute(package).lexically_normal().string());
  if (!folder.ReplaceProject({pictures_, messages_, voices_}, {package}, &error))
    asker_.Tell(MainScreenAsker::Kind::Error, FillPlaceholders(Tr(kOpenJournalText), {error}));
  openedFrom_ = folder.Slideshow();
  savedName_ = name;
  settings_.SlideshowPath.clear();
  slideshowSaved_ = false;
  builtFrom_.clear();
  // The project is the opened show until it is changed.
  savedStamp_ = ProjectStamp({&pictures_, &messages_, &voices_});
  look_ = MainScreenLook{};
  ListsChanged();
  return true;
}

void MainScreenSession::ConfirmProject() {
  if (settings_.SlideshowPath.empty()) settings_.SlideshowPath = builder_.OutputFile;
  settings_.ProjectConfirmed = 1;
  ListsChanged();
}

bool MainScreenSession::StartCreation() {
  if (builder_.Busy) {
    builder_.CancelRequested = true;
    return false;
  }
  builder_.SetPictures(pictures_);
  builder_.SetMessages(messages_);
  builder_.SetVoices(voices_);
  look_.gaugePosition = 0;
  look_.gaugeMax = builder_.PictureCount();
  const bool full = settings_.CreationMode == cmFull;
  const int32_t quality = full ? settings_.FullImageQuality : settings_.CompactImageQuality;
  builder_.TrailerFlag = 1;
  const ImageSize size = GetImageSize(
      settings_.CreationMode, full ? settings_.FullImageIndex : settings_.CompactImageIndex);
  builder_.SetOptions(size.width, size.height, quality);
  builtFrom_ = ProjectStamp({&pictures_, &messages_, &voices_});
  slideshowSaved_ = false;
  Notify();
  return true;
}

void MainScreenSession::SetProcessState(bool busy) {
  look_.resultsVisible = !busy;
  look_.closeEnabled = !busy;
  look_.processVisible = busy;
  look_.goEnabled = !busy;
  Notify();
}

void MainScreenSession::CreateSlideshow() {
  SetProcessState(true);
  const bool built = builder_.Build();
  look_.goTag = 1;
  if (closeAfterBuild_) {
    // The user is leaving: no box is shown. The window still looks as the build left it, since
    // the close questions may keep it open.
    if (built) look_.saveEnabled = true;
    SetProcessState(false);
    look_.resultsVisible = built;
    Notify();
    return;
  }
  if (built) {
    Notify();
    // The result lives in the working folder, which is emptied at exit.
    std::string text = Tr(kSuccessText) + "\r\n" + Tr(kNotSavedText);
    if (!builder_.UnreadablePictures.empty()) {
      text += "\r\n\r\n" + Tr(kUnreadableText);
      for (const std::string& name : builder_.UnreadablePictures) text += "\r\n" + name;
    }
    if (!builder_.LongVoices.empty()) {
      text += "\r\n\r\n" + Tr(kLongVoicesText);
      for (const std::string& name : builder_.LongVoices) text += "\r\n" + name;
    }
    asker_.Tell(MainScreenAsker::Kind::Information, text);
    look_.saveEnabled = true;
    SetProcessState(false);
    return;
  }
  look_.resultsVisible = false;
  look_.processVisible = false;
  look_.goEnabled = true;
  look_.closeEnabled = true;
  Notify();
  asker_.Tell(MainScreenAsker::Kind::Error,
              FillPlaceholders(Tr(kFailureText), {builder_.LastError}));
}

void MainScreenSession::Cancel() {
  if (!builder_.Busy) return;
  if (asker_.Ask(MainScreenAsker::Kind::Information, Tr(kCancelText), false) ==
      MainScreenAsker::Answer::Yes) {
    builder_.CancelRequested = true;
  }
}

bool MainScreenSession::CloseQuery() {
  if (builder_.Busy) {
    if (closeAfterBuild_) return false;
    if (asker_.Ask(MainScreenAsker::Kind::Information, Tr(kCancelText), false) ==
        MainScreenAsker::Answer::Yes) {
      builder_.CancelRequested = true;
      closeAfterBuild_ = true;
    }
    return false;
  }
  // Closing during the build was a wish to stop it and leave, not to give up the project: the
  // usual questions follow.
  closeAfterBuild_ = false;
  if (!slideshowSaved_ && FileExists(builder_.OutputFile)) {
    switch (asker_.Ask(MainScreenAsker::Kind::Confirmation, Tr(kSaveText), true)) {
      case MainScreenAsker::Answer::Yes:
        // The user asked to leave: once the slideshow is safe there is nothing left to wait for.
        if (Save) Save();
        return slideshowSaved_;
      case MainScreenAsker::Answer::No:
        return true;
      case MainScreenAsker::Answer::Cancel:
        break;
    }
    return false;
  }
  keepProjectOnClose_ = false;
  if (!HoldsUnsavedWork()) return true;
  switch (asker_.AskKeepingByDefault(Tr(kCloseUnsavedText))) {
    case MainScreenAsker::Answer::Yes:
      return true;
    case MainScreenAsker::Answer::No:
      keepProjectOnClose_ = true;
      return true;
    case MainScreenAsker::Answer::Cancel:
      break;
  }
  return false;
}

bool MainScreenSession::ResultOutdated() const {
  return !builder_.Busy && FileExists(builder_.OutputFile) &&
         ProjectStamp({&pictures_, &messages_, &voices_}) != builtFrom_;
}

bool MainScreenSession::HoldsUnsavedWork() const {
  return !pictures_.empty() && ProjectStamp({&pictures_, &messages_, &voices_}) != savedStamp_;
}

void MainScreenSession::MarkSaved(const std::string& path) {
  // What is saved is the result, built from the project as it was when the build started.
  savedStamp_ = builtFrom_;
  settings_.SlideshowPath = path;
  savedName_ = fs::path(path).filename().string();
  slideshowSaved_ = true;
  Notify();
}

void MainScreenSession::Shutdown(const BannerMenu& banner) {
  ini_.WriteString(kTovakSection, "Last Folder", FolderOf(settings_.SlideshowPath));
  ini_.WriteInteger(kSlideshowSection, "CreationMode", settings_.CreationMode == cmFull ? 1 : 0);
  if (banner.visible) ini_.WriteInteger(kTovakSection, "ShowBanner", banner.ticked ? 1 : 0);
}

void MainScreenSession::Notify() {
  if (Changed) Changed();
}

}  // namespace tovak
