// Makes a small demo slideshow from pictures and voices drawn and synthesised here, so that a
// fresh checkout can show what the program produces without any files of its own.
#include <sys/stat.h>
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/wav_stream.h"
#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/outputs.h"
#include "common/atomic_file.h"

namespace tovak::cli {

namespace fs = std::filesystem;

namespace {

QImage Landscape(int width, int height, QColor sky, QColor ground, QColor sun) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient air(0, 0, 0, height);
  air.setColorAt(0, sky.darker(140));
  air.setColorAt(1, sky.lighter(130));
  painter.fillRect(image.rect(), air);
  painter.setPen(Qt::NoPen);
  painter.setBrush(sun);
  painter.drawEllipse(QPointF(width * 0.72, height * 0.28), height * 0.09, height * 0.09);
  QPainterPath hills;
  hills.moveTo(0, height);
  for (int x = 0; x <= width; x += 8) {
    hills.lineTo(
        x, height * (0.62 + 0.07 * std::sin(x * 6.0 / width) + 0.03 * std::sin(x * 23.0 / width)));
  }
  hills.lineTo(width, height);
  QLinearGradient earth(0, height * 0.55, 0, height);
  earth.setColorAt(0, ground.lighter(120));
  earth.setColorAt(1, ground.darker(150));
  painter.setBrush(earth);
  painter.drawPath(hills);
  return image;
}

// A hummed phrase: a few notes with a soft attack and decay, 8-bit mono at 11025 Hz.
std::vector<uint8_t> Hum(const std::vector<double>& notes) {
  constexpr int kRate = 11025;
  std::vector<uint8_t> samples;
  for (double frequency : notes) {
    const int length = kRate / 2;
    for (int i = 0; i < length; ++i) {
      const double t = double(i) / kRate;
      const double envelope = std::sin(M_PI * i / length);
      const double wave =
          std::sin(2 * M_PI * frequency * t) + 0.3 * std::sin(4 * M_PI * frequency * t);
      samples.push_back(static_cast<uint8_t>(std::lround(128 + 70 * envelope * wave / 1.3)));
    }
    samples.insert(samples.end(), kRate / 10, 128);
  }
  return samples;
}

void SaveWave(const fs::path& path, const std::vector<uint8_t>& samples) {
  TWavStream wav;
  wav.SetFormat(TWaveFormatEx::Pcm(11025, 1, 8));
  wav.Write(samples.data(), static_cast<int64_t>(samples.size()));
  wav.SaveToFile(path.string());
}

// Encoded in memory and written as every output is: a full disk is then our own one line, not
// the image library's complaint beside it.
std::string SavePicture(const QImage& picture, const fs::path& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const std::string format = path.extension().string().substr(1);
  if (!picture.save(&buffer, format.c_str(), 90))
    return path.string() + ": cannot be written: the picture cannot be encoded";
  return WriteOutput(path.string(), {bytes.begin(), bytes.end()});
}

// A folder of our own beside what the demo makes, holding everything until it is complete; it
// goes with everything in it unless Commit moved that into place.
class Staging {
 public:
  explicit Staging(const fs::path& beside) {
    std::string pattern = (beside / ".tovak-demo-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return;
    path_ = pattern;
    // mkdtemp keeps the folder to its owner; the demo becomes an ordinary folder of the user's.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(path_.c_str(), 0777 & ~mask);
  }
  ~Staging() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  Staging(const Staging&) = delete;
  Staging& operator=(const Staging&) = delete;
  const fs::path& Path() const { return path_; }
  // Its content has been moved into place (or the folder itself was): what remains is ours.
  void Moved(bool itself) {
    if (itself) path_.clear();
  }

 private:
  fs::path path_;
};

// Moves what was made in from into the folder to, which exists: a folder missing there is moved
// whole, files replace those of the same name.
bool MoveInto(const fs::path& from, const fs::path& to, std::error_code& error) {
  for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
    const fs::path target = to / entry.path().filename();
    if (entry.is_directory(error) && fs::is_directory(target, error)) {
      if (!MoveInto(entry.path(), target, error)) return false;
      continue;
    }
    fs::rename(entry.path(), target, error);
    if (error) return false;
  }
  return !error;
}

}  // namespace

