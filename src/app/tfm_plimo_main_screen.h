#pragma once

#include <QEvent>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "app/main_screen_session.h"
#include "app/result_actions.h"
#include "common/ini_file.h"
#include "common/paths.h"
#include "i18n/language_dictionary.h"

class QAction;
class QDialog;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;

namespace tovak {

class EditorWindowAsker;
class ProgressRunner;
class TfmManual;
class TfmSlideshowProps;
class WaveInDevice;
class WaveOutDevice;
class WorkingFolder;

// The main window's questions, plus the modal dialogs it runs, so tests can answer both.
class MainScreenWindowAsker : public MainScreenAsker {
 public:
  // Shows a dialog modally and gives its result code.
  virtual int Exec(QDialog& dialog) = 0;
  // The save dialog: false when cancelled; otherwise name holds the chosen path and
  // filterIndex the chosen filter (SaveDialogData's order).
  virtual bool AskSaveName(std::string& name, int& filterIndex) = 0;
  // The file dialog for a slideshow to open: its path, or empty when cancelled.
  virtual std::string AskSlideshowToOpen() { return {}; }
  // A message box with a title of its own.
  virtual void TellTitled(const std::string& /*title*/, const std::string& text) {
    Tell(Kind::Information, text);
  }
};

// Message boxes over the main window, and QDialog::exec.
class MainScreenDialogAsker : public MainScreenWindowAsker {
 public:
  explicit MainScreenDialogAsker(QWidget* parent) : parent_(parent) {}
  Answer Ask(Kind kind, const std::string& text, bool withCancel) override;
  void Tell(Kind kind, const std::string& text) override;
  bool AskBeforeDeleting(Kind kind, const std::string& text) override;
  Answer AskKeepingByDefault(const std::string& text) override;
  int Exec(QDialog& dialog) override;
  // name, when given, is the name and folder offered first.
  bool AskSaveName(std::string& name, int& filterIndex) override;
  std::string AskSlideshowToOpen() override;
  void TellTitled(const std::string& title, const std::string& text) override;

 private:
  QWidget* parent_;
};

// The program's main window: the picture counter, "&Go!" into the editor and the creation, the
// progress of a build and the result buttons. A view of MainScreenSession.
class TfmPlimoMainScreen : public QMainWindow {
  Q_OBJECT

 public:
  // Posted to itself so that the click and the dialogs have returned before a build starts.
  static constexpr QEvent::Type WM_CREATESLIDESHOW = static_cast<QEvent::Type>(QEvent::User + 1);
  // What the old window counted above its client area (caption and menu bar) in its heights.
  static constexpr int kFrameAllowance = 46;
  static constexpr int kClientWidth = 552;

  // folder must be claimed; the window empties and releases it when destroyed. Without askers
  // the windows ask with message boxes.
  TfmPlimoMainScreen(const Paths& paths, WorkingFolder& folder, WaveInDevice& input,
                     WaveOutDevice& output, MainScreenWindowAsker* asker = nullptr,
                     EditorWindowAsker* editorAsker = nullptr, ResultDesktop* desktop = nullptr,
                     QWidget* parent = nullptr);
  // The end of the run: the settings are written and the working folder is emptied.
  ~TfmPlimoMainScreen() override;

  // The command line: a hand-over list as the first argument is read (and deleted when it lies in
  // the temporary folder), any other existing files are imported as pictures. False when the
  // program is to end (an unreadable list).
  bool OpenArguments(const QStringList& arguments);
  // Opens a slideshow to change it (see MainScreenSession::OpenSlideshow); the editor follows.
  bool OpenSlideshowFile(const QString& path);
  // Files dropped or named: the first slideshow among them is opened, the others are imported
  // as pictures.
  void OpenFiles(const QStringList& files);

  MainScreenSession& Session() { return *session_; }
  ResultActions& Results() { return *results_; }
  TfmManual& Editor() { return *editor_; }
  TfmSlideshowProps& SlideshowProps() { return *props_; }
  LanguageDictionary& Dictionary() { return dictionary_; }

