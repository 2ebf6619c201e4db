#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/tovak_settings.h"
#include "builder/plimo.h"
#include "common/exception.h"
#include "editor/slideshow_opener.h"

namespace tovak {

class IniFile;
class WorkingFolder;

// A hand-over list that could not be read; the message is the system's own.
class EHandOverListError : public Exception {
 public:
  using Exception::Exception;
};

// The main window's questions and messages. Texts arrive translated and filled in.
class MainScreenAsker {
 public:
  enum class Kind { Information, Confirmation, Error };
  enum class Answer { Yes, No, Cancel };
  virtual ~MainScreenAsker() = default;
  // Yes and No, and Cancel as well when withCancel.
  virtual Answer Ask(Kind kind, const std::string& text, bool withCancel) = 0;
  // A message with an OK button.
  virtual void Tell(Kind kind, const std::string& text) = 0;
  // Yes and No, for a question whose Yes throws away something of the user's: No is what
  // Enter and Esc answer. True for Yes.
  virtual bool AskBeforeDeleting(Kind kind, const std::string& text) {
    return Ask(kind, text, false) == Answer::Yes;
  }
  // Yes, No and Cancel, for a question whose Yes throws away something of the user's and whose
  // No keeps it: Enter answers No, Esc Cancel.
  virtual Answer AskKeepingByDefault(const std::string& text) {
    return Ask(Kind::Confirmation, text, true);
  }
};

// What the window shows of a creation: its controls follow these and nothing else.
struct MainScreenLook {
  bool goEnabled = true;
  int goTag = 0;                // 0 "&Go!", 1 "&Edit!" once a creation has run
  bool processVisible = false;  // the gauge, "In Process..." and "&Cancel"
  bool resultsVisible = false;  // the four result buttons
  bool closeEnabled = true;     // the "C&lose" button and menu entry
  bool saveEnabled = false;     // "&Save" and "Save &As"; stay enabled after a first success
  int gaugeMax = 0;
  int gaugePosition = 0;
  int pictureCount = 0;
};

// The "Show Banner" entry for the stored "ShowBanner": -1 hides it, 1 ticks it.
struct BannerMenu {
  bool visible;
  bool ticked;
};
BannerMenu BannerMenuFor(int32_t showBanner);
// The window's outer height with and without the banner.
inline constexpr int kBannerWindowHeight = 466;
inline constexpr int kPlainWindowHeight = 355;
inline int WindowHeightFor(bool bannerShown) {
  return bannerShown ? kBannerWindowHeight : kPlainWindowHeight;
}

// Section "Appearance" hides menus by number: key "n" for top-level menu n, "n,k" for its
// entry k (separators and hidden entries counted); entry 0 stands for the menu itself. A value
// hides only when it is positive and equals n + k, so an administrator's file can switch an
// entry off without our numbering being guessable from one key alone.
std::string AppearanceKey(int menu, int entry);
bool AppearanceHides(int32_t value, int menu, int entry);

// One "&Internet" entry from the link-menu list: its caption and the address it opens.
struct LinkEntry {
  std::string caption;
  std::string address;
};
// language is 1-based; 0 or one beyond the list's languages takes the first. Entries the list
// is too short for are left out.
std::vector<LinkEntry> LinkMenuEntries(const std::vector<std::string>& list, int language);

// Whether a file named on the command line is a hand-over list that another program wrote for
// us (and that we delete once read), rather than a picture to import. It is one when it is a
// small text file (no NUL bytes, at most 1 MiB) with at least one non-empty line, and every
// non-empty line is an absolute path: "/...", a drive letter followed by ":\" or ":/", or
// "\\server". No picture format begins that way, so a picture is never taken for one.
bool IsHandOverList(const std::string& path);

// The file the install step puts beside the installed programs.
inline constexpr const char* kInstalledCopyMarker = "installed-copy";

// The working folder: "Waves/" beside the program when that can be written and the program is
// not an installed copy, otherwise "Waves/" in the user's data folder. Both with a trailing
// separator.
std::string ChooseWorkFolder(const std::string& programFolder, const std::string& dataFolder);

// The main window without its widgets: the project lists, the working settings, the one
// builder and the window's state through a creation.
class MainScreenSession {
 public:
  // Reads the working settings from ini; the builder writes into paths' working folder.
  MainScreenSession(const Paths& paths, IniFile& ini, MainScreenAsker& asker);
  ~MainScreenSession();
  MainScreenSession(const MainScreenSession&) = delete;
  MainScreenSession& operator=(const MainScreenSession&) = delete;

