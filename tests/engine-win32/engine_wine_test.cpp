// The Windows engine under wine, as someone who double-clicks a show sees and hears it: its
// own X server, its own sound server with a null sink, and a shared wine prefix.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::Quote;
using testing::RunCommand;

// The voice: a tone, a gap, a tone, each this long; its shape is what the recording must show.
constexpr int kToneMs = 400;
constexpr int kVoiceRate = 22050;

std::string Missing() {
  for (const char* tool : {"wine", "Xvfb", "xdotool", "import", "convert", "pulseaudio", "parec"}) {
    if (RunCommand(std::string("command -v ") + tool).status != 0) return tool;
  }
  return {};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Le(uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
  return out;
}

void WriteVoice(const std::string& path) {
  std::string samples;
  for (int i = 0; i < 3 * kToneMs * kVoiceRate / 1000; ++i) {
    const bool on = i < kToneMs * kVoiceRate / 1000 || i >= 2 * kToneMs * kVoiceRate / 1000;
    samples += Le(
        uint16_t(int16_t(on ? 12000 * std::sin(2 * std::numbers::pi * 440 * i / kVoiceRate) : 0)),
        2);
  }
  WriteFile(path, "RIFF" + Le(36 + samples.size(), 4) + "WAVEfmt " + Le(16, 4) + Le(1, 2) +
                      Le(1, 2) + Le(kVoiceRate, 4) + Le(2 * kVoiceRate, 4) + Le(2, 2) + Le(16, 2) +
                      "data" + Le(samples.size(), 4) + samples);
}

// A copy of a package with some of its records replaced: by other bytes, or by a stretch of
// zeros that the file system does not store. Records count from 0: a picture's JPEG, voice and
// message, picture after picture, then the link menu.
struct Replacement {
  int record;
  std::string bytes;
  int64_t zeros = 0;
};

void Repack(const std::string& from, const std::string& to,
            const std::vector<Replacement>& changes) {
  std::ifstream in(from, std::ios::binary);
  const std::string package((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto le = [&](size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | uint8_t(package[at + i]);
    return value;
  };
  const size_t records = 3 * le(package.size() - 12) + 1;
  const size_t table = package.size() - 16 - 8 * records;
  const int fd = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  int64_t at = le(table);
  ASSERT_EQ(pwrite(fd, package.data(), at, 0), at);
  std::string index;
  for (size_t k = 0; k < records; ++k) {
    std::string bytes = package.substr(le(table + 8 * k), le(table + 8 * k + 4));
    int64_t size = int64_t(bytes.size());
    for (const Replacement& change : changes) {
      if (change.record != int(k)) continue;
      bytes = change.bytes;
      size = change.zeros > 0 ? change.zeros : int64_t(bytes.size());
    }
    if (!bytes.empty()) {
      ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), at), ssize_t(bytes.size()));
    }
    index += Le(uint32_t(at), 4) + Le(uint32_t(size), 4);
    at += size;
  }
  index += package.substr(package.size() - 16);
  ASSERT_EQ(pwrite(fd, index.data(), index.size(), at), ssize_t(index.size()));
  close(fd);
}

// The most memory the process has held, in MB, as the system counts it.
int PeakMegabytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::atoi(line.c_str() + 6) / 1024;
  }
  return -1;
}

// Runs a program under wine. Its output goes through a file: wine's own helper processes keep
// a pipe open long after the program has ended.
testing::CommandResult Wine(const std::string& arguments) {
  return RunCommand("log=$(mktemp); wine " + arguments +
                    " >\"$log\" 2>&1; status=$?; cat \"$log\"; rm -f \"$log\"; exit $status");
}

