#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "audio/wav_stream.h"
#include "components/jpeg_codec.h"
#include "support/any_wav.h"
#include "support/run_command.h"
#include "support/sample_data.h"
#include "support/sparse_package.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using testing::Quote;
using testing::ReadBytes;
using testing::RunCommand;
using testing::WriteBytes;

class CliPackage : public ::testing::Test {
 protected:
  // Settings come from a folder of the test's own.
  std::string Cli(const std::string& arguments) {
    return "env XDG_CONFIG_HOME=" + Quote(dir.File("config")) + " " + TOVAK_CLI_PATH + " " +
           arguments;
  }

  std::string Picture(const std::string& name, int w, int h) {
    const std::string path = dir.File(name);
    WriteBytes(path, EncodeJpeg(testing::PhotoLike(w, h), 85));
    return path;
  }

  void Text(const std::string& name, const std::string& text) {
    WriteBytes(dir.File(name), Bytes(text.begin(), text.end()));
  }

  testing::TempDir dir;
};

TEST_F(CliPackage, BuildInfoAndExtractGiveEverythingBack) {
  const std::string a = Picture("a.jpg", 300, 200), b = Picture("b.jpg", 320, 240),
                    c = Picture("c.JPG", 200, 300);
  Text("a.txt", "Grandma's garden\r\nsummer 1998\r\n");
  Text("c.txt", "no voice here");
  TWavStream recording;
  recording.SetFormat(TWaveFormatEx::Pcm(11025, 1, 8));
  const Bytes second(11025, 128);
  recording.Write(second.data(), 11025);
  recording.SaveToFile(dir.File("a.wav"));
  const Bytes wav = ReadBytes(dir.File("a.wav"));
  WriteBytes(dir.File("b.wav"), wav);

  const std::string out = dir.File("show.exe");
  const auto built = RunCommand(Cli("build --mode full --size-index 0 --quality 0 -o " +
                                    Quote(out) + " " + Quote(a) + " " + Quote(b) + " " + Quote(c)));
  ASSERT_EQ(built.status, 0) << built.output;
  EXPECT_TRUE(fs::status(out).permissions() != fs::perms::none);

  const auto info = RunCommand(Cli("info " + Quote(out)));
  ASSERT_EQ(info.status, 0) << info.output;
  EXPECT_NE(info.output.find("3 pictures"), std::string::npos) << info.output;
  EXPECT_NE(info.output.find("300x200"), std::string::npos) << info.output;
  EXPECT_NE(info.output.find("1.0 s"), std::string::npos) << info.output;
  EXPECT_NE(info.output.find("Grandma's garden"), std::string::npos) << info.output;

  const std::string x = dir.File("x");
  ASSERT_EQ(RunCommand(Cli("extract " + Quote(out) + " " + Quote(x))).status, 0);
  EXPECT_EQ(ReadBytes(x + "/001.jpg"), ReadBytes(a));
  EXPECT_EQ(ReadBytes(x + "/003.jpg"), ReadBytes(c));
  EXPECT_EQ(ReadBytes(x + "/001.wav"), wav);
  EXPECT_EQ(ReadBytes(x + "/002.wav"), wav);
  EXPECT_FALSE(fs::exists(x + "/003.wav"));
  EXPECT_FALSE(fs::exists(x + "/002.txt"));
  const Bytes message = ReadBytes(x + "/003.txt");
  EXPECT_EQ(std::string(message.begin(), message.end()), "no voice here\r\n");

  // The compact defaults shrink and re-encode.
  ASSERT_EQ(RunCommand(Cli("build -o " + Quote(out) + " " + Quote(b))).status, 0);
  EXPECT_NE(RunCommand(Cli("info " + Quote(out))).output.find("320x240"), std::string::npos);
  ASSERT_EQ(RunCommand(Cli("build --max 100x100 -o " + Quote(out) + " " + Quote(b))).status, 0);
  EXPECT_NE(RunCommand(Cli("info " + Quote(out))).output.find("100x75"), std::string::npos);
}

