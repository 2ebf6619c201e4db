#pragma once

#include <QIcon>
#include <QPixmap>

namespace tovak {

// The little pictures of the editor, drawn here so the program carries no image files for them.

// Drawn at the left of a list row whose picture has a voice: a loudspeaker with sound waves,
// 16 x 14 pixels, readable on a normal and on a highlighted row.
QPixmap VoiceMarkPixmap();

// The record button's picture: a red dot.
QIcon RecordIcon();

}  // namespace tovak
