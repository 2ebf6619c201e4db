#include "app/tfm_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <span>

#include "common/ini_file.h"

namespace tovak {

namespace {

// As high as the groups need and no more: a fixed design height left a band of nothing above
// the buttons wherever the fonts came out smaller than the design's.
constexpr QSize kDesignedSize(462, 0);

QString SizeCaption(const ImageSize& size) {
  if (size.width == 0 && size.height == 0) return TfmSettings::tr("Use original sizes");
  // In one pass, so a digit that follows a placeholder cannot make a new one.
  return TfmSettings::tr("%1 x %2").arg(QString::number(size.width), QString::number(size.height));
}

void FillSizes(QComboBox* list, std::span<const ImageSize> rows) {
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    if (i < list->count()) {
      list->setItemText(i, SizeCaption(rows[i]));
    } else {
      list->addItem(SizeCaption(rows[i]));
    }
  }
}

template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace

TfmSettings::TfmSettings(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("TfmSettings");
  QVBoxLayout* body = MakeDialogFrame(this, header_);
  compact_ = MakeModeControls("Compact", static_cast<int>(std::size(kCompactSizes)));
  full_ = MakeModeControls("Full", static_cast<int>(std::size(kFullSizes)));
  body->addWidget(compact_.group);
  body->addWidget(full_.group);
  // The box and the buttons keep to the bottom edge when a group is hidden.
  body->addStretch(1);

  auto* bottom = new QHBoxLayout;
  cbAlwaysUse_ = Named(new QCheckBox(this), "cbAlwaysUse");
  cbAlwaysUse_->setChecked(true);
  btOk_ = Named(new QPushButton(this), "btOk");
  btOk_->setDefault(true);
  btCancel_ = Named(new QPushButton(this), "btCancel");
  btCancel_->setAutoDefault(false);
  bottom->addWidget(cbAlwaysUse_);
  bottom->addStretch(1);
  bottom->addWidget(btOk_);
  bottom->addWidget(btCancel_);
  body->addLayout(bottom);
  connect(btOk_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);

  Retranslate();
}

TfmSettings::ModeControls TfmSettings::MakeModeControls(const char* mode, int rows) {
  const QString name = QString::fromLatin1(mode);
  ModeControls c;
  c.group = Named(new QGroupBox(this), "gb" + name + "Mode");
  auto* grid = new QGridLayout(c.group);
  grid->setVerticalSpacing(4);
  c.text = Named(new QLabel(c.group), "lb" + name + "Text");
  c.text->setWordWrap(true);
  c.sizeLabel = Named(new QLabel(c.group), "lb" + name + "ImageSize");
  c.size = Named(new QComboBox(c.group), "cb" + name + "ImageSize");
  c.size->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  c.sizeLabel->setBuddy(c.size);
  c.qualityLabel = Named(new QLabel(c.group), "lb" + name + "Quality");
  c.quality = Named(new QSlider(Qt::Horizontal, c.group), "tb" + name + "Quality");
  c.quality->setRange(1, 100);
  c.quality->setSingleStep(5);
  c.quality->setPageStep(10);
  c.quality->setTickInterval(10);
  c.quality->setTickPosition(QSlider::TicksAbove);
  c.qualityLabel->setBuddy(c.quality);
  c.lower = Named(new QLabel(c.group), "lb" + name + "Lower");
  c.higher = Named(new QLabel(c.group), "lb" + name + "Higher");
  grid->addWidget(c.text, 0, 0, 1, 5);
  grid->addWidget(c.sizeLabel, 1, 0);
  grid->addWidget(c.size, 1, 1, 1, 4, Qt::AlignLeft);
  grid->addWidget(c.qualityLabel, 2, 0);
  grid->addWidget(c.lower, 2, 1);
  grid->addWidget(c.quality, 2, 2);
  grid->addWidget(c.higher, 2, 3);
  c.value = Named(new QLabel(c.group), "lb" + name + "QualityValue");
  c.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  c.value->setMinimumWidth(c.value->fontMetrics().horizontalAdvance(QStringLiteral("100")));
  c.value->setNum(c.quality->value());
  connect(c.quality, &QSlider::valueChanged, c.value, qOverload<int>(&QLabel::setNum));
  grid->addWidget(c.value, 2, 4);
  grid->setColumnStretch(2, 1);
  for (int i = 0; i < rows; ++i) c.size->addItem(QString());
  return c;
}

void TfmSettings::Retranslate() {
  setWindowTitle(tr("Settings"));
  header_.heading->setText(tr("Customize settings for the slideshow"));
  header_.text->setText(
      tr("Here you can customize the slideshow settings.  This will  affect the size and image "
         "quality of the slideshows you make."));
  compact_.group->setTitle(tr("Compact Mode Settings"));
  compact_.text->setText(
      tr("Choose the settings you'd like to use when you create slideshows "
         "using the compact mode."));
  full_.group->setTitle(tr("Full Mode Settings"));
  full_.text->setText(
      tr("Choose the settings you'd like to use when you create slideshows "
         "using the full mode."));
  // Both groups may show at once: each label has its own access key.
  compact_.sizeLabel->setText(tr("Image &Size:"));
  compact_.qualityLabel->setText(tr("Image &Quality:"));
  full_.sizeLabel->setText(tr("Image Si&ze:"));
  full_.qualityLabel->setText(tr("Image Qualit&y:"));
  for (ModeControls* c : {&compact_, &full_}) {
    c->lower->setText(tr("Lower"));
    c->higher->setText(tr("Higher"));
  }
  FillSizes(compact_.size, kCompactSizes);
  FillSizes(full_.size, kFullSizes);
  cbAlwaysUse_->setText(tr("&Always use those settings"));
  btOk_->setText(tr("&Ok"));
  btCancel_->setText(tr("&Cancel"));
  ApplyRestriction();
}

void TfmSettings::SetValues(int32_t compactIndex, int32_t compactQuality, int32_t fullIndex,
                            int32_t fullQuality) {
  // An index the list does not have (a hand-edited file) leaves it without a selection.
  compact_.size->setCurrentIndex(
      compactIndex >= 0 && compactIndex < compact_.size->count() ? compactIndex : -1);
  full_.size->setCurrentIndex(fullIndex >= 0 && fullIndex < full_.size->count() ? fullIndex : -1);
  compact_.quality->setValue(compactQuality);
  full_.quality->setValue(fullQuality);
}

void TfmSettings::SetRestriction(int restriction) {
  restriction_ = restriction;
  ApplyRestriction();
}

void TfmSettings::ApplyRestriction() {
  compact_.group->setHidden(restriction_ == FullOnly);
  full_.group->setHidden(restriction_ == CompactOnly);
  FitFixedSize(this, kDesignedSize);
}

void TfmSettings::showEvent(QShowEvent* event) {
  ApplyRestriction();
  QDialog::showEvent(event);
}

void TfmSettings::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Retranslate();
  QDialog::changeEvent(event);
}

