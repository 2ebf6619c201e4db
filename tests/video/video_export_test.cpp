#include "video/video_export.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cmath>
#include <filesystem>

#include "audio/wav_stream.h"
#include "builder/package_reader.h"
#include "builder/plimo.h"
#include "player/show_timing.h"
#include "player/slide_painting.h"
#include "support/full_disk.h"
#include "support/package_fixture.h"
#include "support/run_command.h"
#include "video/mp4_reading.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

// Three plain pictures: red with a message, green with a second of 440 Hz voice, blue with
// neither.
class VideoShow : public ::testing::Test, protected testing::PackageFixture {
 protected:
  void SetUp() override {
    const std::vector<QColor> colours = {Qt::red, Qt::green, Qt::blue};
    std::vector<std::string> pictures;
    for (size_t i = 0; i < colours.size(); ++i) {
      QImage image(400, 300, QImage::Format_RGB32);
      image.fill(colours[i]);
      pictures.push_back(dir.File("p" + std::to_string(i) + ".png"));
      ASSERT_TRUE(image.save(QString::fromStdString(pictures.back())));
    }
    TWavStream wav;
    wav.SetFormat(TWaveFormatEx::Pcm(22050, 1, 16));
    std::vector<int16_t> tone(22050);
    for (size_t i = 0; i < tone.size(); ++i)
      tone[i] = static_cast<int16_t>(std::lround(16000 * std::sin(2 * M_PI * 440 * i / 22050.0)));
    wav.Write(tone.data(), static_cast<int64_t>(tone.size() * 2));
    wav.SaveToFile(dir.File("tone.wav"));
    TPlimo builder(paths);
    builder.SetPictures(pictures);
    builder.SetMessages({Text("red.txt", "A red square from the garden"), Text("g.txt", "Hi"), ""});
    builder.SetVoices({"", dir.File("tone.wav"), ""});
    builder.TrailerFlag = 1;
    ASSERT_TRUE(builder.Build()) << builder.LastError;
    package = builder.OutputFile;
    // When each picture starts in the players' timing, and the end.
    starts = {0, TimeSlide(28).withoutVoiceMs / 1000.0};
    starts.push_back(starts[1] + 1.0 + TimeSlide(2).afterVoiceMs / 1000.0);
    starts.push_back(starts[2] + TimeSlide(0).withoutVoiceMs / 1000.0);
  }

  std::string package;
  std::vector<double> starts;
};

TEST_F(VideoShow, PlaysAsThePlayersShowIt) {
  const std::string out = dir.File("Trip.mp4");
  VideoExportOptions options;
  options.width = 854;
  options.height = 480;
  int calls = 0;
  options.progress = [&](int picture, int pictures, int percent) {
    EXPECT_TRUE(picture >= 1 && picture <= 3 && pictures == 3 && percent >= 0 && percent <= 100);
    ++calls;
    return true;
  };
  const VideoExportReport report = ExportVideoSlideshow(package, out, options);
  EXPECT_EQ(report.pictures, 3);
  EXPECT_EQ(report.voices, 1);
  EXPECT_TRUE(report.warnings.empty());
  EXPECT_EQ(report.bytes, static_cast<int64_t>(fs::file_size(out)));
  EXPECT_GT(calls, 20);

  std::vector<double> middles;
  for (size_t i = 0; i < 3; ++i)
    middles.push_back(std::round((starts[i] + starts[i + 1]) * 12.5) / 25);
  const testing::Mp4Contents video = testing::ReadMp4(out, middles);
  EXPECT_NE(video.container.find("mp4"), std::string::npos);
  EXPECT_EQ(video.video.count, 1);
  EXPECT_EQ(video.video.codec, "h264");
  EXPECT_EQ(video.video.profile, 100);  // High
  EXPECT_EQ(video.video.pixelFormat, "yuv420p");
  EXPECT_EQ(video.video.width, 854);
  EXPECT_EQ(video.video.height, 480);
  EXPECT_DOUBLE_EQ(video.video.framesPerSecond, 25);
  EXPECT_EQ(video.audio.count, 1);
  EXPECT_EQ(video.audio.codec, "aac");
  EXPECT_EQ(video.audio.channels, 1);
  EXPECT_EQ(video.audio.profile, 1);  // LC
  EXPECT_NEAR(video.seconds, starts[3], 0.1);
  EXPECT_NEAR(report.durationMs / 1000.0, starts[3], 0.1);
  // The index is at the front, so the video plays while it downloads.
  const std::vector<uint8_t> bytes = ReadBytes(out);
  const std::string head(bytes.begin(), bytes.begin() + 4096);
  EXPECT_LT(head.find("moov"), head.find("mdat"));

  // A key frame where each picture begins, and never more than two seconds apart.
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(std::any_of(video.video.keyFrames.begin(), video.video.keyFrames.end(),
                            [&](double at) { return std::abs(at - starts[i]) <= 0.021; }))
        << "picture " << i + 1;
  }
  ASSERT_FALSE(video.video.keyFrames.empty());
  for (size_t i = 1; i < video.video.keyFrames.size(); ++i)
    EXPECT_LE(video.video.keyFrames[i] - video.video.keyFrames[i - 1], 2.001);

  // Each picture in its colour, letterboxed on black, the message in its band below.
  const std::vector<QColor> colours = {Qt::red, Qt::green, Qt::blue};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const QImage& frame = video.frames[i];
    ASSERT_FALSE(frame.isNull());
    const QColor middle = frame.pixelColor(frame.width() / 2, frame.height() / 3);
    EXPECT_NEAR(middle.red(), colours[i].red(), 24);
    EXPECT_NEAR(middle.green(), colours[i].green(), 24);
    EXPECT_NEAR(middle.blue(), colours[i].blue(), 24);
    EXPECT_LT(frame.pixelColor(4, frame.height() / 3).lightness(), 24);
  }
  int bright = 0, dark = 0;
  for (int y = 400; y < 480; ++y)
    for (int x = 0; x < 854; ++x) (qGray(video.frames[0].pixel(x, y)) > 160 ? bright : dark)++;
  EXPECT_GT(bright, 200);                                  // drawn letters
  EXPECT_GT(dark, 20000);                                  // on the band
  EXPECT_GT(qBlue(video.frames[2].pixel(427, 470)), 200);  // no band without a message

  // The voice sounds on its picture, and its pause and the silent pictures are quiet.
  const std::vector<float>& sound = video.audio.samples;
  const int rate = video.audio.rate;
  EXPECT_GT(testing::ToneStrength(sound, rate, starts[1] + 0.1, starts[1] + 0.9, 440), 0.3);
  EXPECT_LT(testing::ToneStrength(sound, rate, starts[1] + 0.1, starts[1] + 0.9, 660), 0.02);
  EXPECT_LT(testing::Peak(sound, rate, starts[1] + 1.1, starts[2] - 0.05), 0.01);
  EXPECT_LT(testing::Peak(sound, rate, 0.1, starts[1] - 0.1), 0.01);
  EXPECT_LT(testing::Peak(sound, rate, starts[2] + 0.1, starts[3] - 0.1), 0.01);
}

