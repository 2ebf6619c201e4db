#include "editor/ui/preview_loader.h"

#include "components/picture_file.h"

namespace tovak {

QImage LoadPreviewImage(const std::string& path, QSize bounds) {
  return LoadPicture(path).scaled(bounds, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace tovak