// A child process started without a shell, so that it can be ended by its own id.
class Child {
 public:
  explicit Child(const std::vector<std::string>& args, const std::string& output = "/dev/null") {
    pid_ = fork();
    if (pid_ == 0) {
      dup2(open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      dup2(open("/dev/null", O_WRONLY), 2);
      std::vector<char*> argv;
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(127);
    }
  }
  ~Child() { Stop(); }
  // The exit status once it has ended within the time, else -1.
  int Wait(std::chrono::milliseconds limit) {
    for (auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(50ms)) {
      int status = 0;
      if (pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
    }
    return -1;
  }
  pid_t Pid() const { return pid_; }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

// The X server, the sound server and the prefix's wine server live as long as the test program.
class WineWorld : public ::testing::Environment {
 public:
  void SetUp() override {
    missing = Missing();
    if (!missing.empty() || !fs::exists(std::string(TOVAK_WINE_PREFIX) + "/.tovak-ready")) return;
    dir = std::make_unique<testing::TempDir>();
    // Links open through xdg-open; here they are only noted.
    fs::create_directories(dir->File("bin"));
    for (const char* name : {"xdg-open", "xdg-email"}) {
      WriteFile(dir->File(std::string("bin/") + name),
                "#!/bin/sh\necho \"$0 $*\" >> " + Quote(dir->File("opened")) + "\n");
      fs::permissions(dir->File(std::string("bin/") + name), fs::perms::owner_all);
    }
    setenv("PATH", (dir->File("bin") + ":" + getenv("PATH")).c_str(), 1);
    setenv("WINEPREFIX", TOVAK_WINE_PREFIX, 1);
    setenv("WINEARCH", "win32", 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d", 1);
    setenv("LC_ALL", "C.UTF-8", 1);  // names reach wine as UTF-8

    // A display number nobody holds.
    int number = 100 + getpid() % 400;
    while (fs::exists("/tmp/.X" + std::to_string(number) + "-lock")) ++number;
    display = ":" + std::to_string(number);
    xvfb = std::make_unique<Child>(std::vector<std::string>{"Xvfb", display, "-screen", "0",
                                                            "800x600x24", "-nolisten", "tcp"});
    setenv("DISPLAY", display.c_str(), 1);
    const std::string pulse = dir->File("pulse");
    fs::create_directories(pulse);
    setenv("PULSE_RUNTIME_PATH", pulse.c_str(), 1);
    setenv("PULSE_STATE_PATH", pulse.c_str(), 1);
    sound = std::make_unique<Child>(std::vector<std::string>{
        "pulseaudio", "-n", "--exit-idle-time=-1", "--disallow-exit", "--disable-shm=yes",
        "--load=module-native-protocol-unix auth-anonymous=1 socket=" + pulse + "/native",
        "--load=module-null-sink sink_name=engine"});
    setenv("PULSE_SERVER", ("unix:" + pulse + "/native").c_str(), 1);
    for (int i = 0; i < 100; ++i) {
      if (RunCommand("xdotool getmouselocation").status == 0 &&
          RunCommand("pactl info").status == 0) {
        ready = true;
        break;
      }
      std::this_thread::sleep_for(100ms);
    }
    // One wine server for every start, instead of one each.
    RunCommand("wineserver -p >/dev/null 2>&1 </dev/null");
  }
  void TearDown() override {
    if (dir) RunCommand("wineserver -k >/dev/null 2>&1");
    sound.reset();
    xvfb.reset();
  }

  std::string missing;
  bool ready = false;
  std::string display;
  std::unique_ptr<testing::TempDir> dir;
  std::unique_ptr<Child> xvfb;
  std::unique_ptr<Child> sound;
};

WineWorld* world = nullptr;

// Presses Enter in a message box until its program ends (the box takes the keys only once it
// has the focus); the program's exit status, or -1 when it never ends.
int Answer(Child& program) {
  for (int i = 0; i < 20; ++i) {
    RunCommand("xdotool key Return");
    if (const int status = program.Wait(500ms); status != -1) return status;
  }
  return -1;
}

// Waits until a window whose title holds the name is there.
bool WaitForWindow(const std::string& name, std::chrono::milliseconds limit) {
  for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(50ms)) {
    if (RunCommand("xdotool search --name " + Quote(name)).status == 0) return true;
  }
  return false;
}

class WindowsEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!world->missing.empty()) GTEST_SKIP() << world->missing << " is not installed: skipped";
    if (!world->dir) GTEST_SKIP() << "wine has no prefix for the tests: skipped";
    ASSERT_TRUE(world->ready) << "the X server or the sound server did not start";
    // A red and a blue picture, messages in UTF-8 and in the Windows code page, one voice.
    const std::string pics = dir.File("pics");
    fs::create_directories(pics);
    ASSERT_EQ(RunCommand("convert -size 640x480 xc:'#c03020' " + Quote(pics + "/a.jpg") +
                         " && convert -size 640x480 xc:'#2040c0' " + Quote(pics + "/b.jpg"))
                  .status,
              0);
    WriteFile(pics + "/a.txt",
              "Gr\xC3\xBC\xC3\x9F"
              "e \xE2\x98\xBA\r\n");
    WriteFile(pics + "/b.txt", "caf\xE9 \x80 5\r\n");
    WriteVoice(pics + "/a.wav");
    show = dir.File("show.exe");
    const auto run =
        RunCommand("XDG_CONFIG_HOME=" + Quote(dir.File("cfg")) + " " + TOVAK_CLI + " build -o " +
                   Quote(show) + " " + Quote(pics + "/a.jpg") + " " + Quote(pics + "/b.jpg"));
    ASSERT_EQ(run.status, 0) << run.output;
  }

