#include "editor/ui/tfm_manual.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "common/exception.h"
#include "editor/slideshow_opener.h"
#include "editor/ui/desktop_actions.h"
#include "editor/ui/file_list.h"
#include "editor/ui/picture_view.h"
#include "editor/ui/preview_loader.h"
#include "editor/ui/tfm_floating_preview.h"

namespace tovak {

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// Every new name is announced, and the meter renders ten times a second: a screen reader
// hears a name only when its words change.
void Rename(QWidget* widget, const QString& name) {
  if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

// Room enough for the floating window's usual sizes without decoding a whole photo.
QSize FloatingBounds(const QWidget* view) {
  return view->size().expandedTo(QSize(800, 600)) * view->devicePixelRatioF();
}

}  // namespace

TfmManual::TfmManual(std::vector<std::string>& pictureFiles, std::vector<std::string>& messageFiles,
                     std::vector<std::string>& voiceFiles, const Paths& paths, WaveInDevice& input,
                     WaveOutDevice& output, EditorWindowAsker* asker, QWidget* parent)
    : QDialog(parent), pictureFiles_(pictureFiles), paths_(paths) {
  if (!asker) ownAsker_ = std::make_unique<DialogAsker>(this);
  asker_ = asker ? asker : ownAsker_.get();
  session_ = std::make_unique<EditorSession>(pictureFiles, messageFiles, voiceFiles,
                                             paths.WorkFolder(), input, output, *asker_);
  session_->Translate = [](const std::string& text) {
    return QCoreApplication::translate("tovak::EditorSession", text.c_str()).toStdString();
  };
  session_->Changed = [this] { Render(); };
  BuildControls();
  Retranslate();
  Connect();
  Render();
}

TfmManual::~TfmManual() {
  session_->Changed = nullptr;
}

void TfmManual::Connect() {
  connect(lbFiles_, &FileListView::SelectionEdited, this, &TfmManual::SelectionEdited);
  connect(lbFiles_, &FileListView::FilesDropped, this, &TfmManual::FilesDropped);
  connect(lbFiles_, &QAbstractItemView::doubleClicked, this, &TfmManual::OpenCurrentPicture);
  connect(lbFiles_, &FileListView::OpenRequested, this, &TfmManual::OpenCurrentPicture);
  connect(lbFiles_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popup_->popup(lbFiles_->viewport()->mapToGlobal(at)); });
  connect(mmMessage_, &QPlainTextEdit::textChanged, this, [this] {
    if (!rendering_) session_->EditMessage(mmMessage_->toPlainText().toStdString());
  });
  connect(cbFloatingPreview_, &QCheckBox::toggled, this, &TfmManual::FloatingPreviewToggled);
  connect(floating_, &TfmFloatingPreview::Closed, this,
          [this] { cbFloatingPreview_->setChecked(false); });
  connect(cbInputDevice_, &QComboBox::activated, this,
          [this](int index) { Run([&] { session_->ChooseInputDevice(index); }); });
  connect(timer_, &QTimer::timeout, this, [this] { Run([&] { session_->Tick(); }); });
  connect(meterTimer_, &QTimer::timeout, this, [this] { Run([&] { session_->MeterTick(); }); });
  connect(lbAdjustVolume_, &QToolButton::clicked, this, &TfmManual::AdjustVolume);