TEST_F(CliPackage, FailuresLeaveNoSlideshow) {
  const std::string out = dir.File("show.exe");
  auto run = RunCommand(Cli("info " + Quote(dir.File("nothing.exe"))));
  EXPECT_NE(run.status, 0);
  WriteBytes(dir.File("plain.exe"), Bytes(5000, 1));
  run = RunCommand(Cli("info " + Quote(dir.File("plain.exe"))));
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("not a complete slideshow"), std::string::npos) << run.output;

  // A full disk while writing.
  const std::string big = Picture("big.jpg", 1200, 900);
  std::string many;
  for (int i = 0; i < 20; ++i) many += " " + Quote(big);
  run = RunCommand("trap '' XFSZ; ulimit -f 200; " +
                   Cli("build --mode full --size-index 0 --quality 0 -o " + Quote(out) + many));
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("disk full"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(out));

  // Interrupted by any of the three signals: nothing left, neither the slideshow nor the working
  // folder, and the status a signal's end would give. The working folder's appearance says the
  // build has begun; thirty pictures keep it busy well past the signal.
  const std::string tmp = dir.File("tmp");
  fs::create_directory(tmp);
  std::string thirty;
  for (int i = 0; i < 30; ++i) thirty += " " + Quote(big);
  for (const auto& [signal, status] : {std::pair{"HUP", 129}, {"TERM", 143}, {"INT", 130}}) {
    SCOPED_TRACE(signal);
    run = RunCommand("(TMPDIR=" + Quote(tmp) + " exec " + Cli("build -o " + Quote(out) + thirty) +
                     ") & pid=$!; for i in $(seq 500); do [ -n \"$(ls -A " + Quote(tmp) +
                     ")\" ] && break; sleep 0.02; done; kill -" + signal + " $pid; wait $pid");
    EXPECT_EQ(run.status, status) << run.output;
    EXPECT_NE(run.output.find("tovak-cli: interrupted"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(fs::is_empty(tmp));
  }
}

TEST_F(CliPackage, UnreadablePicturesAreNamedAndShown) {
  const std::string good = Picture("good.jpg", 40, 30);
  WriteBytes(dir.File("bad.png"), Bytes{'n', 'o', 't'});
  const std::string out = dir.File("show.exe");
  const auto run = RunCommand(Cli("build -o " + Quote(out) + " " + Quote(good) + " " +
                                  Quote(dir.File("bad.png")) + " 2>&1 >/dev/null"));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("tovak-cli: warning: 1 picture could not be read and is left empty: " +
                            dir.File("bad.png")),
            std::string::npos)
      << run.output;
  const auto info = RunCommand(Cli("info " + Quote(out)));
  ASSERT_EQ(info.status, 0) << info.output;
  EXPECT_NE(info.output.find("unreadable"), std::string::npos) << info.output;
}

TEST_F(CliPackage, PrepareShowsTheStoredSize) {
  const std::string photo = Picture("photo.jpg", 1000, 1000);
  auto run = RunCommand(
      Cli("prepare --max 640x480 --quality 75 " + Quote(photo) + " " + Quote(dir.File("out.jpg"))));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "479x480\n");
  run = RunCommand(Cli("prepare " + Quote(photo) + " " + Quote(dir.File("same.jpg"))));
  EXPECT_EQ(ReadBytes(dir.File("same.jpg")), ReadBytes(photo));

  WriteBytes(dir.File("broken.png"), Bytes{0x89, 'P', 'N', 'G'});
  run =
      RunCommand(Cli("prepare " + Quote(dir.File("broken.png")) + " " + Quote(dir.File("b.jpg"))));
  EXPECT_NE(run.status, 0);
  EXPECT_FALSE(fs::exists(dir.File("b.jpg")));
  EXPECT_NE(RunCommand(Cli("prepare --max 0x10 " + Quote(photo) + " x.jpg")).status, 0);
}