  // The colour of a screen pixel as "R,G,B".
  static std::string Pixel(int x, int y) {
    const auto run = RunCommand("import -window root -crop 1x1+" + std::to_string(x) + "+" +
                                std::to_string(y) + " -depth 8 txt:- | tail -1");
    const size_t open = run.output.find('(');
    return open == std::string::npos ? run.output
                                     : run.output.substr(open + 1, run.output.find(')') - open - 1);
  }

  // JPEG may shift a colour by a step or two; the pictures differ by far more.
  static bool Near(const std::string& pixel, const char* colour) {
    int a[3] = {}, b[3] = {};
    if (std::sscanf(pixel.c_str(), "%d,%d,%d", &a[0], &a[1], &a[2]) != 3) return false;
    std::sscanf(colour, "%d,%d,%d", &b[0], &b[1], &b[2]);
    for (int i = 0; i < 3; ++i)
      if (std::abs(a[i] - b[i]) > 12) return false;
    return true;
  }

  // Waits until the centre of the screen shows the colour.
  static bool WaitForCentre(const char* colour, std::chrono::milliseconds limit) {
    for (auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end;) {
      if (Near(Pixel(400, 250), colour)) return true;
      std::this_thread::sleep_for(50ms);
    }
    return false;
  }

  static constexpr const char* kRed = "192,48,32";
  static constexpr const char* kBlue = "32,64,192";

  testing::TempDir dir;
  std::string show;
};

