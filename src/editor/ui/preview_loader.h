#pragma once

#include <QImage>
#include <QSize>
#include <string>

namespace tovak {

// A picture decoded for showing in bounds: no larger than needed (JPEG is decoded at a reduced
// scale), so clicking through large photos stays quick. Throws PictureError when unreadable.
QImage LoadPreviewImage(const std::string& path, QSize bounds);

}  // namespace tovak