TEST_F(VideoShow, DamageIsNamedAndFailuresLeaveNothing) {
  // The red picture and the voice damaged in the package.
  std::vector<uint8_t> bytes = ReadBytes(package);
  PackageReader::Record image, voice;
  {
    PackageReader reader;
    reader.Open(package);
    image = reader.ImageRecord(0);
    voice = reader.VoiceRecord(1);
  }
  for (int64_t k = 0; k < 16; ++k) bytes[size_t(image.offset + k)] ^= 0x5A;
  for (int64_t k = 0; k < voice.size; ++k) bytes[size_t(voice.offset + k)] ^= 0x5A;
  const std::string damaged = dir.File("damaged.exe");
  testing::WriteBytes(damaged, bytes);
  const std::string out = dir.File("Damaged.mp4");
  VideoExportOptions options;
  options.width = 320;
  options.height = 240;
  const VideoExportReport report = ExportVideoSlideshow(damaged, out, options);
  ASSERT_EQ(report.warnings.size(), 2u);
  EXPECT_EQ(report.warnings[0].rfind("picture 2: its voice", 0), 0u) << report.warnings[0];
  EXPECT_EQ(report.warnings[1].rfind("picture 1: its picture", 0), 0u) << report.warnings[1];
  EXPECT_EQ(report.voices, 0);
  // The silent picture takes a picture's time without a voice, as in the players.
  const double length =
      TimeSlide(28).withoutVoiceMs + TimeSlide(2).withoutVoiceMs + TimeSlide(0).withoutVoiceMs;
  const testing::Mp4Contents video = testing::ReadMp4(out, {1.0});
  EXPECT_NEAR(video.seconds, length / 1000, 0.1);
  ASSERT_FALSE(video.frames[0].isNull());
  EXPECT_LT(qGray(video.frames[0].pixel(160, 60)), 24);

  // Cancelled, unwritable, cut short or refused: no video, and the older one stays whole.
  const std::vector<uint8_t> older = ReadBytes(out);
  int calls = 0;
  options.progress = [&](int, int, int) { return ++calls < 10; };
  EXPECT_THROW(ExportVideoSlideshow(package, out, options), EVideoExportCancelled);
  options.progress = nullptr;
  EXPECT_THROW(ExportVideoSlideshow(package, dir.File("gone/x.mp4"), options), EVideoExportError);
  {
    const testing::FullDisk full(older.size() / 2);
    EXPECT_THROW(ExportVideoSlideshow(package, out, options), EVideoExportError);
  }
  fs::copy_file(package, dir.File("cut.exe"));
  fs::resize_file(dir.File("cut.exe"), fs::file_size(package) - 50);
  EXPECT_THROW(ExportVideoSlideshow(dir.File("cut.exe"), out, options), EPackageError);
  EXPECT_THROW(ExportVideoSlideshow(package, package, options), EVideoExportError);
  for (const auto& [width, height] : {std::pair{853, 480}, {854, 481}, {32, 32}, {8192, 4320}}) {
    options.width = width;
    options.height = height;
    EXPECT_NE(VideoSizeProblem(width, height), "") << width << "x" << height;
    EXPECT_THROW(ExportVideoSlideshow(package, out, options), EVideoExportError);
  }
  for (const auto& [width, height] : {std::pair{1920, 1080}, {1280, 720}, {854, 480}, {720, 1280}})
    EXPECT_EQ(VideoSizeProblem(width, height), "") << width << "x" << height;
  EXPECT_EQ(ReadBytes(out), older);
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename().string().rfind(".tovak", 0), std::string::npos)
        << entry.path();
}