  // At start: offers back what a run that did not end normally left in folder, otherwise
  // empties the folder and the project.
  void OpenProject(WorkingFolder& folder);
  // Appends every line of a hand-over list, empty ones too, to the pictures (with an empty
  // message and voice each), then deletes it if it lies in the temporary folder. Throws
  // EHandOverListError when the file cannot be read; a file that could not be opened stays.
  void LoadPictureListFile(const std::string& path);
  // The project lists changed outside (an import): the counter follows.
  void ListsChanged();
  // Takes a built slideshow back to change it, in place of the project: asks first when the
  // project has pictures or an unsaved result. Its pictures, messages and voices become files
  // of folder, the caption names it and a save offers its name first. False when the user
  // cancelled or the file was refused (told in one message): the project is then as it was.
  // The file itself is only read.
  bool OpenSlideshow(const std::string& package, WorkingFolder& folder);
  // The path a save offers first: the opened slideshow's, or empty for the usual name.
  const std::string& SuggestedSaveName() const { return openedFrom_; }

  // The editor was closed with OK.
  void ConfirmProject();
  // Hands the project to the builder. True when the caller is to post the creation; a start
  // while a build runs turns into a cancel request and gives false.
  bool StartCreation();
  // Runs the build and reports its end.
  void CreateSlideshow();
  // "&Cancel": asks, then stops the build at its next step.
  void Cancel();
  // Whether the window may close now. During a build a Yes to the cancel question stops the
  // build and CloseWhenFinished() then says to close once it has ended. An unsaved result is
  // offered a save; a project that no saved slideshow holds is given up only on a Yes.
  bool CloseQuery();
  bool CloseWhenFinished() const { return closeAfterBuild_; }
  // The user closed, keeping an unsaved project: the working folder is left as a crash leaves
  // it, so the next start offers to restore the project.
  bool KeepsProjectOnClose() const { return keepProjectOnClose_; }
  // Whether the pictures, messages or voices changed after the last build started.
  bool ResultOutdated() const;
  // Whether the project holds pictures, messages, voices or an order that neither a saved
  // slideshow nor the opened one holds.
  bool HoldsUnsavedWork() const;
  // The result was saved under path.
  void MarkSaved(const std::string& path);
  // The end of the run: remembers the folder, the creation mode and the banner choice.
  void Shutdown(const BannerMenu& banner);

  const MainScreenLook& Look() const { return look_; }
  TTovakSettings& Settings() { return settings_; }
  TPlimo& Builder() { return builder_; }
  std::vector<std::string>& PictureFiles() { return pictures_; }
  std::vector<std::string>& MessageFiles() { return messages_; }
  std::vector<std::string>& VoiceFiles() { return voices_; }
  // Empty until saved or opened: the window shows "[Untitled Slideshow]" in the current language.
  const std::string& SavedName() const { return savedName_; }
  bool SlideshowSaved() const { return slideshowSaved_; }

  // The look changed.
  std::function<void()> Changed;
  // Lets the user interface handle pending events during a build.
  std::function<void()> ProcessMessages;
  // The "&Save" result action, run when the close question is answered Yes.
  std::function<void()> Save;
  // Runs the long part of an opening, the writing of its files: the window runs it on a thread
  // of its own under a progress dialog, whose Cancel makes progress answer false. Rethrows what
  // the work threw. Without it the work runs here.
  std::function<void(const std::function<void(const OpenProgress&)>& work)> RunOpening;
  // Translation of every text the session shows; placeholders are filled in afterwards.
  std::function<std::string(const std::string&)> Translate = [](const std::string& s) { return s; };

 private:
  void ResetProject(WorkingFolder& folder);
  void SetProcessState(bool busy);
  void Notify();
  std::string Tr(const char* text) const { return Translate(text); }

  IniFile& ini_;
  MainScreenAsker& asker_;
  TPlimo builder_;
  std::vector<std::string> pictures_, messages_, voices_;
  TTovakSettings settings_;
  MainScreenLook look_;
  std::string savedName_;
  std::string openedFrom_;  // the slideshow the project was opened from
  bool slideshowSaved_ = false;
  bool closeAfterBuild_ = false;
  bool keepProjectOnClose_ = false;
  std::vector<std::string> builtFrom_;   // the project's stamp when the last build started
  std::vector<std::string> savedStamp_;  // the stamp of what the last saved or opened show holds
};

}  // namespace tovak