TEST_F(WindowsEngine, ChecksAsTheLinuxPlayerDoes) {
  const auto onLinux = RunCommand(std::string(TOVAK_PLAYER) + " --check " + Quote(show));
  const auto windows = Wine(Quote(show) + " --check");
  ASSERT_EQ(onLinux.status, 0) << onLinux.output;
  EXPECT_EQ(windows.status, 0) << windows.output;
  // The same listing below the first line, which names the file as each system does.
  const auto below = [](const std::string& text) { return text.substr(text.find('\n')); };
  EXPECT_EQ(below(windows.output), below(onLinux.output));
  EXPECT_NE(windows.output.find("\"Gr\xC3\xBC\xC3\x9F"
                                "e \xE2\x98\xBA\""),
            std::string::npos);
  EXPECT_NE(windows.output.find("\"caf\xC3\xA9 \xE2\x82\xAC 5\""), std::string::npos);

  // A show in a folder whose name is not ASCII finds and reads its own file.
  const std::string folder = dir.File("Fotos \xC3\xBC \xE2\x98\xBA");
  fs::create_directories(folder);
  fs::copy_file(show, folder + "/Trip.exe");
  auto run = Wine(Quote(folder + "/Trip.exe") + " --check");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("Fotos \xC3\xBC \xE2\x98\xBA\\Trip.exe: 2 pictures"), std::string::npos)
      << run.output;

  // Cut short: refused with the reason, and a failing status.
  fs::copy_file(show, dir.File("cut.exe"));
  fs::resize_file(dir.File("cut.exe"), fs::file_size(show) - 100);
  run = Wine(Quote(dir.File("cut.exe")) + " --check");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("not a complete slideshow"), std::string::npos) << run.output;

  // Double-clicked, the damaged show says why in one message box, and fails.
  {
    Child damaged({"wine", dir.File("cut.exe")});
    bool boxShown = false;
    for (int i = 0; i < 100 && !boxShown; ++i) {
      boxShown = RunCommand("xdotool search --name 'Talking slideshow'").status == 0;
      if (!boxShown) std::this_thread::sleep_for(100ms);
    }
    EXPECT_TRUE(boxShown);
    EXPECT_EQ(Answer(damaged), 1);
  }

  // The engine alone.
  fs::copy_file(TOVAK_ENGINE, dir.File("engine.exe"));
  run = Wine(Quote(dir.File("engine.exe")) + " --check");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("no slideshow attached"), std::string::npos) << run.output;

  // The same words on the command line, the same answers; each program names itself.
  for (const char* words : {"--version", "--lang=2 --check", "--lang abc --check",
                            "--lang 0 --check", "--lang=100 --check", "--lang", "--wrong"}) {
    const auto onLinux = RunCommand(std::string(TOVAK_PLAYER) + " " + words);
    const auto windows = Wine(Quote(dir.File("engine.exe")) + " " + words);
    const auto unnamed = [](std::string text) {
      const size_t see = text.find("(see ");
      if (see != std::string::npos) text.replace(see, text.find(" --help)") - see, "(see PLAYER");
      return text;
    };
    EXPECT_EQ(windows.status, onLinux.status) << words << "\n" << windows.output;
    EXPECT_EQ(unnamed(windows.output), unnamed(onLinux.output)) << words;
  }

  // A picture stored as PNG where its JPEG belongs is refused by both, in the same words.
  ASSERT_EQ(RunCommand("convert -size 64x48 xc:'#20c040' " + Quote(dir.File("green.png"))).status,
            0);
  std::ifstream png(dir.File("green.png"), std::ios::binary);
  Repack(
      show, dir.File("png.exe"),
      {{0, std::string((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>())}});
  const auto linuxPng =
      RunCommand(std::string(TOVAK_PLAYER) + " --check " + Quote(dir.File("png.exe")));
  run = Wine(Quote(dir.File("png.exe")) + " --check");
  EXPECT_EQ(linuxPng.status, 1) << linuxPng.output;
  EXPECT_EQ(run.status, 1) << run.output;
  // The order of the lines on the two streams may differ; the file is named as each system does.
  const auto listed = [](const std::string& text) {
    std::vector<std::string> lines;
    for (size_t at = 0, end; at < text.size(); at = end + 1) {
      end = std::min(text.find('\n', at), text.size());
      if (!text.substr(at, end - at).ends_with(" pictures"))
        lines.push_back(text.substr(at, end - at));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  };
  EXPECT_EQ(listed(run.output), listed(linuxPng.output));
  EXPECT_NE(run.output.find("picture 1: the picture cannot be decoded (JPEG: not a JPEG file)"),
            std::string::npos)
      << run.output;

  // One picture is one picture.
  const std::string one = dir.File("one.exe");
  ASSERT_EQ(RunCommand("XDG_CONFIG_HOME=" + Quote(dir.File("cfg")) + " " + TOVAK_CLI +
                       " build -o " + Quote(one) + " " + Quote(dir.File("pics/b.jpg")))
                .status,
            0);
  for (const auto& listing : {RunCommand(std::string(TOVAK_PLAYER) + " --check " + Quote(one)),
                              Wine(Quote(one) + " --check")})
    EXPECT_NE(listing.output.find("one.exe: 1 picture\n"), std::string::npos) << listing.output;
}

TEST_F(WindowsEngine, AnErrorBoxStaysUntilAnswered) {
  fs::copy_file(TOVAK_ENGINE, dir.File("engine.exe"));
  Child alone({"wine", dir.File("engine.exe")});
  ASSERT_TRUE(WaitForWindow("Talking slideshow", 15s));
  // Longer than the time after which it used to go by itself.
  std::this_thread::sleep_for(9s);
  EXPECT_EQ(RunCommand("xdotool search --name 'Talking slideshow'").status, 0)
      << "the box went away unanswered";
  EXPECT_EQ(Answer(alone), 1);
}

TEST_F(WindowsEngine, ShowsPicturesWithTheirMessagesAndPlaysTheVoice) {
  const std::string recording = dir.File("heard.raw");
  Child recorder({"parec", "--device=engine.monitor", "--raw", "--format=s16le", "--rate=8000",
                  "--channels=1", "--latency-msec=20"},
                 recording);
  // The recorder takes a while to begin; the voice must not start before it hears.
  for (int i = 0; i < 100 && (!fs::exists(recording) || fs::file_size(recording) < 3200); ++i) {
    std::this_thread::sleep_for(50ms);
  }
  const auto start = std::chrono::steady_clock::now();
  Child engine({"wine", show});
  ASSERT_TRUE(WaitForCentre(kRed, 20s)) << "the first picture never showed: " << Pixel(400, 250);
  const auto startup = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  std::printf("start-up to the first picture under wine: %lld ms\n", (long long)startup.count());
  RecordProperty("startup_ms", int(startup.count()));

  // The message band: the band's grey at the bottom, with light text in it.
  const auto band = RunCommand(
      "import -window root -crop 800x40+0+555 -depth 8 -format '%[fx:round(minima.r*255)] "
      "%[fx:round(maxima.r*255)]' info:");
  int darkest = -1, lightest = -1;
  std::sscanf(band.output.c_str(), "%d %d", &darkest, &lightest);
  EXPECT_EQ(darkest, 24) << band.output;
  EXPECT_GT(lightest, 200) << band.output;

  // The show moves on by itself once the voice has played and the message had its time.
  EXPECT_TRUE(WaitForCentre(kBlue, 15s)) << Pixel(400, 250);
  recorder.Stop();

  // Keys move it by hand.
  RunCommand("xdotool key Home");
  EXPECT_TRUE(WaitForCentre(kRed, 1s)) << Pixel(400, 250);
  RunCommand("xdotool key Right");
  EXPECT_TRUE(WaitForCentre(kBlue, 1s)) << Pixel(400, 250);
  RunCommand("xdotool key Escape");
  EXPECT_EQ(engine.Wait(5s), 0);

  // What the sink heard: 50 ms steps, loud or quiet. The voice is a tone, a gap and a tone.
  std::ifstream in(recording, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string shape;
  constexpr size_t kStep = 400;  // samples at 8000 Hz
  for (size_t at = 0; at + 2 * kStep <= bytes.size(); at += 2 * kStep) {
    int loudest = 0;
    for (size_t i = at; i < at + 2 * kStep; i += 2) {
      loudest = std::max(loudest, std::abs(int(int16_t(uint8_t(bytes[i]) | (bytes[i + 1] << 8)))));
    }
    shape += loudest > 2000 ? '#' : '.';
  }
  const size_t first = shape.find('#');
  ASSERT_NE(first, std::string::npos) << "nothing was heard";
  // The gap is the first quiet stretch of 150 ms or more: a busy machine may drop a moment of
  // sound inside a tone.
  const size_t gap = shape.find("...", first);
  ASSERT_NE(gap, std::string::npos) << shape;
  const size_t second = shape.find('#', gap);
  ASSERT_NE(second, std::string::npos) << shape;
  // 400 ms each, give or take the 50 ms steps and the sound server's timing.
  EXPECT_NEAR(double(gap - first), 8, 3) << shape;
  EXPECT_NEAR(double(second - gap), 8, 3) << shape;
}

TEST_F(WindowsEngine, DrawsAsTheLinuxPlayerDoes) {
  // Picture 1 a PNG where its JPEG belongs, under a Hebrew message; picture 2's message only
  // blank lines.
  ASSERT_EQ(RunCommand("convert -size 640x480 xc:'#20c040' " + Quote(dir.File("green.png"))).status,
            0);
  std::ifstream png(dir.File("green.png"), std::ios::binary);
  Repack(show, dir.File("drawn.exe"),
         {{0, std::string((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>())},
          {2, "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D.\r\n"},
          {5, "\r\n \r\n"}});
  Child engine({"wine", dir.File("drawn.exe")});
  ASSERT_TRUE(WaitForWindow("drawn.exe", 20s));
  // The band comes with the first paint; the PNG never shows.
  for (int i = 0; i < 100 && !Near(Pixel(2, 597), "24,24,24"); ++i)
    std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(Near(Pixel(400, 250), "0,0,0")) << Pixel(400, 250);

  // Read from the right, the full stop ends the line on its left: the leftmost lit columns of
  // the text are a dot, far lower than the letter at its right end.
  const auto box = [](const std::string& crop) {
    int width = 0, height = 0, x = 0, y = 0;
    const auto run = RunCommand("import -window root png:- | convert - -crop " + crop +
                                " +repage -threshold 50% -trim -format '%w %h %X %Y' info:");
    std::sscanf(run.output.c_str(), "%d %d %d %d", &width, &height, &x, &y);
    return std::array<int, 4>{width, height, x, y};
  };
  const auto text = box("800x40+0+556");
  ASSERT_GT(text[1], 8) << "no text in the band";
  const auto left = box("4x40+" + std::to_string(text[2]) + "+556");
  const auto right = box("4x40+" + std::to_string(text[2] + text[0] - 4) + "+556");
  EXPECT_LT(left[1] * 2, right[1]) << "the full stop is not on the left: " << left[1] << " high, "
                                   << right[1] << " at the right end";

  // A message of blank lines gets no band: the picture reaches the bottom.
  RunCommand("xdotool key Right");
  EXPECT_TRUE(WaitForCentre(kBlue, 2s)) << Pixel(400, 250);
  EXPECT_TRUE(Near(Pixel(400, 597), kBlue)) << Pixel(400, 597);

  // On the end screen the volume keys still say what they did.
  RunCommand("xdotool key Right");
  std::this_thread::sleep_for(1s);
  RunCommand("xdotool key Up");
  bool noted = false;
  for (int i = 0; i < 20 && !noted; ++i) {
    noted = Near(Pixel(400, 11), "40,40,40");
    if (!noted) std::this_thread::sleep_for(50ms);
  }
  EXPECT_TRUE(noted) << Pixel(400, 11);
  RunCommand("xdotool key Escape");
  EXPECT_EQ(engine.Wait(5s), 0);
}

TEST_F(WindowsEngine, TheLinkMenuOpensWebAndMailAddressesOnlyInTheLanguageAsked) {
  // A program folder of its own, whose link menu goes into the shows built there.
  const std::string program = dir.File("program");
  fs::create_directories(program);
  fs::copy_file(TOVAK_CLI, program + "/tovak-cli");
  fs::copy_file(TOVAK_ENGINE, program + "/PlimoEng.dll");
  WriteFile(program + "/Tovak! Urls.ini",
            "[Settings]\nUseInPlayer=1\nMenuItems=2\nLanguages=2\n"
            "[1_MenuItems]\n1_Caption=Our site\n1_URL=https://example.org/en\n"
            "2_Caption=Unsere Seite\n2_URL=https://example.org/de\n"
            "[2_MenuItems]\n1_Caption=A file\n1_URL=file:///etc/hostname\n");
  const std::string linked = dir.File("linked.exe");
  auto run =
      RunCommand("XDG_CONFIG_HOME=" + Quote(dir.File("cfg")) + " " + Quote(program + "/tovak-cli") +
                 " build -o " + Quote(linked) + " " + Quote(dir.File("pics/b.jpg")));
  ASSERT_EQ(run.status, 0) << run.output;

  Child engine({"wine", linked, "--lang", "2"});
  ASSERT_TRUE(WaitForCentre(kBlue, 20s)) << Pixel(400, 250);
  const std::string opened = world->dir->File("opened");
  fs::remove(opened);
  // The first entry, in German; then the second, which is no web address.
  // The second shows disabled, as in the Linux player: grey text where the first has black.
  const auto darkest = [](int top) {
    return std::atoi(RunCommand("import -window root png:- | convert - -crop 40x16+420+" +
                                std::to_string(top) + " -format '%[fx:round(minima.r*255)]' info:")
                         .output.c_str());
  };
  bool first = true;
  for (const char* keys : {"Down Return", "Down Down Return"}) {
    RunCommand("xdotool mousemove 400 250 click 3");
    std::this_thread::sleep_for(500ms);
    if (first) {
      EXPECT_LT(darkest(252), 40);
      EXPECT_GT(darkest(269), 90);
      first = false;
    }
    RunCommand(std::string("xdotool key ") + keys);
    std::this_thread::sleep_for(300ms);
  }
  std::string noted;
  for (int i = 0; i < 50 && noted.empty(); ++i) {
    std::ifstream in(opened);
    std::getline(in, noted, '\0');
    if (noted.empty()) std::this_thread::sleep_for(100ms);
  }
  std::this_thread::sleep_for(1500ms);  // time enough for a wrong second opening
  std::ifstream in(opened);
  std::getline(in, noted, '\0');
  EXPECT_NE(noted.find("https://example.org/de"), std::string::npos) << noted;
  EXPECT_EQ(noted.find("example.org/en"), std::string::npos) << noted;
  EXPECT_EQ(noted.find("hostname"), std::string::npos) << noted;
  RunCommand("xdotool key Escape");
  EXPECT_EQ(engine.Wait(5s), 0);
}

TEST_F(WindowsEngine, RefusesRecordsLargerThanAnyShowsBeforeReadingThem) {
  // Picture 2's JPEG of 600 MB and message of 2 MB, and a menu of 20,000 links, each refused
  // from the index or the menu's first lines, with the reason, at once.
  std::string links = "1\r\n20000\r\n";
  for (int k = 0; k < 20000; ++k)
    links += "Site " + std::to_string(k) + "\r\nhttps://example.org/\r\n";
  const std::vector<std::pair<Replacement, const char*>> cases = {
      {{3, "", int64_t{600} << 20}, "picture 2: the picture is larger than 256 MiB"},
      {{5, std::string(2 << 20, 'a')}, "picture 2: the message is larger than 1 MiB"},
      {{6, links}, "its link menu has 20000 links"}};
  for (const auto& [change, reason] : cases) {
    Repack(show, dir.File("large.exe"), {change});
    const auto start = std::chrono::steady_clock::now();
    const auto run = Wine(Quote(dir.File("large.exe")) + " --check");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(reason), std::string::npos) << run.output;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
  }

  // Double-clicked, a show whose second message says it takes 1.5 GB says at the start that it
  // is damaged, instead of vanishing when it gets there.
  Repack(show, dir.File("large.exe"), {{5, "", int64_t{1536} << 20}});
  Child damaged({"wine", dir.File("large.exe")});
  EXPECT_TRUE(WaitForWindow("Talking slideshow", 15s));
  EXPECT_EQ(Answer(damaged), 1);
}

TEST_F(WindowsEngine, AMessageOfAMegabyteShowsAtOnceAndTheKeysStillWork) {
  std::string words;
  while (words.size() < 1000000) words += "a message that goes on and on ";
  Repack(show, dir.File("long.exe"), {{2, words}});
  Child engine({"wine", dir.File("long.exe")});
  ASSERT_TRUE(WaitForWindow("long.exe", 20s));
  EXPECT_TRUE(WaitForCentre(kRed, 5s)) << Pixel(400, 250);
  // The band holds light text on its grey.
  const auto band = RunCommand(
      "import -window root -crop 800x150+0+440 -depth 8 -format '%[fx:round(maxima.r*255)]' info:");
  EXPECT_GT(std::atoi(band.output.c_str()), 200) << band.output;
  RunCommand("xdotool key Escape");
  EXPECT_EQ(engine.Wait(5s), 0);
}

TEST_F(WindowsEngine, TheFirstPictureIsOnTheScreenBeforeItsVoiceIsRead) {
  // A voice that says it expands to a gigabyte: 40 MB of noise take seconds to find damaged.
  std::string voice = "!HZL" + Le(1 << 30, 4);
  uint32_t noise = 12345;
  while (voice.size() < (40 << 20)) {
    noise = noise * 1664525 + 1013904223;
    voice += char(noise >> 24);
  }
  Repack(show, dir.File("noise.exe"), {{1, voice}});
  Child engine({"wine", dir.File("noise.exe")});
  ASSERT_TRUE(WaitForWindow("noise.exe", 20s));
  // Read first, the voice would keep the window black for ten seconds and more.
  EXPECT_TRUE(WaitForCentre(kRed, 3s)) << Pixel(400, 250);
  RunCommand("xdotool key Escape");
  EXPECT_EQ(engine.Wait(10s), 0);
}

TEST_F(WindowsEngine, PlaysALongVoiceWithoutHoldingIt) {
  // Six minutes of quiet at CD rate in 8 bits: 32 MB of WAV file.
  const std::string pics = dir.File("pics");
  const uint32_t bytes = 6 * 60 * 44100 * 2;
  WriteFile(pics + "/a.wav", "RIFF" + Le(36 + bytes, 4) + "WAVEfmt " + Le(16, 4) + Le(1, 2) +
                                 Le(2, 2) + Le(44100, 4) + Le(2 * 44100, 4) + Le(2, 2) + Le(8, 2) +
                                 "data" + Le(bytes, 4) + std::string(bytes, '\x80'));
  const std::string quiet = dir.File("quiet.exe");
  const auto run =
      RunCommand("XDG_CONFIG_HOME=" + Quote(dir.File("cfg")) + " " + TOVAK_CLI + " build -o " +
                 Quote(quiet) + " " + Quote(pics + "/a.jpg") + " " + Quote(pics + "/b.jpg"));
  ASSERT_EQ(run.status, 0) << run.output;
  Child engine({"wine", quiet});
  ASSERT_TRUE(WaitForCentre(kRed, 20s)) << Pixel(400, 250);
  std::this_thread::sleep_for(3s);
  // Held whole, the voice would take twice its 32 MB and more.
  const int peak = PeakMegabytes(engine.Pid());
  std::printf("the engine's peak memory while a 32 MB voice plays: %d MB\n", peak);
  EXPECT_GT(peak, 0);
  EXPECT_LT(peak, 60);
  RunCommand("xdotool key Right");
  EXPECT_TRUE(WaitForCentre(kBlue, 2s)) << Pixel(400, 250);
  RunCommand("xdotool key Escape");
  EXPECT_EQ(engine.Wait(5s), 0);
}

}  // namespace
}  // namespace tovak

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  tovak::world = new tovak::WineWorld;
  ::testing::AddGlobalTestEnvironment(tovak::world);
  return RUN_ALL_TESTS();
}
