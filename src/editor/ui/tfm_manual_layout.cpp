// The editor window's controls, their places and their texts.
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <vector>

#include "editor/ui/file_list.h"
#include "editor/ui/focus_frame.h"
#include "editor/ui/link_button.h"
#include "editor/ui/picture_view.h"
#include "editor/ui/tfm_floating_preview.h"
#include "editor/ui/tfm_manual.h"
#include "editor/ui/voice_mark.h"

namespace tovak {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

// Enter presses the focused button, as Space does; elsewhere it reaches Go!.
QPushButton* Button(QWidget* parent, const char* name) {
  auto* button = Named(new QPushButton(parent), name);
  button->setAutoDefault(true);
  return button;
}

// A group whose access key goes to the one control it is about, not to whichever control in it
// last had the focus.
class KeyedGroup : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;
  QWidget* buddy = nullptr;

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::Shortcut && buddy && buddy->isEnabled()) {
      buddy->setFocus(Qt::ShortcutFocusReason);
      return true;
    }
    return QGroupBox::event(event);
  }
};

}  // namespace

void TfmManual::BuildControls() {
  setObjectName("TfmManual");
  setSizeGripEnabled(false);
  auto* outer = new QVBoxLayout(this);
  tabs_ = Named(new QTabWidget(this), "PageControl");
  // Its only tab leads nowhere: the window opens with the focus on the pictures instead.
  tabs_->setFocusPolicy(Qt::NoFocus);
  tabs_->tabBar()->setFocusPolicy(Qt::NoFocus);
  outer->addWidget(tabs_);
  auto* page = Named(new QWidget(tabs_), "tsSlideshowSettings");
  tabs_->addTab(page, QString());
  auto* pageLayout = new QVBoxLayout(page);
  auto* columns = new QHBoxLayout;
  pageLayout->addLayout(columns, 1);

  // The pictures.
  auto* filesGroup = Named(new KeyedGroup(page), "gbSelectFiles");
  gbSelectFiles_ = filesGroup;
  auto* filesLayout = new QVBoxLayout(gbSelectFiles_);
  lbFiles_ = Named(new FileListView(gbSelectFiles_), "lbFiles");
  filesGroup->buddy = lbFiles_;
  files_ = new FileListModel(this);
  lbFiles_->setModel(files_);
  lbFiles_->setItemDelegate(new FileListDelegate(lbFiles_));
  lbFiles_->setContextMenuPolicy(Qt::CustomContextMenu);
  filesLayout->addWidget(lbFiles_, 1);
  // A first-time user facing an empty list learns the one step that starts everything.
  lbEmptyHint_ = Named(new QLabel(gbSelectFiles_), "lbEmptyHint");
  lbEmptyHint_->setWordWrap(true);
  filesLayout->addWidget(lbEmptyHint_);
  auto* fileButtons = new QHBoxLayout;
  sbAdd_ = Button(gbSelectFiles_, "sbAdd");
  sbRemoveFile_ = Button(gbSelectFiles_, "sbRemoveFile");
  sbUp_ = Button(gbSelectFiles_, "sbUp");
  sbDown_ = Button(gbSelectFiles_, "sbDown");
  lbFileCheck_ = Named(new QLabel(gbSelectFiles_), "lbFileCheck");
  pbImport_ = Named(new QProgressBar(gbSelectFiles_), "pbImport");
  for (QWidget* w : {static_cast<QWidget*>(sbAdd_), static_cast<QWidget*>(sbRemoveFile_),
                     static_cast<QWidget*>(sbUp_), static_cast<QWidget*>(sbDown_),
                     static_cast<QWidget*>(lbFileCheck_)}) {
    fileButtons->addWidget(w);
  }
  fileButtons->addWidget(pbImport_, 1);
  fileButtons->addStretch();
  lbFileCheck_->hide();
  pbImport_->hide();
  pbImport_->setRange(0, 100);
  pbImport_->setTextVisible(false);
  sbRemoveFile_->setEnabled(false);
  filesLayout->addLayout(fileButtons);
  columns->addWidget(gbSelectFiles_, 1);

  auto* right = new QVBoxLayout;
  columns->addLayout(right);

  // The selected picture and its message.
  auto* messageGroup = Named(new KeyedGroup(page), "gbMessage");
  gbMessage_ = messageGroup;
  auto* messageLayout = new QHBoxLayout(gbMessage_);
  auto* previewColumn = new QVBoxLayout;
  ltPreview_ = Named(new PictureView(gbMessage_), "ltPreview");
  ltPreview_->setFixedSize(122, 82);
  cbFloatingPreview_ = Named(new QCheckBox(gbMessage_), "cbFloatingPreview");
  previewColumn->addWidget(ltPreview_);
  previewColumn->addWidget(cbFloatingPreview_);
  previewColumn->addStretch();
  messageLayout->addLayout(previewColumn);
  mmMessage_ = Named(new QPlainTextEdit(gbMessage_), "mmMessage");
  mmMessage_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mmMessage_->setMinimumSize(200, 120);
  mmMessage_->setTabChangesFocus(true);
  mmMessage_->setEnabled(false);
  messageGroup->buddy = mmMessage_;
  messageLayout->addWidget(mmMessage_, 1);
  right->addWidget(gbMessage_);

  // The voice.
  gbVoicePanel_ = Named(new QGroupBox(page), "gbVoicePanel");
  auto* voiceLayout = new QVBoxLayout(gbVoicePanel_);
  auto* sizes = new QGridLayout;
  label4_ = Named(new QLabel(gbVoicePanel_), "Label4");
  lbSizeBefore_ = Named(new QLabel(gbVoicePanel_), "lbSizeBefore");
  label7_ = Named(new QLabel(gbVoicePanel_), "Label7");
  lbSizeAfter_ = Named(new QLabel(gbVoicePanel_), "lbSizeAfter");
  lbAdjustVolume_ = new LinkButton(gbVoicePanel_, "lbAdjustVolume", "navy");
  sizes->addWidget(label4_, 0, 0);
  sizes->addWidget(lbSizeBefore_, 0, 1);
  sizes->addWidget(label7_, 1, 0);
  sizes->addWidget(lbSizeAfter_, 1, 1);
  sizes->setColumnStretch(2, 1);
  sizes->addWidget(lbAdjustVolume_, 0, 3, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
  voiceLayout->addLayout(sizes);

  pnRecStatus_ = Named(new QLabel(gbVoicePanel_), "pnRecStatus");
  pnRecStatus_->setAutoFillBackground(true);
  QPalette statusColours = pnRecStatus_->palette();
  statusColours.setColor(QPalette::Window, Qt::black);
  statusColours.setColor(QPalette::WindowText, QColor(0, 255, 0));
  pnRecStatus_->setPalette(statusColours);
  pnRecStatus_->setFrameShape(QFrame::Panel);
  pnRecStatus_->setFrameShadow(QFrame::Sunken);
  pnRecStatus_->setAlignment(Qt::AlignCenter);
  pnRecStatus_->setFixedHeight(pnRecStatus_->fontMetrics().height() + 10);
  voiceLayout->addWidget(pnRecStatus_);

  auto* meter = new QHBoxLayout;
  pbInputLevel_ = Named(new QProgressBar(gbVoicePanel_), "pbInputLevel");
  pbInputLevel_->setRange(0, 100);
  pbInputLevel_->setTextVisible(false);
  pbInputLevel_->setMaximumHeight(pnRecStatus_->fontMetrics().height());
  lbElapsed_ = Named(new QLabel(gbVoicePanel_), "lbElapsed");
  meter->addWidget(pbInputLevel_, 1);
  meter->addWidget(lbElapsed_);
  voiceLayout->addLayout(meter);

  auto* voiceButtons = new QHBoxLayout;
  sbRecord_ = Button(gbVoicePanel_, "sbRecord");
  sbRecord_->setIcon(RecordIcon());
  sbStop_ = Button(gbVoicePanel_, "sbStop");
  sbRemoveSound_ = Button(gbVoicePanel_, "sbRemoveSound");
  sbListen_ = Button(gbVoicePanel_, "sbListen");
  for (QPushButton* b : {sbRecord_, sbStop_, sbListen_, sbRemoveSound_}) {
    b->setEnabled(false);
    voiceButtons->addWidget(b);
  }
  voiceLayout->addLayout(voiceButtons);

  auto* microphone = new QHBoxLayout;
  lbMicrophone_ = Named(new QLabel(gbVoicePanel_), "lbMicrophone");
  cbInputDevice_ = Named(new QComboBox(gbVoicePanel_), "cbInputDevice");
  cbInputDevice_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cbInputDevice_->setMinimumContentsLength(16);
  lbMicrophone_->setBuddy(cbInputDevice_);
  microphone->addWidget(lbMicrophone_);
  microphone->addWidget(cbInputDevice_, 1);
  voiceLayout->addLayout(microphone);
  right->addWidget(gbVoicePanel_);
  right->addStretch();

  // The window's own buttons.
  auto* bottom = new QHBoxLayout;
  cbSetManualModeAsDefault_ =
      Named(new QCheckBox(page), "cbSetManualModeAsDefault");  // kept for the settings
  cbSetManualModeAsDefault_->hide();
  btClear_ = Button(page, "btClear");
  btComplete_ = Named(new QPushButton(page), "btComplete");
  btComplete_->setDefault(true);
  btCancel_ = Button(page, "btCancel");
  bottom->addStretch();
  bottom->addWidget(btClear_);
  bottom->addWidget(btComplete_);
  bottom->addWidget(btCancel_);
  pageLayout->addLayout(bottom);

  timer_ = Named(new QTimer(this), "Timer");
  timer_->setInterval(1000);
  meterTimer_ = Named(new QTimer(this), "MeterTimer");
  meterTimer_->setInterval(100);

  floating_ = new TfmFloatingPreview(this);
  floating_->hide();

  BuildPopupMenu();

  const std::vector<QWidget*> order = {
      lbFiles_,           sbAdd_,          sbRemoveFile_, sbUp_,    sbDown_,   mmMessage_,
      cbFloatingPreview_, lbAdjustVolume_, sbRecord_,     sbStop_,  sbListen_, sbRemoveSound_,
      cbInputDevice_,     btClear_,        btComplete_,   btCancel_};
  for (size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  UseClearFocusFrame(this);
  resize(655, 422);
}

void TfmManual::BuildPopupMenu() {
  popup_ = Named(new QMenu(this), "FileListPopupMenu");
  auto add = [this](const char* name) {
    auto* action = Named(new QAction(this), name);
    popup_->addAction(action);
    return action;
  };
  acInsertShort_ = add("InsertShortFilename");
  acInsertLong_ = add("InsertLongFilename");
  popup_->addSeparator();
  acRecord_ = add("RecordYourMessage");
  acListen_ = add("ListenToRecordedMessage");
  acErase_ = add("EraseRecordedMessage");
  popup_->addSeparator();
  acAdd_ = add("AddNewFiles");
  acRemove_ = add("RemoveSelectedFiles");
  popup_->addSeparator();
  acUp_ = add("MoveSelectedFilesUp");
  acDown_ = add("MoveSelectedFilesDown");
  // The keys work on the list without opening the menu, and the menu shows them.
  acRemove_->setShortcut(QKeySequence::Delete);
  acUp_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
  acDown_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
  for (QAction* action : {acRemove_, acUp_, acDown_}) {
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    lbFiles_->addAction(action);
  }
}

void TfmManual::Retranslate() {
  setWindowTitle(tr("Quillora Tovak!"));
  tabs_->setTabText(0, tr("Slideshow Settings"));
  gbSelectFiles_->setTitle(tr("Pictures in Slidesho&w"));
  lbFiles_->setAccessibleName(tr("Pictures in Slideshow"));
  sbAdd_->setText(tr("&Add"));
  sbAdd_->setToolTip(tr("Add new images"));
  sbRemoveFile_->setText(tr("Rem&ove"));
  sbRemoveFile_->setToolTip(tr("Remove selected file(s) (DEL)"));
  sbUp_->setText(tr("Move &Up"));
  sbUp_->setToolTip(tr("Move selected file up"));
  sbDown_->setText(tr("Move &Down"));
  sbDown_->setToolTip(tr("Move selected file down"));
  lbFileCheck_->setText(tr("Importing and checking..."));
  lbEmptyHint_->setText(tr("Press Add to put your pictures into the slideshow."));
  pbImport_->setAccessibleName(tr("Importing and checking..."));
  gbMessage_->setTitle(tr("Picture's Preview a&nd Text"));
  ltPreview_->setAccessibleName(tr("Picture's Preview"));
  mmMessage_->setAccessibleName(tr("Picture's Text"));
  cbFloatingPreview_->setText(tr("&Floating Preview"));
  cbFloatingPreview_->setToolTip(tr("Show floating preview of selected image"));
  gbVoicePanel_->setTitle(tr("Picture's Voice"));
  label4_->setText(tr("Uncompressed:"));
  label7_->setText(tr("Compressed:"));
  lbAdjustVolume_->setText(tr("Ad&just Volume Settings"));
  lbAdjustVolume_->setToolTip(tr("Display the Volume Control Panel"));
  pnRecStatus_->setAccessibleDescription(tr("Recording status"));
  cbInputDevice_->setAccessibleName(tr("Microphone"));
  cbInputDevice_->view()->setAccessibleName(tr("Microphones"));
  pbInputLevel_->setAccessibleName(tr("Microphone level"));
  lbMicrophone_->setText(tr("&Microphone:"));
  sbRecord_->setText(tr("&Record!"));
  sbRecord_->setToolTip(tr("Push this button and speak to your microphone"));
  sbStop_->setText(tr("&Stop"));
  sbStop_->setToolTip(tr("Stop recording"));
  sbRemoveSound_->setText(tr("&Erase"));
  sbRemoveSound_->setToolTip(tr("Remove this recorded file"));
  btClear_->setText(tr("&Clear"));
  btComplete_->setText(tr("&Go!"));
  btCancel_->setText(tr("C&lose"));
  cbSetManualModeAsDefault_->setText(tr("Start with \"Single Screen Mode\" ne&xt time"));
  cbSetManualModeAsDefault_->setToolTip(tr("Show this window the next time you start Tovak!"));
  acInsertShort_->setText(tr("Insert Short Filename into Message"));
  acInsertLong_->setText(tr("Insert Long Filename into Message"));
  acRecord_->setText(tr("Record Your Message"));
  acListen_->setText(tr("Listen to Recorded Message"));
  acErase_->setText(tr("Erase Recorded Message"));
  acAdd_->setText(tr("Add New File(s)"));
  acRemove_->setText(tr("Remove Selected File(s)"));
  acUp_->setText(tr("Move Selected File(s) Up"));
  acDown_->setText(tr("Move Selected File(s) Down"));
}

}  // namespace tovak