int RunDemo(const Arguments& args) try {
  CommandLine line;
  if (!ParseCommandLine(args, {}, line)) return 2;
  if (line.operands.size() != 1) return UsageError("usage: tovak-cli demo DIR");
  fs::path dir = line.operands[0];
  if (!dir.has_filename()) dir = dir.parent_path();  // "demo/" is the folder demo
  const fs::path assets = dir / "pictures";

  struct Slide {
    const char* name;
    QImage picture;
    const char* message;
    std::vector<double> notes;
  };
  const std::vector<Slide> slides = {
      {"01 Morning.jpg",
       Landscape(1600, 1200, QColor(250, 170, 90), QColor(70, 120, 60), QColor(255, 240, 180)),
       "Good morning from the lake!\r\nThe sun came up over the hills.\r\n",
       {392, 440, 494, 523}},
      {"02 Noon.png",
       Landscape(1200, 900, QColor(80, 150, 230), QColor(90, 150, 70), QColor(255, 255, 220)),
       "At noon we walked up the green hill.\r\n",
       {523, 494, 440}},
      {"03 Evening.bmp",
       Landscape(1024, 768, QColor(120, 60, 140), QColor(50, 70, 50), QColor(255, 150, 80)),
       "",
       {330, 392, 330, 262}},
      {"04 Night.jpg",
       Landscape(900, 1200, QColor(20, 30, 70), QColor(20, 40, 30), QColor(230, 230, 255)),
       "Good night, and see you soon.\r\n",
       {}},
  };
  const std::string show = (dir / "Demo Slideshow.exe").string();
  // Every name is judged before anything is drawn, so a refusal leaves nothing behind.
  for (const fs::path& folder : {dir, assets}) {
    if (const std::string problem = FolderProblem(folder.string()); !problem.empty())
      return Fail(problem);
  }
  std::vector<std::string> outputs = {show};
  for (const Slide& slide : slides) {
    const fs::path picture = assets / slide.name;
    outputs.push_back(picture.string());
    for (const char* ext : {".txt", ".wav"})
      outputs.push_back(fs::path(picture).replace_extension(ext).string());
  }
  std::error_code error;
  // A missing folder is made: where it goes must take it.
  if (!fs::exists(dir, error)) outputs = {dir.string()};
  for (const std::string& output : outputs) {
    if (!fs::exists(fs::path(output).parent_path(), error)) continue;
    if (const std::string problem = OutputProblem(output); !problem.empty()) return Fail(problem);
  }
  // Everything is made in a folder of our own beside or inside DIR and moved into place once the
  // slideshow is built, so that a full disk or Ctrl-C leaves DIR as it was.
  const bool fresh = !fs::exists(dir, error);
  const fs::path parent = dir.has_parent_path() ? dir.parent_path() : fs::path(".");
  if (fresh) {
    fs::create_directories(parent, error);
    if (error) return Fail(parent.string() + ": the folder cannot be made: " + error.message());
  }
  Staging staging(fresh ? parent : dir);
  if (staging.Path().empty())
    return Fail((fresh ? parent : dir).string() + ": cannot be written: " + std::strerror(errno));
  const fs::path made = staging.Path() / "pictures";
  fs::create_directory(made, error);
  if (error) return Fail(made.string() + ": the folder cannot be made: " + error.message());
  // Lines name what the user will find, not the staging folder.
  const auto named = [&](const std::string& message) {
    return NamedAsGiven(message, staging.Path().string(), dir.string());
  };

  std::vector<std::string> buildArgs = {"-o",
                                        (staging.Path() / fs::path(show).filename()).string()};
  for (const Slide& slide : slides) {
    const fs::path picture = made / slide.name;
    ThrowIfInterrupted();
    if (const std::string problem = SavePicture(slide.picture, picture); !problem.empty())
      return Fail(named(problem));
    if (*slide.message) {
      const std::string text = slide.message;
      const std::string problem = WriteOutput(fs::path(picture).replace_extension(".txt").string(),
                                              {text.begin(), text.end()});
      if (!problem.empty()) return Fail(named(problem));
    }
    if (!slide.notes.empty()) {
      try {
        SaveWave(fs::path(picture).replace_extension(".wav"), Hum(slide.notes));
      } catch (const Exception& e) {
        return Fail(named(e.Message()));
      }
    }
    buildArgs.push_back(picture.string());
  }
  if (const int status = RunBuildNamed(buildArgs, staging.Path().string(), dir.string()))
    return status;
  ThrowIfInterrupted();
  if (fresh) {
    fs::rename(staging.Path(), dir, error);
  } else {
    MoveInto(staging.Path(), dir, error);
  }
  staging.Moved(fresh && !error);
  if (error) return Fail(dir.string() + ": cannot be written: " + error.message());
  return 0;
} catch (const Exception& e) {
  return Fail(e.Message());
}

}  // namespace tovak::cli
