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

// A copy stays when the source is cleared; the kept scaled picture follows a resize.
TEST(PictureView, CopiesAnotherViewsPictureAndRescalesOnResize) {
  PictureView source;
  QImage red(40, 20, QImage::Format_RGB32);
  red.fill(Qt::red);
  source.SetPicture(red);
  PictureView copy;
  copy.SetBackground(Qt::black);
  copy.CopyFrom(source);
  source.Clear();
  EXPECT_EQ(source.accessibleDescription(), "No picture");
  EXPECT_EQ(copy.accessibleDescription(), "Picture shown");
  EXPECT_FALSE(copy.accessibleName().isEmpty());

  copy.resize(40, 40);
  EXPECT_EQ(QColor(copy.grab().toImage().pixel(20, 20)), QColor(Qt::red));
  copy.resize(120, 40);
  const QImage wide = copy.grab().toImage();
  EXPECT_EQ(QColor(wide.pixel(2, 20)), QColor(Qt::black));
  EXPECT_EQ(QColor(wide.pixel(60, 5)), QColor(Qt::red));
  EXPECT_EQ(QColor(wide.pixel(117, 20)), QColor(Qt::black));
}

}  // namespace
}  // namespace tovak
