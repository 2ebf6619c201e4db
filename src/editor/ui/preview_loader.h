#pragma once

#include <QImage>
#include <QSize>
#include <string>

namespace tovak {

// A picture decoded for showing in bounds, no larger than needed, so that clicking through
// large photos stays quick. JPEG is decoded at the smallest DCT scale (down to an eighth) that is
// still at least the size that fits bounds, keeping proportions; the view scales the rest. Other
// pictures come back scaled to fit. Pictures smaller than bounds are never enlarged.
// devicePixelRatio multiplies bounds, so a high-density screen gets its sharper picture.
// Orientation tags are ignored, as everywhere else in the program.
// Throws EPictureError, the file's name in front, when the file cannot be read or decoded.
QImage LoadPreviewImage(const std::string& path, QSize bounds, qreal devicePixelRatio = 1.0);

}  // namespace tovak