int32_t TfmSettings::CompactIndex() const {
  return compact_.size->currentIndex();
}
int32_t TfmSettings::CompactQuality() const {
  return compact_.quality->value();
}
int32_t TfmSettings::FullIndex() const {
  return full_.size->currentIndex();
}
int32_t TfmSettings::FullQuality() const {
  return full_.quality->value();
}
bool TfmSettings::AlwaysUse() const {
  return cbAlwaysUse_->isChecked();
}

bool RunSettingsDialog(TTovakSettings& settings, int restriction, IniFile& ini, QWidget* parent,
                       const std::function<int(TfmSettings&)>& exec, std::string* storeError) {
  TfmSettings dialog(parent);
  dialog.SetValues(settings.CompactImageIndex, settings.CompactImageQuality,
                   settings.FullImageIndex, settings.FullImageQuality);
  dialog.SetRestriction(restriction);
  if ((exec ? exec(dialog) : dialog.exec()) != QDialog::Accepted) return false;
  settings.CompactImageIndex = dialog.CompactIndex();
  settings.CompactImageQuality = dialog.CompactQuality();
  settings.FullImageIndex = dialog.FullIndex();
  settings.FullImageQuality = dialog.FullQuality();
  if (dialog.AlwaysUse()) WriteSizeSettings(ini, settings, storeError);
  return true;
}

}  // namespace tovak
