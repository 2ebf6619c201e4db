#include "editor/ui/tfm_floating_preview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace tovak {
namespace {

// Escape and the close box close the window and say so; hiding it from code does not, so the
// editor's check box keeps its state when the editor hides it.
TEST(TfmFloatingPreview, EscapeClosesItAndSaysSo) {
  TfmFloatingPreview window;
  QSignalSpy closed(&window, &TfmFloatingPreview::Closed);
  window.show();
  window.hide();
  EXPECT_EQ(closed.count(), 0);

  window.show();
  QTest::keyClick(&window, Qt::Key_A);
  EXPECT_TRUE(window.isVisible());
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(closed.count(), 1);

  window.show();
  window.close();
  EXPECT_EQ(closed.count(), 2);
}

// An empty window is black all over, its picture view fills it, and it starts at its size in the
// middle of the screen.
TEST(TfmFloatingPreview, ShowsItsPictureOnBlackFillingTheWindow) {
  TfmFloatingPreview window;
  window.show();
  EXPECT_EQ(window.windowTitle(), "Floating Preview");
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(window.frameGeometry().size(), QSize(318, 229));
  EXPECT_EQ(window.frameGeometry().center(), window.screen()->availableGeometry().center());
  EXPECT_EQ(window.ltPreview()->geometry(), window.rect());
  EXPECT_EQ(QColor(window.grab().toImage().pixel(10, 10)), QColor(Qt::black));

  window.resize(500, 300);
  QApplication::processEvents();
  EXPECT_EQ(window.ltPreview()->size(), QSize(500, 300));
}

// A transparent picture shows on white, as the show flattens it, while the window around it
// stays black.
TEST(TfmFloatingPreview, ShowsTransparentPartsOnWhiteAsTheShowDoes) {
  TfmFloatingPreview window;
  window.resize(300, 100);
  QImage picture(100, 100, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  window.ltPreview()->SetPicture(picture);
  window.show();
  const QImage shown = window.ltPreview()->grab().toImage();
  ASSERT_GT(shown.width(), shown.height() + 10);
  EXPECT_EQ(QColor(shown.pixel(shown.width() / 2, shown.height() / 2)), QColor(Qt::white));
  EXPECT_EQ(QColor(shown.pixel(2, shown.height() / 2)), QColor(Qt::black));
}

}  // namespace
}  // namespace tovak
