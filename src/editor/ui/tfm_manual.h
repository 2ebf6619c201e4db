#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/paths.h"
#include "editor/editor_session.h"
#include "editor/ui/desktop_actions.h"
#include "editor/ui/editor_window_asker.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;

namespace tovak {

class FileListModel;
class FileListView;
class PictureView;
class TfmFloatingPreview;

// The single-screen editor: the pictures of the slideshow, the preview and message of the
// selected one, and its voice. A view of EditorSession: every user action goes to the session,
// and after each the window shows the session's State.
class TfmManual : public QDialog {
  Q_OBJECT

 public:
  // The lists belong to the caller and are edited in place. Without an asker the window asks
  // with message boxes and the file dialog.
  TfmManual(std::vector<std::string>& pictureFiles, std::vector<std::string>& messageFiles,
            std::vector<std::string>& voiceFiles, const Paths& paths, WaveInDevice& input,
            WaveOutDevice& output, EditorWindowAsker* asker = nullptr, QWidget* parent = nullptr);
  ~TfmManual() override;

  // Takes the lists as the caller holds them now; done before every showing, and while shown
  // when the owner replaced the project.
  void Load(bool manualModeAsDefault);
  // Adds pictures as the Add button and a drop do, with the progress shown.
  void ImportFiles(const QStringList& paths);

  EditorSession& Session() { return *session_; }
  // Opens a picture in the desktop's program for it, when no picture viewer is beside the
  // program (a double click on the list).
  std::function<bool(const QString&)> OpenPicture = OpenWithDesktop;
  // Opens a slideshow dropped on the list in place of the project (the owner asks first and
  // reloads this window); unset, a dropped slideshow is imported like any file.
  std::function<bool(const QString&)> OpenSlideshow;
  TfmFloatingPreview* FloatingPreview() const { return floating_; }

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Building and texts (tfm_manual_layout.cpp).
  void BuildControls();
  void BuildPopupMenu();
  void Retranslate();

  // Behaviour (tfm_manual.cpp).
  void Connect();
  void Render();
  void RenderList(const EditorState& state);
  void RenderPreview(const EditorState& state);
  void RenderVoicePanel(const EditorState& state);
  void SelectionEdited();
  void FilesDropped(const QStringList& paths);
  void FloatingPreviewToggled(bool checked);
  void ShowFloatingPicture();
  void Add();
  void Go();
  void ClearProject();
  void OpenCurrentPicture();
  void AdjustVolume();
  // Runs a user action on the session, then shows the new state.
  template <typename Action>
  void Run(Action action);

  std::vector<std::string>& pictureFiles_;
  Paths paths_;
  std::unique_ptr<EditorWindowAsker> ownAsker_;
  EditorWindowAsker* asker_;
  std::unique_ptr<EditorSession> session_;
  bool rendering_ = false;
  bool listenAfterStop_ = false;  // Stop was pressed: Listen takes the focus when it can
  std::string shownPicture_;      // the picture the previews were last given

  QTabWidget* tabs_ = nullptr;
  QGroupBox* gbSelectFiles_ = nullptr;
  FileListView* lbFiles_ = nullptr;
  FileListModel* files_ = nullptr;
  QPushButton* sbAdd_ = nullptr;
  QPushButton* sbRemoveFile_ = nullptr;
  QPushButton* sbUp_ = nullptr;
  QPushButton* sbDown_ = nullptr;
  QLabel* lbFileCheck_ = nullptr;
  QLabel* lbEmptyHint_ = nullptr;
  QProgressBar* pbImport_ = nullptr;
  QGroupBox* gbMessage_ = nullptr;
  PictureView* ltPreview_ = nullptr;
  QPlainTextEdit* mmMessage_ = nullptr;
  QCheckBox* cbFloatingPreview_ = nullptr;
  QGroupBox* gbVoicePanel_ = nullptr;
  QLabel* label4_ = nullptr;
  QLabel* lbSizeBefore_ = nullptr;
  QLabel* label7_ = nullptr;
  QLabel* lbSizeAfter_ = nullptr;
  QLabel* lbMicrophone_ = nullptr;
  QComboBox* cbInputDevice_ = nullptr;
  QToolButton* lbAdjustVolume_ = nullptr;
  QLabel* pnRecStatus_ = nullptr;
  QProgressBar* pbInputLevel_ = nullptr;
  QLabel* lbElapsed_ = nullptr;
  QPushButton* sbRecord_ = nullptr;
  QPushButton* sbStop_ = nullptr;
  QPushButton* sbRemoveSound_ = nullptr;
  QPushButton* sbListen_ = nullptr;
  QPushButton* btClear_ = nullptr;
  QPushButton* btComplete_ = nullptr;
  QPushButton* btCancel_ = nullptr;
  QCheckBox* cbSetManualModeAsDefault_ = nullptr;
  QTimer* timer_ = nullptr;
  QTimer* meterTimer_ = nullptr;
  QMenu* popup_ = nullptr;
  QAction* acInsertShort_ = nullptr;
  QAction* acInsertLong_ = nullptr;
  QAction* acRecord_ = nullptr;
  QAction* acListen_ = nullptr;
  QAction* acErase_ = nullptr;
  QAction* acAdd_ = nullptr;
  QAction* acRemove_ = nullptr;
  QAction* acUp_ = nullptr;
  QAction* acDown_ = nullptr;
  TfmFloatingPreview* floating_ = nullptr;
};

}  // namespace tovak