// Every command that writes refuses, on one line and before writing anything, an output that
// is a FIFO, a folder or one of its own inputs (by name or through a link). A FIFO would block
// the old writers, hence the time limit.
TEST_F(CliPackage, OutputsThatAreNoPlainFileOrAnInputAreRefused) {
  const std::string a = Picture("a.jpg", 40, 30);
  Text("a.txt", "hello");
  const std::string show = dir.File("show.exe"), packed = dir.File("a.lzh");
  ASSERT_EQ(RunCommand(Cli("build -o " + Quote(show) + " " + Quote(a))).status, 0);
  ASSERT_EQ(RunCommand(Cli("compress " + Quote(a) + " " + Quote(packed))).status, 0);
  const std::string fifo = dir.File("fifo"), folder = dir.File("folder");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory(folder);
  fs::create_symlink(a, dir.File("a-link.jpg"));
  fs::create_hard_link(show, dir.File("show-link.exe"));
  fs::create_hard_link(dir.File("a.txt"), dir.File("note.txt"));
  // Where the output goes, and what it may not be.
  struct Writer {
    std::string before, after, input;
  };
  const std::vector<Writer> writers = {
      {"compress " + Quote(a) + " ", "", dir.File("a-link.jpg")},
      {"decompress " + Quote(packed) + " ", "", packed},
      {"prepare " + Quote(a) + " ", "", a},
      {"build -o ", " " + Quote(a), dir.File("note.txt")},
      {"export-html " + Quote(show) + " ", "", dir.File("show-link.exe")},
      {"export-video " + Quote(show) + " ", "", dir.File("show-link.exe")},
      {"record 1 ", "", ""},
  };
  const Bytes original = ReadBytes(show), picture = ReadBytes(a);
  auto refused = [&](const std::string& command, const std::string& why) {
    SCOPED_TRACE(command);
    const auto run = RunCommand("timeout 20 " + Cli(command));
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find(why), std::string::npos) << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
  };
  for (const Writer& w : writers) {
    refused(w.before + Quote(fifo) + w.after,
            fifo + ": cannot be written: it is not a regular file");
    refused(w.before + Quote(folder) + w.after, folder + ": cannot be written: it is a folder");
    if (!w.input.empty()) refused(w.before + Quote(w.input) + w.after, ": it is the input");
  }
  // Folders written into, and the files they would hold.
  refused("extract " + Quote(show) + " " + Quote(fifo), "it is not a folder");
  refused("demo " + Quote(fifo), "it is not a folder");
  fs::create_directories(dir.File("x/001.txt"));
  refused("extract " + Quote(show) + " " + Quote(dir.File("x")), "it is a folder");
  fs::create_hard_link(show, dir.File("x/001.jpg"));
  fs::remove(dir.File("x/001.txt"));
  refused("extract " + Quote(show) + " " + Quote(dir.File("x")), "it is the input");
  fs::create_directories(dir.File("demo/Demo Slideshow.exe"));
  refused("demo " + Quote(dir.File("demo")), "it is a folder");

  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_empty(folder));
  EXPECT_EQ(ReadBytes(show), original);
  EXPECT_EQ(ReadBytes(a), picture);
  EXPECT_EQ(ReadBytes(dir.File("a.txt")), (Bytes{'h', 'e', 'l', 'l', 'o'}));
  EXPECT_FALSE(fs::exists(dir.File("demo/pictures")));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("x")), {}), 1);
}

