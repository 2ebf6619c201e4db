#include "app/tfm_plimo_main_screen.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include "app/desktop_services.h"
#include "app/progress_runner.h"
#include "app/tfm_settings.h"
#include "common/files.h"
#include "common/placeholders.h"
#include "editor/slideshow_opener.h"
#include "editor/ui/tfm_manual.h"
#include "editor/working_folder.h"
#include "i18n/language_id_setting.h"
#include "i18n/select_language.h"

namespace tovak {

namespace {

constexpr const char* kTovakSection = "Tovak! Settings";

// The result actions' view of the main window's state.
class SessionResultState : public ResultState {
 public:
  explicit SessionResultState(MainScreenSession& session) : session_(session) {}
  std::string OutputFile() const override { return session_.Builder().OutputFile; }
  std::string SlideshowPath() const override { return session_.Settings().SlideshowPath; }
  bool SlideshowSaved() const override { return session_.SlideshowSaved(); }
  void MarkSaved(const std::string& path) override { session_.MarkSaved(path); }
  bool Building() const override { return session_.Builder().Busy; }
  bool Outdated() const override { return session_.ResultOutdated(); }

 private:
  MainScreenSession& session_;
};

// The result actions ask through the window's asker.
class WindowResultAsker : public ResultAsker {
 public:
  WindowResultAsker(MainScreenWindowAsker& asker, ProgressRunner& progress,
                    const MainScreenSession& session, QStatusBar& status)
      : asker_(asker), progress_(progress), session_(session), status_(status) {}
  bool AskYesNo(const std::string& text) override {
    return asker_.Ask(MainScreenAsker::Kind::Information, text, false) ==
           MainScreenAsker::Answer::Yes;
  }
  bool AskBeforeDeleting(const std::string& text) override {
    return asker_.AskBeforeDeleting(MainScreenAsker::Kind::Confirmation, text);
  }
  void Tell(Kind kind, const std::string& text) override {
    asker_.Tell(
        kind == Kind::Error ? MainScreenAsker::Kind::Error : MainScreenAsker::Kind::Information,
        text);
  }
  bool AskSaveName(std::string& name, int& filterIndex) override {
    if (name.empty()) name = session_.SuggestedSaveName();
    return asker_.AskSaveName(name, filterIndex);
  }
  void RunWithProgress(const std::string& title, const Work& work) override {
    progress_.Run(QString::fromStdString(title), work);
  }
  void Report(const std::string& text) override {
    status_.showMessage(QString::fromStdString(text), kReportMs);
  }

