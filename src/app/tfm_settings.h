#pragma once

#include <QDialog>
#include <functional>

#include "app/dialog_frame.h"
#include "app/tovak_settings.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace tovak {

class IniFile;

// "Settings": the picture size and JPEG quality of the compact and the full mode.
class TfmSettings : public QDialog {
  Q_OBJECT

 public:
  // Which groups are shown.
  enum Restriction { BothModes = 0, CompactOnly = 1, FullOnly = 2 };

  explicit TfmSettings(QWidget* parent = nullptr);

  void SetValues(int32_t compactIndex, int32_t compactQuality, int32_t fullIndex,
                 int32_t fullQuality);
  void SetRestriction(int restriction);
  // -1 for a list without a selection.
  int32_t CompactIndex() const;
  int32_t CompactQuality() const;
  int32_t FullIndex() const;
  int32_t FullQuality() const;
  bool AlwaysUse() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // One mode's group: its text, size list and quality bar.
  struct ModeControls {
    QGroupBox* group = nullptr;
    QLabel* text = nullptr;
    QLabel* sizeLabel = nullptr;
    QComboBox* size = nullptr;
    QLabel* qualityLabel = nullptr;
    QSlider* quality = nullptr;
    QLabel* lower = nullptr;
    QLabel* higher = nullptr;
    QLabel* value = nullptr;  // the quality as a number, which the bar alone does not tell
  };
  ModeControls MakeModeControls(const char* mode, int rows);
  void Retranslate();
  void ApplyRestriction();

  DialogHeader header_;
  ModeControls compact_;
  ModeControls full_;
  QCheckBox* cbAlwaysUse_ = nullptr;
  QPushButton* btOk_ = nullptr;
  QPushButton* btCancel_ = nullptr;
  int restriction_ = BothModes;
};

// The "Settings..." action on the working settings: shows the dialog (through exec, which tests
// replace), and on OK copies its values into settings and, with "&Always use those settings"
// ticked, into the settings file. False when the dialog was cancelled.
bool RunSettingsDialog(TTovakSettings& settings, int restriction, IniFile& ini, QWidget* parent,
                       const std::function<int(TfmSettings&)>& exec = {},
                       std::string* storeError = nullptr);

// "Choose Creation Mode": compact or full, with a link to each mode's settings. Made once and
// kept, so its choice lasts from one creation to the next.
class TfmSlideshowProps : public QDialog {
  Q_OBJECT

 public:
  explicit TfmSlideshowProps(QWidget* parent = nullptr);

  // 0 compact, 1 full; anything else keeps the previous choice.
  void Preselect(uint8_t mode);
  uint8_t SelectedMode() const;
  // After the dialog closed with OK: 0 none, 1 change the compact settings, 2 the full ones.
  int CustomizeRequest() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Retranslate();
  void Customize(int request);

  DialogHeader header_;
  QGroupBox* gbMode_ = nullptr;
  QRadioButton* rbCompactMode_ = nullptr;
  QLabel* lbCompactText_ = nullptr;
  QAbstractButton* lbCustomizeCompactMode_ = nullptr;
  QRadioButton* rbFullMode_ = nullptr;
  QLabel* lbFullText_ = nullptr;
  QAbstractButton* lbCustomizeFullMode_ = nullptr;
  QPushButton* btOk_ = nullptr;
  QPushButton* btCancel_ = nullptr;
  int request_ = 0;
};

}  // namespace tovak