 public slots:
  // "&Go!" / "&Edit!": the editor, the creation mode, then the creation.
  void btGoClick();
  void StartCreation();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Building and texts (tfm_plimo_main_screen_layout.cpp).
  void BuildControls();
  void BuildMenus();
  void Retranslate();
  void ApplyAppearance();
  void BuildLinkMenu();
  void FillLinkMenu(const std::vector<std::string>& list);
  void LoadBanner();
  void ApplyBanner(bool shown);
  // Grows the controls, the panel and the window where the texts need more than the usual
  // places (large fonts, longer languages); at the usual size everything stays where it was.
  void FitToText();

  // Behaviour (tfm_plimo_main_screen.cpp).
  void Connect();
  void Render();
  void SettingsMnuClick();
  void OpenSlideshowMnuClick();
  void ResultButtonClick();
  // Runs one result action at a time, with the others and "&Go!" unavailable meanwhile; a lack
  // of memory ends the action with a message instead of the program. The keyboard then goes
  // back to pressed, or without it to where it was before.
  void RunResultAction(const std::function<void()>& action, QWidget* pressed = nullptr);
  void AboutClick();
  // At every activation: the stored language made current and the window translated.
  void FormActivate();
  void LanguageSelectionMnuClick();

  Paths paths_;
  WorkingFolder& folder_;
  IniFile ini_;
  LanguageDictionary dictionary_;
  std::unique_ptr<MainScreenWindowAsker> ownAsker_;
  MainScreenWindowAsker* asker_;
  std::unique_ptr<MainScreenSession> session_;
  std::unique_ptr<ResultDesktop> ownDesktop_;
  std::unique_ptr<ProgressRunner> progress_;
  std::unique_ptr<ResultState> resultState_;
  std::unique_ptr<ResultAsker> resultAsker_;
  std::unique_ptr<ResultActions> results_;
  BannerMenu banner_{true, true};
  std::string microphone_;  // as read at start
  int resultActionsRunning_ = 0;
  bool internetHidden_ = false;  // the settings' appearance hides the "&Internet" menu
  bool closeAfterWork_ = false;  // the window was closed while a result action's work ran

  TfmManual* editor_ = nullptr;
  TfmSlideshowProps* props_ = nullptr;

  QLabel* lbWelcome_ = nullptr;
  QLabel* lbPictureCount_ = nullptr;
  QLabel* lbPictureCountText_ = nullptr;
  QGroupBox* gbPanel_ = nullptr;
  QPushButton* btGo_ = nullptr;
  QProgressBar* Gauge_ = nullptr;
  QLabel* lbCreationMsg_ = nullptr;
  QPushButton* btCancel_ = nullptr;
  QPushButton* btPreview_ = nullptr;
  QPushButton* btSend_ = nullptr;
  QPushButton* btOpenFolder_ = nullptr;
  QPushButton* btSave_ = nullptr;
  QPushButton* btClose_ = nullptr;
  QLabel* imgBanner_ = nullptr;

  QMenu* FileMnu_ = nullptr;
  QMenu* InternetMnu_ = nullptr;
  QMenu* AboutMnu_ = nullptr;
  QAction* OpenSlideshowMnu_ = nullptr;
  QAction* openSeparator_ = nullptr;
  QAction* SaveMnu_ = nullptr;
  QAction* SaveAsMnu_ = nullptr;
  QAction* SingleScreenMnu_ = nullptr;
  QAction* MultiScreenMnu_ = nullptr;
  QAction* LanguageSelectionMnu_ = nullptr;
  QAction* ShowBannerMnu_ = nullptr;
  QAction* SettingsMnu_ = nullptr;
  QAction* CloseMnu_ = nullptr;
  QAction* AboutProgramMnu_ = nullptr;
};

}  // namespace tovak