// What the user cannot have meant is refused before anything is made, and what does get made
// appears whole or not at all.
TEST_F(CliPackage, TyposAndFullDisksLeaveNothingBehind) {
  const std::string a = Picture("a.jpg", 40, 30), show = dir.File("show.exe");
  fs::create_directory(dir.File("folder.jpg"));
  for (const auto& [picture, why] :
       {std::pair{dir.File("missing.jpg"), "No such file or directory"},
        {dir.File("folder.jpg"), "it is a folder"}}) {
    const auto run =
        RunCommand(Cli("build -o " + Quote(show) + " " + Quote(a) + " " + Quote(picture)));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "tovak-cli: " + picture + ": " + why + "\n");
    EXPECT_FALSE(fs::exists(show));
  }
  // Away from a terminal a build prints its result and no progress.
  auto run = RunCommand(Cli("build -o " + Quote(show) + " " + Quote(a)));
  EXPECT_EQ(run.output, show + ": 1 picture, " + std::to_string(fs::file_size(show)) + " bytes\n");

  // On a terminal it shows its progress, unless told -q.
  const std::string build = "build -o " + Quote(show) + " " + Quote(a);
  for (const std::string quiet : {"", "-q "}) {
    run = RunCommand("script -qec " + Quote(Cli(quiet + build)) + " /dev/null");
    EXPECT_EQ(run.output.find("1/1") == std::string::npos, !quiet.empty()) << run.output;
  }

  // A recording's folder is checked before the take.
  run = RunCommand(Cli("record 1 " + Quote(dir.File("nowhere/take.wav"))));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "tovak-cli: " + dir.File("nowhere") + ": No such file or directory\n");

  // Extracting onto a full disk: an existing folder keeps what it had, a new one is not made.
  const std::string kept = dir.File("kept");
  fs::create_directory(kept);
  WriteBytes(kept + "/001.jpg", Bytes{'o', 'l', 'd'});
  const size_t entries = std::distance(fs::directory_iterator(dir.Path()), {});
  for (const std::string& folder : {kept, dir.File("new")}) {
    run = RunCommand("trap '' XFSZ; ulimit -f 1; " +
                     Cli("extract " + Quote(show) + " " + Quote(folder)));
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("cannot be written: File too large"), std::string::npos)
        << run.output;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(kept), {}), 1);
  EXPECT_EQ(ReadBytes(kept + "/001.jpg"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(dir.Path()), {})), entries);

  // The engine that rides in every slideshow carries no symbol table.
  const Bytes engine = ReadBytes(fs::path(TOVAK_CLI_PATH).parent_path().string() + "/PlimoEng.dll");
  const std::string symtab = ".symtab";
  EXPECT_EQ(std::search(engine.begin(), engine.end(), symtab.begin(), symtab.end()), engine.end());
}

// Voices are judged before a build begins: a risk is told, a voice that cannot be stored is
// refused by name, and nothing is made. A build that the temporary folder cannot hold blames it.
TEST_F(CliPackage, VoicesAndTheTemporaryFolderAreJudgedBeforeBlamingTheSlideshow) {
  const std::string a = Picture("a.jpg", 40, 30), b = Picture("b.jpg", 40, 30);
  const std::string show = dir.File("show.exe");
  // An hour and a half of 48 kHz 16-bit stereo, sparse: only the header is read.
  const uint32_t bytes = 90u * 60 * 48000 * 4;
  Bytes header = testing::AnyWav(1, 2, 48000, 16, {});
  for (int k = 0; k < 4; ++k) header[40 + k] = static_cast<uint8_t>(bytes >> (8 * k));
  WriteBytes(dir.File("a.wav"), header);
  fs::resize_file(dir.File("a.wav"), header.size() + bytes);
  WriteBytes(dir.File("b.wav"), testing::AnyWav(0x55, 1, 8000, 0, Bytes(100, 0)));
  auto run = RunCommand(Cli("build -o " + Quote(show) + " " + Quote(a) + " " + Quote(b)));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output,
            "tovak-cli: warning: " + dir.File("a.wav") +
                ": this voice lasts 90 minutes, 988 MB of sound when played; on a 32-bit "
                "Windows PC the slideshow may stop at picture 1 for lack of memory\n"
                "tovak-cli: " +
                dir.File("b.wav") +
                ": this voice cannot be stored: its sound is compressed in a way that "
                "cannot be read (WAV format 85); save it as PCM\n");
  EXPECT_FALSE(fs::exists(show));

  const std::string tmp = dir.File("tmp");
  fs::create_directory(tmp);
  run = RunCommand("trap '' XFSZ; ulimit -f 16; TMPDIR=" + Quote(tmp) + " " +
                   Cli("build -o " + Quote(show) + " " + Quote(Picture("c.jpg", 40, 30))));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output.rfind("tovak-cli: " + tmp +
                                 ": the temporary folder cannot hold the slideshow while it is "
                                 "built: the slideshow could not be written (is the disk full?)",
                             0),
            0u)
      << run.output;
  EXPECT_FALSE(fs::exists(show));
  EXPECT_TRUE(fs::is_empty(tmp));
}