  auto both = [this](QPushButton* button, QAction* action, auto handler) {
    connect(button, &QPushButton::clicked, this, handler);
    connect(action, &QAction::triggered, this, handler);
  };
  both(sbAdd_, acAdd_, [this] { Add(); });
  both(sbRemoveFile_, acRemove_, [this] { Run([&] { session_->Remove(); }); });
  both(sbUp_, acUp_, [this] { Run([&] { session_->MoveUp(); }); });
  both(sbDown_, acDown_, [this] { Run([&] { session_->MoveDown(); }); });
  // The keyboard follows the take: Stop is the next thing pressed, then Listen.
  both(sbRecord_, acRecord_, [this] {
    Run([&] { session_->Record(); });
    if (sbStop_->isEnabled()) sbStop_->setFocus(Qt::OtherFocusReason);
  });
  both(sbListen_, acListen_, [this] { Run([&] { session_->Listen(); }); });
  both(sbRemoveSound_, acErase_, [this] { Run([&] { session_->Erase(); }); });
  connect(sbStop_, &QPushButton::clicked, this, [this] {
    listenAfterStop_ = true;
    Run([&] { session_->Stop(); });
  });
  connect(acInsertShort_, &QAction::triggered, this,
          [this] { Run([&] { session_->InsertShortFileName(); }); });
  connect(acInsertLong_, &QAction::triggered, this,
          [this] { Run([&] { session_->InsertLongFileName(); }); });
  connect(btClear_, &QPushButton::clicked, this, &TfmManual::ClearProject);
  connect(btComplete_, &QPushButton::clicked, this, &TfmManual::Go);
  connect(btCancel_, &QPushButton::clicked, this, &TfmManual::reject);
}

template <typename Action>
void TfmManual::Run(Action action) {
  action();
  Render();
}

void TfmManual::Load(bool manualModeAsDefault) {
  cbFloatingPreview_->setChecked(false);
  Run([&] { session_->Load(manualModeAsDefault); });
  if (isVisible()) {
    ltPreview_->Clear();
    shownPicture_.clear();
    Run([&] { session_->Shown(); });
  }
}

void TfmManual::FilesDropped(const QStringList& paths) {
  QStringList pictures;
  QString slideshow;
  for (const QString& path : paths) {
    if (OpenSlideshow && slideshow.isEmpty() && IsSlideshowToOpen(path.toStdString())) {
      slideshow = path;
    } else {
      pictures << path;
    }
  }
  // The pictures join the slideshow that was opened.
  if (!slideshow.isEmpty()) OpenSlideshow(slideshow);
  if (!pictures.isEmpty()) ImportFiles(pictures);
}

void TfmManual::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ltPreview_->Clear();
  shownPicture_.clear();
  Run([&] { session_->Shown(); });
}

void TfmManual::hideEvent(QHideEvent* event) {
  floating_->hide();
  QDialog::hideEvent(event);
}

void TfmManual::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) {
    Retranslate();
    Run([&] { session_->Retranslate(); });
  }
  QDialog::changeEvent(event);
}

void TfmManual::reject() {
  const bool done = session_->Close();
  Render();
  if (done) QDialog::reject();
}

void TfmManual::Go() {
  const bool done = session_->Go();
  Render();
  if (done) accept();
}

void TfmManual::Add() {
  const QStringList chosen = asker_->OpenPictures(this);
  if (!chosen.isEmpty()) ImportFiles(chosen);
}

