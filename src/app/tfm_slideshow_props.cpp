// First cut: compact mode, no links, until the controls are built.
#include "app/tfm_settings.h"

namespace tovak {

TfmSlideshowProps::TfmSlideshowProps(QWidget* parent) : QDialog(parent) {
  setObjectName("TfmSlideshowProps");
}
void TfmSlideshowProps::Preselect(uint8_t) {}
uint8_t TfmSlideshowProps::SelectedMode() const {
  return cmCompact;
}
int TfmSlideshowProps::CustomizeRequest() const {
  return 0;
}

}  // namespace tovak