 private:
  // Long enough to be read after looking back from the file manager.
  static constexpr int kReportMs = 15000;
  MainScreenWindowAsker& asker_;
  ProgressRunner& progress_;
  const MainScreenSession& session_;
  QStatusBar& status_;
};

}  // namespace

TfmPlimoMainScreen::TfmPlimoMainScreen(const Paths& paths, WorkingFolder& folder,
                                       WaveInDevice& input, WaveOutDevice& output,
                                       MainScreenWindowAsker* asker, EditorWindowAsker* editorAsker,
                                       ResultDesktop* desktop, QWidget* parent)
    : QMainWindow(parent), paths_(paths), folder_(folder), ini_(paths.SettingsFile()) {
  setObjectName("TfmPlimoMainScreen");
  // A slideshow dropped here opens; pictures go into the project.
  setAcceptDrops(true);
  // On a fresh machine the settings folder does not exist yet, and nothing would be remembered.
  std::error_code ignored;
  std::filesystem::create_directories(paths_.SettingsFolder(), ignored);
  if (!asker) ownAsker_ = std::make_unique<MainScreenDialogAsker>(this);
  asker_ = asker ? asker : ownAsker_.get();
  session_ = std::make_unique<MainScreenSession>(paths_, ini_, *asker_);
  session_->Translate = [](const std::string& text) {
    return QCoreApplication::translate("tovak::MainScreenSession", text.c_str()).toStdString();
  };
  session_->ProcessMessages = [] { QCoreApplication::processEvents(); };
  // The restore question comes before the window is shown: in the chosen language too.
  dictionary_.SetFileName(paths_.ProgramFolder() + kDictionaryFileName);
  dictionary_.SetLanguage(LanguageIdSetting(paths_, -1));
  session_->OpenProject(folder_);
  if (!desktop) ownDesktop_ = std::make_unique<DesktopServices>();
  resultState_ = std::make_unique<SessionResultState>(*session_);
  progress_ = std::make_unique<ProgressRunner>(this);
  statusBar()->setObjectName("StatusBar");
  resultAsker_ = std::make_unique<WindowResultAsker>(*asker_, *progress_, *session_, *statusBar());
  results_ = std::make_unique<ResultActions>(paths_, *resultState_, *resultAsker_,
                                             desktop ? *desktop : *ownDesktop_);
  results_->Translate = [](const std::string& text) {
    return QCoreApplication::translate("tovak::ResultActions", text.c_str()).toStdString();
  };
  results_->LinkLanguage = [this] { return std::max(1, dictionary_.LanguageIndex()); };
  session_->Save = [this] { RunResultAction([this] { results_->SaveButton(); }); };

  editor_ = new TfmManual(session_->PictureFiles(), session_->MessageFiles(),
                          session_->VoiceFiles(), paths_, input, output, editorAsker, this);
  editor_->Session().KeepJournalIn(folder_);
  // The microphone the user chose last time, by name; empty is the system's default.
  microphone_ = ini_.ReadString(kTovakSection, "Microphone", "");
  editor_->Session().SetInputDevice(microphone_);
  props_ = new TfmSlideshowProps(this);

  BuildControls();
  BuildMenus();
  ApplyAppearance();
  Retranslate();
  FormActivate();
  BuildLinkMenu();
  LoadBanner();
  Connect();
  session_->Changed = [this] { Render(); };
  Render();
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

TfmPlimoMainScreen::~TfmPlimoMainScreen() {
  session_->Changed = nullptr;
  session_->Shutdown(banner_.visible ? BannerMenu{true, ShowBannerMnu_->isChecked()}
                                     : BannerMenu{false, false});
  if (editor_->Session().InputDevice() != microphone_) {
    ini_.WriteString(kTovakSection, "Microphone", editor_->Session().InputDevice());
  }
  // The editor goes first, so nothing writes into the folder once it is emptied.
  delete editor_;
  editor_ = nullptr;
  // A project kept for the next start stays in the folder with its journal; letting go of the
  // lock without emptying is what a crash does, and the next start offers to restore it.
  if (!session_->KeepsProjectOnClose()) folder_.Release();
}

void TfmPlimoMainScreen::Connect() {
  connect(btGo_, &QPushButton::clicked, this, &TfmPlimoMainScreen::btGoClick);
  connect(btCancel_, &QPushButton::clicked, this, [this] { session_->Cancel(); });
  for (QPushButton* button : {btPreview_, btSend_, btOpenFolder_, btSave_}) {
    connect(button, &QPushButton::clicked, this, &TfmPlimoMainScreen::ResultButtonClick);
  }
  connect(btClose_, &QPushButton::clicked, this, &QWidget::close);
  connect(CloseMnu_, &QAction::triggered, this, &QWidget::close);
  connect(SettingsMnu_, &QAction::triggered, this, &TfmPlimoMainScreen::SettingsMnuClick);
  connect(OpenSlideshowMnu_, &QAction::triggered, this, &TfmPlimoMainScreen::OpenSlideshowMnuClick);
  editor_->OpenSlideshow = [this](const QString& path) { return OpenSlideshowFile(path); };
  session_->RunOpening = [this](const std::function<void(const OpenProgress&)>& work) {
    const QString title =
        QCoreApplication::translate("tovak::TfmPlimoMainScreen", "Open Slideshow");
    const std::string line =
        QCoreApplication::translate("tovak::ResultActions", "Picture %s of %s").toStdString();
    // Over the editor when the slideshow was dropped there, so that nothing changes meanwhile.
    progress_->Run(
        title,
        [&](const ResultAsker::Progress& progress) {
          work([&](int done, int total) {
            return progress(FillPlaceholders(line, {std::to_string(done), std::to_string(total)}),
                            static_cast<int>(int64_t{100} * done / std::max(1, total)));
          });
        },
        QApplication::activeModalWidget());
  };
  connect(ShowBannerMnu_, &QAction::toggled, this, &TfmPlimoMainScreen::ApplyBanner);
  connect(AboutProgramMnu_, &QAction::triggered, this, &TfmPlimoMainScreen::AboutClick);
  connect(LanguageSelectionMnu_, &QAction::triggered, this,
          &TfmPlimoMainScreen::LanguageSelectionMnuClick);
  connect(SaveMnu_, &QAction::triggered, this,
          [this] { RunResultAction([this] { results_->SaveMenu(); }); });
  connect(SaveAsMnu_, &QAction::triggered, this,
          [this] { RunResultAction([this] { results_->SaveAs(); }); });
  // "C&lose" is the window's cancel button.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, btClose_, [this] {
    if (btClose_->isEnabled()) close();
  });
}

