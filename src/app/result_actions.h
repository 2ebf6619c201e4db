#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/exception.h"
#include "video/video_export.h"

namespace tovak {

class Paths;

// A result that could not be saved; the message names the file.
class EResultError : public Exception {
 public:
  using Exception::Exception;
};

// The questions and messages of the result actions. Texts arrive translated and filled in; a
// "\r" in them starts a new line.
class ResultAsker {
 public:
  enum class Kind { Information, Warning, Error };
  virtual ~ResultAsker() = default;
  // Yes and No; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // Yes and No for a question whose Yes destroys a file of the user's: No is what Enter and Esc
  // answer. True for Yes.
  virtual bool AskBeforeDeleting(const std::string& text) { return AskYesNo(text); }
  // A message with an OK button.
  virtual void Tell(Kind kind, const std::string& text) = 0;
  // A passing word in the window's status line, for what went as asked.
  virtual void Report(const std::string&) {}
  // The save dialog (see SaveDialogData). False when cancelled; otherwise name holds the chosen
  // path and filterIndex the chosen filter (0 ".exe", 1 ".zip", 2 ".html", 3 ".mp4").
  virtual bool AskSaveName(std::string& name, int& filterIndex) = 0;

  // What a long piece of work tells about itself: a line for the user and the share done in
  // percent. It answers false once the user asked to stop.
  using Progress = std::function<bool(const std::string& text, int percent)>;
  using Work = std::function<void(const Progress& progress)>;
  // Runs work, which may take minutes, on a thread of its own while a progress window titled
  // title shows what it reports and offers to stop it; the window stays responsive meanwhile.
  // Returns once work has ended, rethrowing here whatever it threw there.
  virtual void RunWithProgress(const std::string& title, const Work& work) = 0;
};

// Everything that leaves the program: other programs, the desktop, the file manager.
class ResultDesktop {
 public:
  virtual ~ResultDesktop() = default;
  // Starts program and lets it run on its own.
  virtual bool StartDetached(const std::string& program, const std::vector<std::string>& args) = 0;
  // Opens a file or folder in the program the desktop associates with it. False when the
  // desktop has no program for it or the one it has could not be started.
  virtual bool OpenWithDesktop(const std::string& path) = 0;
  // Shows the folder of path in the file manager with path selected. False when nothing
  // showed it.
  virtual bool ShowInFileManager(const std::string& path) = 0;
  // Runs program and waits for it while the window keeps handling events. Its exit status, or
  // nothing when it could not be started or did not end normally; the wait also ends, without
  // a status, when the application is quitting.
  virtual std::optional<int> RunAndWait(const std::string& program,
                                        const std::vector<std::string>& args) = 0;
  // Hands path to the user's mail program as an attachment and waits for the hand-over. False
  // when no mail program took it.
  virtual bool SendMail(const std::string& path) = 0;
  // The busy cursor, on and off.
  virtual void SetBusy(bool) {}
};

// The part of the main window's state the result actions read and change.
class ResultState {
 public:
  virtual ~ResultState() = default;
  // The package the last build wrote (in the working folder).
  virtual std::string OutputFile() const = 0;
  // The file the result was last saved as; before that, the package.
  virtual std::string SlideshowPath() const = 0;
  virtual bool SlideshowSaved() const = 0;
  // The result now lives at path as well: it becomes SlideshowPath, the result counts as saved,
  // and the caption shows SlideshowTitle(path).
  virtual void MarkSaved(const std::string& path) = 0;
  // Whether a build is writing the package now.
  virtual bool Building() const { return false; }
  // Whether the pictures, messages or voices changed after the last build, so that the result
  // no longer shows what the user sees in the project.
  virtual bool Outdated() const { return false; }
};

// What the window's save dialog shows. Filters are in the order of AskSaveName's filterIndex.
// The dialog must not ask about overwriting itself: the name may still change its extension,
// and the actions ask about the file that will really be written.
struct SaveDialogData {
  static constexpr const char* kTitle = "Save Talking Slideshow";
  static constexpr const char* kDefaultName = "My Talking Slideshow.exe";
  static constexpr const char* kDefaultSuffix = "exe";
  static constexpr int kExeFilter = 0;
  static constexpr int kZipFilter = 1;
  static constexpr int kHtmlFilter = 2;
  static constexpr int kVideoFilter = 3;
  // Translate the filters' captions; the patterns are added after the captions.
  static std::vector<std::string> Filters() {
    return {"Talking Slideshows (*.exe)", "Zipped Slideshows (*.zip)", "Web Slideshows (*.html)",
            "Videos (*.mp4)"};
  }
  // The extension a name typed without one gets under each filter.
  static const char* SuffixOf(int filterIndex) {
    switch (filterIndex) {
      case kZipFilter:
        return "zip";
      case kHtmlFilter:
        return "html";
      case kVideoFilter:
        return "mp4";
      default:
        return "exe";
    }
  }
};

// "[Trip.zip]" for a slideshow saved as ".../Trip.zip".
std::string SlideshowTitle(const std::string& path);

// The four result buttons and the two save entries of the "&File" menu, without widgets.
class ResultActions {
 public:
  ResultActions(const Paths& paths, ResultState& state, ResultAsker& asker, ResultDesktop& desktop);

