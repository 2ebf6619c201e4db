#include "editor/ui/picture_view.h"

#include <gtest/gtest.h>

namespace tovak {
namespace {

// A wide picture in a square control fills its width and is centred on the background.
TEST(PictureView, ScalesToFitOnItsBackground) {
  PictureView view;
  view.resize(100, 100);
  view.SetBackground(Qt::black);
  QImage wide(200, 100, QImage::Format_RGB32);
  wide.fill(Qt::white);
  view.SetPicture(wide);
  const QImage shown = view.grab().toImage();
  EXPECT_EQ(QColor(shown.pixel(50, 10)), QColor(Qt::black));
  EXPECT_EQ(QColor(shown.pixel(50, 50)), QColor(Qt::white));
  EXPECT_EQ(QColor(shown.pixel(2, 50)), QColor(Qt::white));
  view.Clear();
  EXPECT_TRUE(view.IsEmpty());
}

}  // namespace
}  // namespace tovak