// The demo is made whole or not at all: on a full disk it says so once and leaves its folder as
// it was, new or already there.
TEST_F(CliPackage, DemoIsMadeWholeOrNotAtAll) {
  const std::string fresh = dir.File("fresh"), kept = dir.File("kept");
  fs::create_directory(kept);
  WriteBytes(kept + "/mine.txt", Bytes{'m'});
  const size_t entries = std::distance(fs::directory_iterator(dir.Path()), {});
  for (const std::string& folder : {fresh, kept}) {
    SCOPED_TRACE(folder);
    const auto run = RunCommand("trap '' XFSZ; ulimit -f 400; " + Cli("demo " + Quote(folder)));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_EQ(run.output.find(".tovak-demo"), std::string::npos) << run.output;
  }
  EXPECT_FALSE(fs::exists(fresh));
  EXPECT_EQ(std::distance(fs::directory_iterator(kept), {}), 1);
  EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(dir.Path()), {})), entries);

  const auto run = RunCommand(Cli("demo " + Quote(kept)));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output.rfind(kept + "/Demo Slideshow.exe: 4 pictures, ", 0), 0u) << run.output;
  EXPECT_EQ(std::distance(fs::directory_iterator(kept), {}), 3);
  EXPECT_EQ(std::distance(fs::directory_iterator(kept + "/pictures"), {}), 10);
  // A new folder is an ordinary one, as the user's umask makes them, not the staging folder's.
  ASSERT_EQ(RunCommand(Cli("demo " + Quote(fresh))).status, 0);
  EXPECT_EQ(fs::status(fresh).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
  EXPECT_NE(fs::status(fresh).permissions() & fs::perms::others_read, fs::perms::none);
}

// Ctrl-C stops a web page between slides and within voices, at once rather than when the page is
// done, and a second Ctrl-C, which ends the process where it stands, leaves no temporary behind.
// The temporary's appearance says the page has begun.
TEST_F(CliPackage, ExportHtmlStopsAtOnceAtCtrlC) {
  const std::string voice = dir.File("voice.wav");
  TWavStream recording;
  recording.SetFormat(TWaveFormatEx::Pcm(11025, 1, 8));
  const Bytes samples = sample::VoiceAudio(20 * 11025, 3);
  recording.Write(samples.data(), static_cast<int64_t>(samples.size()));
  recording.SaveToFile(voice);
  const std::string show = dir.File("show.exe"), page = dir.File("page.html");
  std::string pictures;
  for (int i = 0; i < 60; ++i) {
    const std::string picture = Picture("p" + std::to_string(i) + ".jpg", 64, 48);
    fs::copy_file(voice, fs::path(picture).replace_extension(".wav"));
    pictures += " " + Quote(picture);
  }
  ASSERT_EQ(RunCommand(Cli("build -o " + Quote(show) + pictures)).status, 0);
  const size_t entries = std::distance(fs::directory_iterator(dir.Path()), {});

  // Milliseconds from the first signal (none: from the start) to the end, then the status.
  const auto timed = [&](const std::string& kills) {
    const auto run =
        RunCommand("(exec " + Cli("export-html " + Quote(show) + " " + Quote(page)) +
                   " >/dev/null 2>&1) & pid=$!; for i in $(seq 1000); do [ -n \"" + kills +
                   "\" ] || break; ls -A " + Quote(dir.Path().string()) +
                   " | grep -q '^[.]tovak-' && break; sleep 0.01; done; s=$(date +%s%N); " + kills +
                   " wait $pid; status=$?; echo $(( ($(date +%s%N) - s) / 1000000 )) $status");
    int ms = 0, status = 0;
    std::sscanf(run.output.c_str(), "%d %d", &ms, &status);
    return std::pair{ms, status};
  };
  const auto whole = timed("");
  ASSERT_EQ(whole.second, 0);
  ASSERT_TRUE(fs::exists(page));
  fs::remove(page);
  for (const std::string kills :
       {"kill -INT $pid;", "kill -INT $pid; sleep 0.05; kill -INT $pid 2>/dev/null;"}) {
    SCOPED_TRACE(kills);
    const auto [ms, status] = timed(kills);
    EXPECT_EQ(status, 130);
    EXPECT_LT(ms * 4, whole.first) << ms << " ms against " << whole.first << " ms for the page";
    EXPECT_FALSE(fs::exists(page));
    EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(dir.Path()), {})), entries);
  }
}