void TfmPlimoMainScreen::Render() {
  const MainScreenLook& look = session_->Look();
  // Nothing may take the package while a build writes it, and no build may start while an
  // action waits on it (for the archiver or the mail program).
  const bool resultBusy = look.processVisible || resultActionsRunning_ > 0;
  btGo_->setEnabled(look.goEnabled && resultActionsRunning_ == 0);
  btGo_->setProperty("tag", look.goTag);
  btGo_->setText(look.goTag == 1 ? tr("&Edit!") : tr("&Go!"));
  Gauge_->setVisible(look.processVisible);
  lbCreationMsg_->setVisible(look.processVisible);
  btCancel_->setVisible(look.processVisible);
  for (QPushButton* button : {btPreview_, btSend_, btOpenFolder_, btSave_}) {
    button->setVisible(look.resultsVisible);
    button->setEnabled(!resultBusy);
  }
  btClose_->setEnabled(look.closeEnabled);
  CloseMnu_->setEnabled(look.closeEnabled);
  SaveMnu_->setEnabled(look.saveEnabled && !resultBusy);
  SaveAsMnu_->setEnabled(look.saveEnabled && !resultBusy);
  OpenSlideshowMnu_->setEnabled(!resultBusy);
  // An empty range would turn the bar into a busy indicator.
  Gauge_->setRange(0, std::max(1, look.gaugeMax));
  Gauge_->setValue(look.gaugePosition);
  // The bar shows no text; a screen reader hears how far the build is.
  Gauge_->setAccessibleDescription(
      tr("%1 % done").arg(100 * Gauge_->value() / std::max(1, Gauge_->maximum())));
  lbPictureCount_->setText(QString::number(look.pictureCount));
  // Read as one phrase ("3 Images in talking slideshow"), not as a bare number.
  lbPictureCount_->setAccessibleName(lbPictureCount_->text() + " " + lbPictureCountText_->text());
  const std::string& saved = session_->SavedName();
  const QString title =
      saved.empty() ? tr("[Untitled Slideshow]") : "[" + QString::fromStdString(saved) + "]";
  setWindowTitle(tr("Quillora Tovak!") + " " + title + " ");
}

bool TfmPlimoMainScreen::OpenArguments(const QStringList& arguments) {
  QStringList files = arguments;
  if (!arguments.isEmpty()) {
    const std::string first = arguments.first().toStdString();
    if (FileExists(first) && IsHandOverList(first)) {
      files.removeFirst();
      try {
        session_->LoadPictureListFile(first);
      } catch (const EHandOverListError& e) {
        asker_->Tell(MainScreenAsker::Kind::Error, e.Message());
        return false;
      }
    }
  }
  QStringList existing;
  for (const QString& file : files) {
    if (FileExists(file.toStdString())) existing << file;
  }
  OpenFiles(existing);
  return true;
}

