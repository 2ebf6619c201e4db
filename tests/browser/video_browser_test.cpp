// The exported video in a real browser: it loads, knows its length and size, plays, and shows
// each picture at its time.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <cstdio>

#include "builder/plimo.h"
#include "player/show_timing.h"
#include "support/headless_chromium.h"
#include "support/package_fixture.h"
#include "support/run_command.h"

namespace tovak {
namespace {

using testing::HeadlessChromium;

TEST(VideoInBrowser, LoadsPlaysAndShowsEachPictureAtItsTime) {
  const auto chromium = HeadlessChromium::FindChromium();
  if (!chromium) GTEST_SKIP() << "no Chromium found: install chromium or set TOVAK_CHROMIUM";
  testing::PackageFixture fixture;
  std::vector<std::string> pictures;
  for (const QColor colour : {QColor(Qt::red), QColor(Qt::green)}) {
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(colour);
    pictures.push_back(fixture.dir.File(colour.name().mid(1).toStdString() + ".png"));
    ASSERT_TRUE(image.save(QString::fromStdString(pictures.back())));
  }
  TPlimo builder(fixture.paths);
  builder.SetPictures(pictures);
  builder.SetMessages({"", ""});
  builder.SetVoices({"", ""});
  builder.TrailerFlag = 1;
  ASSERT_TRUE(builder.Build()) << builder.LastError;
  const std::string video = fixture.dir.File("show.mp4");
  const auto made =
      testing::RunCommand(std::string(TOVAK_CLI_PATH) + " export-video --size " + "320x240 " +
                          testing::Quote(builder.OutputFile) + " " + testing::Quote(video));
  ASSERT_EQ(made.status, 0) << made.output;

  // From a data: URL the frames may be read back from a canvas.
  const std::vector<uint8_t> bytes = testing::ReadBytes(video);
  const QByteArray base64 =
      QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())).toBase64();
  const std::string page = fixture.dir.File("video.html");
  const std::string html =
      "<!doctype html><video id=v muted playsinline src=\"data:video/mp4;base64," +
      base64.toStdString() + "\"></video><canvas id=c></canvas>";
  testing::WriteBytes(page, std::vector<uint8_t>(html.begin(), html.end()));
  HeadlessChromium browser(*chromium);
  browser.Navigate("file://" + page);
  ASSERT_TRUE(browser.WaitFor("v.readyState >= 1", 20000));
  const double length = 2 * TimeSlide(0).withoutVoiceMs / 1000.0;
  EXPECT_NEAR(browser.Evaluate("v.duration").toDouble(), length, 0.1);
  EXPECT_EQ(browser.Evaluate("v.videoWidth").toInt(), 320);
  EXPECT_EQ(browser.Evaluate("v.videoHeight").toInt(), 240);
  EXPECT_EQ(browser.Evaluate("v.play().then(() => 'playing', e => e.name)").toString(), "playing");
  EXPECT_TRUE(browser.WaitFor("v.currentTime > 0.2", 10000));
  browser.Evaluate("v.pause()");
  // The middle of the second picture's time: its colour in the middle of the frame.
  const std::string colour = browser
                                 .Evaluate(
                                     "new Promise((done) => {"
                                     "  v.addEventListener('seeked', () => {"
                                     "    c.width = 320; c.height = 240;"
                                     "    const g = c.getContext('2d');"
                                     "    g.drawImage(v, 0, 0);"
                                     "    done(Array.from(g.getImageData(160, 120, 1, 1).data)"
                                     "      .slice(0, 3).join()); }, {once: true});"
                                     "  v.currentTime = " +
                                     std::to_string(length * 0.75) + "; })")
                                 .toString()
                                 .toStdString();
  int red = -1, green = -1, blue = -1;
  ASSERT_EQ(std::sscanf(colour.c_str(), "%d,%d,%d", &red, &green, &blue), 3) << colour;
  EXPECT_LT(red, 40) << colour;
  EXPECT_GT(green, 200) << colour;
  EXPECT_LT(blue, 40) << colour;
  EXPECT_EQ(testing::ReadBytes(video), bytes);
}

}  // namespace
}  // namespace tovak