void TfmManual::ImportFiles(const QStringList& paths) {
  std::vector<std::string> files;
  for (const QString& path : paths) files.push_back(path.toStdString());
  const std::vector<QWidget*> buttons = {sbAdd_, sbRemoveFile_, sbUp_, sbDown_};
  for (QWidget* button : buttons) button->hide();
  lbFileCheck_->show();
  pbImport_->setRange(0, static_cast<int>(files.size()));
  pbImport_->setValue(0);
  pbImport_->show();
  auto progress = [this](int index, int) {
    pbImport_->setValue(index);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  // The buttons come back however it ends, and before the model warns about skipped files.
  auto restore = [this, buttons] {
    lbFileCheck_->hide();
    pbImport_->hide();
    for (QWidget* button : buttons) button->show();
  };
  struct Restore {
    std::function<void()> restore;
    ~Restore() { restore(); }
  };
  try {
    Restore guard{restore};
    session_->Import(files, progress, restore);
  } catch (const Exception& e) {
    asker_->Tell(EditorAsker::Kind::Error, e.Message());
  }
  Render();
  // Back where the pictures are, rather than on whatever the hidden buttons handed it to.
  lbFiles_->setFocus(Qt::OtherFocusReason);
}

void TfmManual::ClearProject() {
  Run([&] { session_->Clear(); });
  if (session_->State().items.empty()) cbFloatingPreview_->setChecked(false);
}

void TfmManual::SelectionEdited() {
  if (rendering_) return;
  std::vector<int> selected;
  for (const QModelIndex& index : lbFiles_->selectionModel()->selectedRows()) {
    selected.push_back(index.row());
  }
  const QModelIndex current = lbFiles_->selectionModel()->currentIndex();
  Run([&] { session_->Select(selected, current.isValid() ? current.row() : -1); });
}

void TfmManual::OpenCurrentPicture() {
  const int current = session_->State().current;
  if (current < 0 || current >= static_cast<int>(pictureFiles_.size())) return;
  ShowPicture(paths_.ProgramFolder(), pictureFiles_, pictureFiles_[current], OpenPicture);
}

void TfmManual::AdjustVolume() {
  if (StartVolumeControl()) return;
  asker_->Tell(EditorAsker::Kind::Information,
               tr("No volume control program was found. Install \"pavucontrol\" (PulseAudio "
                  "Volume Control) to adjust the recording and playback volume.")
                   .toStdString());
}

void TfmManual::FloatingPreviewToggled(bool checked) {
  if (!checked) {
    floating_->ltPreview()->Clear();
    floating_->SetPictureName({});
    floating_->hide();
    return;
  }
  // The floating window only shows; the keyboard stays with the editor.
  QWidget* focused = QApplication::focusWidget();
  if (!floating_->isVisible()) floating_->show();
  ShowFloatingPicture();
  floating_->raise();
  if (focused && !focused->hasFocus()) {
    activateWindow();
    focused->setFocus(Qt::OtherFocusReason);
  }
}

// The picture moves to the floating window, larger; the small preview stays empty meanwhile.
void TfmManual::ShowFloatingPicture() {
  PictureView* big = floating_->ltPreview();
  big->Clear();
  QImage picture = ltPreview_->Picture();
  if (!shownPicture_.empty()) {
    try {
      picture = LoadPreviewImage(shownPicture_, FloatingBounds(big));
    } catch (const std::exception&) {
      // The small copy will do.
    }
  }
  if (!picture.isNull()) big->SetPicture(picture);
  floating_->SetPictureName(picture.isNull() ? QString() : QFileInfo(Q(shownPicture_)).fileName());
  ltPreview_->Clear();
}

void TfmManual::Render() {
  if (rendering_) return;
  rendering_ = true;
  const EditorState& state = session_->State();
  RenderList(state);
  RenderPreview(state);
  RenderVoicePanel(state);
  btClear_->setEnabled(state.clear);
  btComplete_->setEnabled(state.go);
  btCancel_->setEnabled(state.close);
  cbSetManualModeAsDefault_->setChecked(state.manualModeAsDefault);
  rendering_ = false;
  if (listenAfterStop_ && !state.stop) {
    // The take may still be on its way to disk; Listen takes the focus once it can play it.
    if (sbListen_->isEnabled()) {
      listenAfterStop_ = false;
      sbListen_->setFocus(Qt::OtherFocusReason);
    } else if (sbStop_->hasFocus() || !focusWidget() || !focusWidget()->isEnabled()) {
      lbFiles_->setFocus(Qt::OtherFocusReason);
    }
  }
}

void TfmManual::RenderList(const EditorState& state) {
  files_->SetRows(state.items, state.voiceMarks);
  QItemSelection selection;
  for (const int row : state.selected) {
    const QModelIndex index = files_->index(row);
    if (index.isValid()) selection.select(index, index);
  }
  QItemSelectionModel* model = lbFiles_->selectionModel();
  const QModelIndex current = files_->index(state.current);
  if (model->currentIndex() != current) {
    model->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
  }
  if (model->selection() != selection) {
    model->select(selection, QItemSelectionModel::ClearAndSelect);
  }
  if (current.isValid()) lbFiles_->scrollTo(current);
  lbFiles_->setEnabled(!state.listLocked);

  sbRemoveFile_->setEnabled(state.remove);
  sbUp_->setEnabled(state.moveUp);
  sbDown_->setEnabled(state.moveDown);
  sbAdd_->setEnabled(state.add);
  acRemove_->setEnabled(state.remove);
  acInsertShort_->setEnabled(state.insertFileName);
  acInsertLong_->setEnabled(state.insertFileName);
}

void TfmManual::RenderPreview(const EditorState& state) {
  const QString message = Q(state.message);
  if (mmMessage_->toPlainText() != message) mmMessage_->setPlainText(message);
  mmMessage_->setEnabled(state.messageEnabled);

  if (state.previewPicture == shownPicture_) return;
  if (state.previewPicture.empty()) {
    shownPicture_.clear();
    ltPreview_->Clear();
    floating_->ltPreview()->Clear();
    floating_->SetPictureName({});
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    ltPreview_->SetPicture(
        LoadPreviewImage(state.previewPicture, ltPreview_->size() * devicePixelRatioF()));
    shownPicture_ = state.previewPicture;
  } catch (const std::exception&) {
    // A picture that cannot be shown leaves the preview as it was.
  }
  QApplication::restoreOverrideCursor();
  if (cbFloatingPreview_->isChecked() && shownPicture_ == state.previewPicture) {
    ShowFloatingPicture();
  }
}

void TfmManual::RenderVoicePanel(const EditorState& state) {
  sbRecord_->setEnabled(state.record);
  sbStop_->setEnabled(state.stop);
  sbListen_->setEnabled(state.listen);
  sbListen_->setText(Q(state.listenCaption));
  const QString listenHint = state.listening
                                 ? tr("Stop playing the recording")
                                 : tr("Listen to the previous recording with this file");
  sbListen_->setToolTip(listenHint);
  sbListen_->setAccessibleDescription(listenHint);
  sbRemoveSound_->setEnabled(state.erase);
  acRecord_->setEnabled(state.record);
  acListen_->setEnabled(state.listen);
  acErase_->setEnabled(state.erase);
  if (pnRecStatus_->text() != Q(state.status)) {
    pnRecStatus_->setText(Q(state.status));
    // The panel's text is its name: a screen reader hears each new status as it comes.
    QAccessibleEvent changed(pnRecStatus_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
  }
  lbSizeBefore_->setText(Q(state.sizeBefore));
  lbSizeAfter_->setText(Q(state.sizeAfter));
  // A screen reader meets the number alone; it hears the caption with it.
  Rename(lbSizeBefore_, label4_->text() + " " + lbSizeBefore_->text());
  Rename(lbSizeAfter_, label7_->text() + " " + lbSizeAfter_->text());

  if (state.timerRunning != timer_->isActive()) {
    if (state.timerRunning) {
      timer_->start();
      meterTimer_->start();
    } else {
      timer_->stop();
      meterTimer_->stop();
    }
  }
  pbInputLevel_->setValue(state.inputLevel);
  // Always in place, so that starting a recording does not move the buttons under the pointer.
  pbInputLevel_->setEnabled(state.timerRunning);
  lbElapsed_->setText(state.elapsed.empty() ? QStringLiteral("0:00") : Q(state.elapsed));
  Rename(lbElapsed_, tr("Length") + " " + lbElapsed_->text());
  lbEmptyHint_->setVisible(state.items.empty());

  QStringList devices;
  for (const std::string& name : state.inputDevices) devices << Q(name);
  QStringList shown;
  for (int i = 0; i < cbInputDevice_->count(); ++i) shown << cbInputDevice_->itemText(i);
  if (devices != shown) {
    cbInputDevice_->clear();
    cbInputDevice_->addItems(devices);
  }
  cbInputDevice_->setCurrentIndex(state.inputDevice);
  cbInputDevice_->setEnabled(!state.timerRunning);
  lbMicrophone_->setVisible(!devices.isEmpty());
  cbInputDevice_->setVisible(!devices.isEmpty());
}

}  // namespace tovak