void TfmPlimoMainScreen::OpenFiles(const QStringList& files) {
  QStringList pictures;
  QString slideshow;
  for (const QString& file : files) {
    if (slideshow.isEmpty() && IsSlideshowToOpen(file.toStdString())) {
      slideshow = file;
    } else {
      pictures << file;
    }
  }
  // The pictures join the slideshow that was opened.
  if (!slideshow.isEmpty()) OpenSlideshowFile(slideshow);
  if (!pictures.isEmpty()) {
    editor_->Load(false);
    editor_->ImportFiles(pictures);
    session_->ListsChanged();
  }
}

void TfmPlimoMainScreen::OpenSlideshowMnuClick() {
  const std::string path = asker_->AskSlideshowToOpen();
  if (!path.empty()) OpenSlideshowFile(QString::fromStdString(path));
}

bool TfmPlimoMainScreen::OpenSlideshowFile(const QString& path) {
  if (resultActionsRunning_ > 0 || progress_->Running()) return false;
  const bool opened = session_->OpenSlideshow(path.toStdString(), folder_);
  if (closeAfterWork_) {
    // A close during the opening stopped it; now the close goes through the usual questions.
    closeAfterWork_ = false;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
  if (!opened) return false;
  editor_->Load(false);
  return true;
}

void TfmPlimoMainScreen::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  const bool files =
      std::any_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); });
  if (files && btGo_->isEnabled()) event->acceptProposedAction();
}

void TfmPlimoMainScreen::dropEvent(QDropEvent* event) {
  QStringList files;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) files << url.toLocalFile();
  if (files.isEmpty() || !btGo_->isEnabled()) return event->ignore();
  event->acceptProposedAction();
  // The file manager waits for the drop to finish: the questions come after.
  QTimer::singleShot(0, this, [this, files] { OpenFiles(files); });
}

void TfmPlimoMainScreen::btGoClick() {
  editor_->Load(false);
  if (asker_->Exec(*editor_) != QDialog::Accepted) {
    // The editor changed the shared lists in place; the counter shows what they hold now.
    session_->ListsChanged();
    return;
  }
  repaint();
  session_->ConfirmProject();
  TTovakSettings& settings = session_->Settings();
  props_->Preselect(settings.CreationMode);
  int result = asker_->Exec(*props_);
  while (result == QDialog::Accepted && props_->CustomizeRequest() > 0) {
    SettingsMnu_->setData(props_->CustomizeRequest());
    SettingsMnuClick();
    result = asker_->Exec(*props_);
  }
  if (result != QDialog::Accepted) return;
  settings.CreationMode = props_->SelectedMode() == cmFull ? cmFull : cmCompact;
  StartCreation();
}

void TfmPlimoMainScreen::StartCreation() {
  if (session_->StartCreation()) {
    QCoreApplication::postEvent(this, new QEvent(WM_CREATESLIDESHOW));
  }
}

bool TfmPlimoMainScreen::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  if (event->type() != WM_CREATESLIDESHOW) return QMainWindow::event(event);
  session_->CreateSlideshow();
  if (session_->CloseWhenFinished()) {
    close();
  } else if (btPreview_->isVisible()) {
    // The next step is to look at the result, not to close the window.
    btPreview_->setFocus(Qt::OtherFocusReason);
  }
  return true;
}

void TfmPlimoMainScreen::closeEvent(QCloseEvent* event) {
  if (progress_->Running()) {
    // The work may be writing the user's file: it stops and cleans up before the window goes.
    progress_->Cancel();
    closeAfterWork_ = true;
    event->ignore();
    return;
  }
  if (session_->CloseQuery()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TfmPlimoMainScreen::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) {
    Retranslate();
    Render();
    BuildLinkMenu();
  }
}

