#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/tfm_settings.h"
#include "editor/ui/link_button.h"

namespace tovak {

namespace {

constexpr QSize kDesignedSize(440, 302);

QLabel* MakeText(QWidget* parent, const char* name) {
  auto* text = new QLabel(parent);
  text->setObjectName(name);
  text->setWordWrap(true);
  text->setIndent(20);
  return text;
}

}  // namespace

TfmSlideshowProps::TfmSlideshowProps(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("TfmSlideshowProps");
  QVBoxLayout* body = MakeDialogFrame(this, header_);
  gbMode_ = new QGroupBox(this);
  gbMode_->setObjectName("gbMode");
  auto* group = new QVBoxLayout(gbMode_);
  group->setSpacing(2);
  rbCompactMode_ = new QRadioButton(gbMode_);
  rbCompactMode_->setObjectName("rbCompactMode");
  rbCompactMode_->setChecked(true);
  lbCompactText_ = MakeText(gbMode_, "lbCompactText");
  lbCustomizeCompactMode_ = new LinkButton(gbMode_, "lbCustomizeCompactMode", "blue");
  rbFullMode_ = new QRadioButton(gbMode_);
  rbFullMode_->setObjectName("rbFullMode");
  lbFullText_ = MakeText(gbMode_, "lbFullText");
  lbCustomizeFullMode_ = new LinkButton(gbMode_, "lbCustomizeFullMode", "blue");
  group->addWidget(rbCompactMode_);
  group->addWidget(lbCompactText_);
  group->addWidget(lbCustomizeCompactMode_, 0, Qt::AlignRight);
  group->addSpacing(4);
  group->addWidget(MakeDivider(gbMode_, "bvModes"));
  group->addSpacing(4);
  group->addWidget(rbFullMode_);
  group->addWidget(lbFullText_);
  group->addWidget(lbCustomizeFullMode_, 0, Qt::AlignRight);
  body->addWidget(gbMode_);
  body->addStretch(1);
  body->addWidget(MakeDivider(this, "bvButtons"));

  auto* buttons = new QHBoxLayout;
  btOk_ = new QPushButton(this);
  btOk_->setObjectName("btOk");
  btOk_->setDefault(true);
  btCancel_ = new QPushButton(this);
  btCancel_->setObjectName("btCancel");
  buttons->addStretch(1);
  buttons->addWidget(btOk_);
  buttons->addWidget(btCancel_);
  body->addLayout(buttons);

  connect(btOk_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(lbCustomizeCompactMode_, &QAbstractButton::clicked, this, [this] { Customize(1); });
  connect(lbCustomizeFullMode_, &QAbstractButton::clicked, this, [this] { Customize(2); });
  Retranslate();
}

void TfmSlideshowProps::Retranslate() {
  setWindowTitle(tr("Choose Creation Mode"));
  header_.heading->setText(tr("You're Almost Done!"));
  header_.text->setText(tr("Set the final settings before you create the slideshow."));
  gbMode_->setTitle(tr("Choose a Compact or a Full-mode Slideshow"));
  rbCompactMode_->setText(tr("Create a co&mpact-mode slideshow"));
  lbCompactText_->setText(
      tr("This option downscales and compresses pictures to relatively small size.  Suitable for "
         "e-mail with dial-up connections."));
  lbCustomizeCompactMode_->setText(tr("Click here to change the Com&pact Mode properties"));
  rbFullMode_->setText(tr("Create a &full-mode slideshow"));
  lbFullText_->setText(
      tr("Less compression and larger pictures.  Suitable for full screen slideshows and high "
         "speed connections."));
  lbCustomizeFullMode_->setText(tr("Click here to change the F&ull Mode properties"));
  btOk_->setText(tr("&Ok"));
  btCancel_->setText(tr("&Cancel"));
  FitFixedSize(this, kDesignedSize);
}

void TfmSlideshowProps::Preselect(uint8_t mode) {
  if (mode == cmCompact) rbCompactMode_->setChecked(true);
  if (mode == cmFull) rbFullMode_->setChecked(true);
}

uint8_t TfmSlideshowProps::SelectedMode() const {
  return rbFullMode_->isChecked() ? cmFull : cmCompact;
}

int TfmSlideshowProps::CustomizeRequest() const {
  return request_;
}

void TfmSlideshowProps::Customize(int request) {
  request_ = request;
  accept();
}

void TfmSlideshowProps::showEvent(QShowEvent* event) {
  request_ = 0;
  QDialog::showEvent(event);
}

void TfmSlideshowProps::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Retranslate();
  QDialog::changeEvent(event);
}

}  // namespace tovak
