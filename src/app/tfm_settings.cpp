// First cut: the values pass through unchanged until the controls are built.
#include "app/tfm_settings.h"

#include "common/ini_file.h"

namespace tovak {

TfmSettings::TfmSettings(QWidget* parent) : QDialog(parent) {
  setObjectName("TfmSettings");
}
void TfmSettings::SetValues(int32_t, int32_t, int32_t, int32_t) {}
void TfmSettings::SetRestriction(int) {}
int32_t TfmSettings::CompactIndex() const {
  return kDefaultSizeIndex;
}
int32_t TfmSettings::CompactQuality() const {
  return kDefaultCompactQuality;
}
int32_t TfmSettings::FullIndex() const {
  return kDefaultSizeIndex;
}
int32_t TfmSettings::FullQuality() const {
  return kDefaultFullQuality;
}
bool TfmSettings::AlwaysUse() const {
  return true;
}

bool RunSettingsDialog(TTovakSettings& settings, int restriction, IniFile& ini, QWidget* parent,
                       const std::function<int(TfmSettings&)>& exec) {
  TfmSettings dialog(parent);
  dialog.SetValues(settings.CompactImageIndex, settings.CompactImageQuality,
                   settings.FullImageIndex, settings.FullImageQuality);
  dialog.SetRestriction(restriction);
  if ((exec ? exec(dialog) : dialog.exec()) != QDialog::Accepted) return false;
  settings.CompactImageIndex = dialog.CompactIndex();
  settings.CompactImageQuality = dialog.CompactQuality();
  settings.FullImageIndex = dialog.FullIndex();
  settings.FullImageQuality = dialog.FullQuality();
  if (dialog.AlwaysUse()) WriteSizeSettings(ini, settings);
  return true;
}

}  // namespace tovak