  // Result button tags.
  enum Tag { kPreview = 1, kSend = 2, kOpenFolder = 3, kSave = 4 };
  // Runs the action of the button with tag; other tags do nothing.
  void Button(int tag);

  // The file a result button acts on: the package while it exists and is unsaved, otherwise
  // the saved file.
  std::string ActionPath() const;
  // Runs a package (it is a program); opens anything else, such as an archive, with the
  // desktop's program for it. Like Send and OpenFolder, it refuses while a build runs and when
  // the package is not a whole slideshow.
  void Preview();
  // Hands the file to a mail program, after advising against mailing programs.
  void Send();
  // Shows the file in its folder.
  void OpenFolder();
  // The "&Save" button: asks for a name while the result is unsaved.
  void SaveButton();
  // "&File" → "&Save": writes straight to the chosen name once there is one.
  void SaveMenu();
  // "&File" → "Save &As".
  void SaveAs();
  // Saves the package under a name asked for (askName) or the current one, asking before an
  // existing file is replaced (askOverwrite). True when it was saved. Nothing is saved while a
  // build runs, from a package that is not a whole slideshow, into the working folder, over
  // anything but a regular file, or over the package itself. An outdated result is saved only
  // when the user wants it all the same.
  bool SaveSlideshow(bool askName, bool askOverwrite);

  // Translation of every text shown; placeholders are filled in afterwards.
  std::function<std::string(const std::string&)> Translate = [](const std::string& s) { return s; };
  // The language (1-based) whose link captions a web slideshow carries.
  std::function<int()> LinkLanguage = [] { return 1; };
  // Makes a video of a package; called on a thread of its own, through RunWithProgress.
  std::function<VideoExportReport(const std::string& package, const std::string& out,
                                  const VideoExportOptions& options)>
      ExportVideo = ExportVideoSlideshow;
  // The frame size of a saved video: sharp on a television, small enough for a message.
  static constexpr int kVideoWidth = 1280;
  static constexpr int kVideoHeight = 720;

 private:
  std::string Tr(const char* text) const { return Translate(text); }
  bool Save(bool askName, bool askOverwrite, bool askIfOutdated);
  // Whether path may be handed on: not while a build runs, and the package only when it is a
  // whole slideshow. Tells the user why not.
  bool Usable(const std::string& path);
  // False when the result is outdated and the user would rather build it again.
  bool UseEvenIfOutdated();
  // Mail could not be sent: an unsaved result is offered a save first, since the package in
  // the working folder is gone at exit; then the folder of what can be attached is shown.
  void SendByHand(const std::string& path);
  // Why the package cannot be saved or handed on, or empty when it can.
  std::string PackageProblem() const;
  // Why nothing may be written at target, or empty when it may.
  std::string TargetProblem(const std::string& target) const;
  // Writes the package to target by its extension and gives what could not be taken along;
  // throws EResultError, EZipArchiveError or, when the user stopped it, EVideoExportCancelled.
  std::vector<std::string> WriteResult(const std::string& target, bool replaceWhole);
  std::vector<std::string> WriteVideo(const std::string& target);
  void ZipWithArchiver(const std::string& archiver, const std::string& target, bool replaceWhole);

  const Paths& paths_;
  ResultState& state_;
  ResultAsker& asker_;
  ResultDesktop& desktop_;
};

// Copies source to target through a temporary file beside target, with source's permissions
// (and the execute bits wherever it can be read), so that target is either the whole copy or
// what it was before. Throws EResultError.
void CopyProgramFile(const std::string& source, const std::string& target);

}  // namespace tovak