// Ctrl-C ends a take early and keeps it.
TEST_F(CliPackage, AnInterruptedRecordingIsSaved) {
  if (RunCommand("pactl info").status != 0) GTEST_SKIP() << "no sound server";
  const std::string take = dir.File("take.wav");
  // The sound server's cookie is in the user's own settings folder.
  const auto run = RunCommand("(exec " + std::string(TOVAK_CLI_PATH) + " record 30 " + Quote(take) +
                              ") & pid=$!; "
                              // Interrupted once the take runs, however slow the start was.
                              "for i in $(seq 150); do pactl list source-outputs | grep -q "
                              "\"application.process.id = \\\"$pid\\\"\" && break; sleep 0.2; "
                              "done; sleep 2; kill -INT $pid; "
                              "wait $pid");
  EXPECT_EQ(run.status, 130) << run.output;
  EXPECT_NE(run.output.find("stopped early"), std::string::npos) << run.output;
  EXPECT_GT(fs::file_size(take), 44u * 10) << run.output;
}

// A name at the file system's limit still takes an output: no temporary name is longer.
TEST_F(CliPackage, NamesAtTheLengthLimitSave) {
  const std::string a = Picture("a.jpg", 40, 30);
  const std::string name = std::string(251, 'n');
  const auto built = RunCommand(Cli("build -o " + Quote(dir.File(name + ".exe")) + " " + Quote(a)));
  EXPECT_EQ(built.status, 0) << built.output;
  const auto prepared =
      RunCommand(Cli("prepare " + Quote(a) + " " + Quote(dir.File(name + ".jpg"))));
  EXPECT_EQ(prepared.status, 0) << prepared.output;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 3);
}

// A message or link cannot drive the terminal that lists it.
TEST_F(CliPackage, InfoShowsControlCharactersEscaped) {
  const std::string a = Picture("a.jpg", 40, 30);
  Text("a.txt", "\x1b]0;owned\x07\x1b[2J Grüße\tok");
  const std::string show = dir.File("show.exe");
  ASSERT_EQ(RunCommand(Cli("build -o " + Quote(show) + " " + Quote(a))).status, 0);
  const auto info = RunCommand(Cli("info " + Quote(show)));
  ASSERT_EQ(info.status, 0) << info.output;
  EXPECT_NE(info.output.find("show.exe: 1 picture, "), std::string::npos) << info.output;
  EXPECT_EQ(info.output.find('\x1b'), std::string::npos) << info.output;
  EXPECT_NE(info.output.find("\\x1b]0;owned\\x07\\x1b[2J Grüße\\tok"), std::string::npos)
      << info.output;
}

}  // namespace
}  // namespace tovak

namespace tovak {
namespace {

// A stranger's show with a message of 1.5 GB (a hole on disk): every tool that reads it refuses
// it as damaged, naming the record, at once and in little memory, and writes nothing.
TEST_F(CliPackage, AnOversizedRecordIsRefusedByEveryReader) {
  const std::string a = Picture("a.jpg", 40, 30), b = Picture("b.jpg", 40, 30);
  const std::string built = dir.File("built.exe"), show = dir.File("bomb.exe");
  ASSERT_EQ(
      RunCommand(Cli("build --engine linux -o " + Quote(built) + " " + Quote(a) + " " + Quote(b)))
          .status,
      0);
  testing::WriteInflatedPackage(ReadBytes(built), 5, int64_t{1500} << 20, {'h', 'i'}, show);
  fs::permissions(show, fs::perms::owner_all);
  const std::string named = "bomb.exe: picture 2: the message is larger than 1 MiB";
  for (const std::string& command :
       {Quote(show) + " --check", "env QT_QPA_PLATFORM=offscreen " + Quote(show),
        Cli("info " + Quote(show)), Cli("extract " + Quote(show) + " " + Quote(dir.File("out"))),
        Cli("export-html " + Quote(show) + " " + Quote(dir.File("out.html"))),
        Cli("export-video " + Quote(show) + " " + Quote(dir.File("out.mp4")))}) {
    SCOPED_TRACE(command);
    const auto began = std::chrono::steady_clock::now();
    const auto run = RunCommand("timeout -s KILL 60 " + command);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(named), std::string::npos) << run.output;
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(10));
  }
  EXPECT_FALSE(fs::exists(dir.File("out")));
  EXPECT_FALSE(fs::exists(dir.File("out.html")));
  EXPECT_FALSE(fs::exists(dir.File("out.mp4")));
}

}  // namespace
}  // namespace tovak