// A portrait frame keeps the letters of a landscape one and lets a long message fill the black
// that a landscape picture leaves; a cut line ends by itself, and blank lines draw no band.
TEST(SlideLayout, PortraitFramesFitWhatLandscapeFitsAndCutCleanly) {
  const QFont font = QGuiApplication::font();
  const QSize picture(800, 600), landscape(1280, 720), portrait(720, 1280);
  QString lines;
  for (int i = 1; i <= 14; ++i) lines += QString("Line %1 of the day at the sea\n").arg(i);
  auto layOut = [&](const QString& text, const QSize& size, const QSize& shown = QSize(800, 600)) {
    MessageBand band;
    band.SetText(text);
    const SlideGeometry geometry = LayOutSlide(band, font, size, shown);
    return std::make_pair(geometry, band.ShownText());
  };
  const QString five = lines.section('\n', 0, 4);
  const auto [wide, wideText] = layOut(five, landscape);
  ASSERT_EQ(wideText, QString(five).replace('\n', QChar::LineSeparator));
  const auto [tall, tallText] = layOut(five, portrait);
  EXPECT_EQ(tallText.toStdString(), wideText.toStdString());
  EXPECT_EQ(tall.font.pixelSize(), wide.font.pixelSize());

  // Fourteen lines take more than a third of the portrait frame, and the picture keeps its size.
  const auto [grown, grownText] = layOut(lines.trimmed(), portrait);
  EXPECT_FALSE(grownText.endsWith(QChar(0x2026))) << grownText.toStdString();
  EXPECT_GT(grown.band.height(), portrait.height() / 3);
  EXPECT_GE(grown.picture.height(), picture.scaled(portrait, Qt::KeepAspectRatio).height());

  // Cut, the last line shown is one of the message's lines, never two run together.
  const auto [cut, cutText] = layOut(lines, landscape);
  ASSERT_TRUE(cutText.endsWith(QChar(0x2026))) << cutText.toStdString();
  const QString last = cutText.section(QChar::LineSeparator, -1).chopped(1);
  EXPECT_TRUE(last.startsWith("Line ")) << last.toStdString();
  EXPECT_EQ(last.count("Line"), 1) << last.toStdString();

  EXPECT_EQ(layOut("\n \n\t\n", landscape).first.band.height(), 0);
}

// The command line refuses sizes it cannot make, and Ctrl-C stops it with nothing left.
TEST_F(VideoShow, TheCommandLineChecksItsSizeAndStopsWhenInterrupted) {
  const std::string cli = TOVAK_CLI_PATH;
  const std::string out = dir.File("cli.mp4");
  for (const char* size : {"853x480", "16x16", "big"}) {
    const auto run = testing::RunCommand(cli + " export-video --size " + size + " " +
                                         testing::Quote(package) + " " + testing::Quote(out));
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("--size"), std::string::npos) << run.output;
  }
  const auto made = testing::RunCommand(cli + " export-video --size 320x240 " +
                                        testing::Quote(package) + " " + testing::Quote(out));
  ASSERT_EQ(made.status, 0) << made.output;
  const std::vector<uint8_t> older = ReadBytes(out);
  const auto run = testing::RunCommand(
      "(exec " + cli + " export-video --size 1920x1080 " + testing::Quote(package) + " " +
      testing::Quote(out) + ") & pid=$!; for i in $(seq 1000); do ls -A " +
      testing::Quote(dir.Path().string()) +
      " | grep -q '^[.]tovak-' && break; sleep 0.01; done; kill -INT $pid; wait $pid");
  EXPECT_EQ(run.status, 130) << run.output;
  EXPECT_EQ(ReadBytes(out), older);
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename().string().rfind(".tovak", 0), std::string::npos);
}

}  // namespace
}  // namespace tovak

int main(int argc, char** argv) {
  // The slides are drawn off screen, as the command line draws them.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