void TfmPlimoMainScreen::SettingsMnuClick() {
  // A request from the creation-mode dialog shows only that mode's settings, once.
  const int restriction = SettingsMnu_->data().toInt();
  SettingsMnu_->setData(0);
  std::string error;
  RunSettingsDialog(
      session_->Settings(), restriction, ini_, this,
      [this](TfmSettings& dialog) { return asker_->Exec(dialog); }, &error);
  if (!error.empty()) {
    asker_->Tell(MainScreenAsker::Kind::Error,
                 FillPlaceholders(tr("The settings could not be stored (%s). They hold until "
                                     "the program ends.")
                                      .toStdString(),
                                  error));
  }
}

void TfmPlimoMainScreen::ResultButtonClick() {
  // The four result buttons share this handler and are told apart by their tag.
  if (auto* button = qobject_cast<QPushButton*>(sender())) {
    const int tag = button->property("tag").toInt();
    RunResultAction([this, tag] { results_->Button(tag); }, button);
  }
}

void TfmPlimoMainScreen::RunResultAction(const std::function<void()>& action, QWidget* pressed) {
  if (resultActionsRunning_ > 0) return;
  // The result buttons are off while the action runs, which moves the keyboard on to "C&lose";
  // left there, the next Enter would offer to exit instead of repeating the action.
  const QPointer<QWidget> back = pressed ? pressed : focusWidget();
  ++resultActionsRunning_;
  Render();
  try {
    action();
  } catch (const std::bad_alloc&) {
    asker_->Tell(MainScreenAsker::Kind::Error,
                 tr("There is not enough memory to finish this. Please close other programs and "
                    "try again.")
                     .toStdString());
  } catch (const Exception& e) {
    asker_->Tell(MainScreenAsker::Kind::Error, e.Message());
  }
  --resultActionsRunning_;
  Render();
  if (back && back->isVisible() && back->isEnabled()) back->setFocus(Qt::OtherFocusReason);
  if (closeAfterWork_ && resultActionsRunning_ == 0) {
    closeAfterWork_ = false;
    // Once the action has returned all the way, the close goes through the usual questions.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
}

void TfmPlimoMainScreen::AboutClick() {
  // Where the files are is what a user asked for help needs first.
  const QString text =
      tr("Quillora Tovak! %s\r\rTurns pictures into a talking slideshow.\r"
         "Licence: proprietary.\r\rProgram folder: %s\rWorking folder: "
         "%s\rSettings file: %s");
  asker_->TellTitled(
      tr("About Quillora Tovak!").toStdString(),
      FillPlaceholders(text.toStdString(), {TOVAK_VERSION, paths_.ProgramFolder(),
                                            paths_.WorkFolder(), paths_.SettingsFile()}));
}

void TfmPlimoMainScreen::FormActivate() {
  const int id = LanguageIdSetting(paths_, -1);
  dictionary_.SetFileName(paths_.ProgramFolder() + kDictionaryFileName);
  dictionary_.SetLanguage(id);
  Retranslate();
  // Render sets the "&Go!"/"&Edit!" caption again from the button's tag.
  Render();
  // Once off, the entry stays off for the run: a dictionary that appears later is not trusted.
  if (!FileExists(dictionary_.FileName()) || !dictionary_.IsOpen()) {
    LanguageSelectionMnu_->setEnabled(false);
  }
}

void TfmPlimoMainScreen::LanguageSelectionMnuClick() {
  if (!dictionary_.IsOpen()) dictionary_.Open();
  int chosen = dictionary_.Language();
  const auto exec = [this](QDialog& dialog) { return asker_->Exec(dialog); };
  if (!SelectLanguage(this, dictionary_, QString(), chosen, exec) ||
      chosen == dictionary_.Language()) {
    return;
  }
  std::string error;
  const bool stored = StoreLanguageId(paths_, chosen, &error);
  dictionary_.Open();
  Retranslate();
  FormActivate();
  BuildLinkMenu();
  if (!stored) {
    asker_->Tell(MainScreenAsker::Kind::Error,
                 FillPlaceholders(tr("Your choice of language could not be stored (%s). It holds "
                                     "until the program ends.")
                                      .toStdString(),
                                  error));
  }
}

}  // namespace tovak
