#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "support/run_command.h"
#include "support/sample_data.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::Quote;
using testing::ReadBytes;
using testing::RunCommand;
using testing::WriteBytes;

std::string Cli(const std::string& arguments) {
  return std::string(TOVAK_CLI_PATH) + " " + arguments;
}

class CliCompress : public ::testing::Test {
 protected:
  testing::TempDir dir;
  std::string in = dir.File("in.bin");
  std::string packed = dir.File("packed.lzh");
  std::string out = dir.File("out.bin");
};

TEST_F(CliCompress, PacksAndExpandsWithEachMethod) {
  WriteBytes(in, {'a', 'b', 'c'});
  ASSERT_EQ(RunCommand(Cli("compress " + Quote(in) + " " + Quote(packed))).status, 0);
  EXPECT_EQ(ReadBytes(packed), (Bytes{0x21, 0x48, 0x5A, 0x4C, 3, 0, 0, 0, 0xF6, 0xFB, 0xBD, 0xE0}));
  ASSERT_EQ(RunCommand(Cli("decompress " + Quote(packed) + " " + Quote(out))).status, 0);
  EXPECT_EQ(ReadBytes(out), (Bytes{'a', 'b', 'c'}));

  const Bytes voice = sample::VoiceAudio(150000, 8);
  WriteBytes(in, voice);
  for (const char* method : {"lzh", "lzrw1kh", "auto"}) {
    SCOPED_TRACE(method);
    const auto packedRun = RunCommand(
        Cli("compress --method " + std::string(method) + " " + Quote(in) + " " + Quote(packed)));
    ASSERT_EQ(packedRun.status, 0) << packedRun.output;
    ASSERT_EQ(RunCommand(Cli("decompress " + Quote(packed) + " " + Quote(out))).status, 0);
    EXPECT_EQ(ReadBytes(out), voice);
  }
}

TEST_F(CliCompress, FailuresSayWhyAndLeaveNoOutput) {
  // Not a container.
  WriteBytes(in, {'n', 'o', 'p', 'e', 1, 2, 3});
  auto run = RunCommand(Cli("decompress " + Quote(in) + " " + Quote(out)));
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("this file has no valid header"), std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(out));

  // A container claiming 2 GB in 12 bytes fails at once.
  WriteBytes(in, {0x21, 0x48, 0x5A, 0x4C, 0x00, 0x00, 0x00, 0x80 - 1, 0xF6, 0xFB, 0xBD, 0xE0});
  run = RunCommand(Cli("decompress " + Quote(in) + " " + Quote(out)));
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("tovak-cli: " + in + ": compressed data is truncated or damaged\n"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("Lzrw1"), std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(out));

  // A truncated one.
  WriteBytes(in, sample::EnglishText(40000, 1));
  ASSERT_EQ(RunCommand(Cli("compress " + Quote(in) + " " + Quote(packed))).status, 0);
  Bytes container = ReadBytes(packed);
  container.resize(container.size() - 3);
  WriteBytes(packed, container);
  run = RunCommand(Cli("decompress " + Quote(packed) + " " + Quote(out)));
  EXPECT_NE(run.status, 0);
  EXPECT_FALSE(std::filesystem::exists(out));

  run = RunCommand(Cli("compress " + Quote(dir.File("missing")) + " " + Quote(out)));
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("missing"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out));
}

// Entries in a folder, hidden ones too: a temporary left behind shows up here.
size_t Entries(const std::filesystem::path& folder) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// A full disk: the file size limit makes writes fail as they would on a full device. An older
// output survives whole, and no temporary is left.
TEST_F(CliCompress, AFailedWriteRemovesThePartialOutput) {
  WriteBytes(in, sample::RandomBytes(300000, 3));
  WriteBytes(packed, {'o', 'l', 'd'});
  const auto run = RunCommand("trap '' XFSZ; ulimit -f 64; " +
                              Cli("compress " + Quote(in) + " " + Quote(packed)));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "tovak-cli: " + packed + ": cannot be written: File too large\n");
  EXPECT_EQ(ReadBytes(packed), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(Entries(dir.Path()), 2u);
}

// Each of the three signals stops a long run: the older output stays as it was, no temporary is
// left, and the status is the one the signal would have given. The temporary's appearance says
// the run has begun; four megabytes keep it busy well past the signal.
TEST_F(CliCompress, SignalsLeaveTheOlderOutput) {
  WriteBytes(in, sample::RandomBytes(4000000, 5));
  for (const auto& [signal, status] : {std::pair{"INT", 130}, {"TERM", 143}, {"HUP", 129}}) {
    SCOPED_TRACE(signal);
    WriteBytes(packed, {'o', 'l', 'd'});
    const auto run = RunCommand(
        "(exec " + Cli("compress " + Quote(in) + " " + Quote(packed)) +
        ") & pid=$!; for i in $(seq 1000); do ls -A " + Quote(dir.Path().string()) +
        " | grep -q '^[.]tovak-' && break; sleep 0.01; done; kill -" + signal + " $pid; wait $pid");
    EXPECT_EQ(run.status, status) << run.output;
    EXPECT_EQ(ReadBytes(packed), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(Entries(dir.Path()), 2u);
  }
}

// A stream is judged by its header before anything is stored: garbage, even endless, is refused
// at once, and a good container expands as it comes, with no room needed in the temporary folder.
TEST_F(CliCompress, AStreamIsExpandedAsItComes) {
  const std::string noTemp = "TMPDIR=" + Quote(dir.File("no-such-folder")) + " ";
  auto run =
      RunCommand("cat /dev/zero | " + noTemp + "timeout 20 " + Cli("decompress - " + Quote(out)));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "tovak-cli: standard input: it is no voice container (no valid header)\n");
  EXPECT_FALSE(std::filesystem::exists(out));

  const Bytes voice = sample::VoiceAudio(200000, 4);
  WriteBytes(in, voice);
  for (const char* method : {"lzh", "lzrw1kh"}) {
    SCOPED_TRACE(method);
    ASSERT_EQ(RunCommand(Cli("compress --method " + std::string(method) + " " + Quote(in) + " " +
                             Quote(packed)))
                  .status,
              0);
    run = RunCommand("cat " + Quote(packed) + " | " + noTemp + Cli("decompress - " + Quote(out)));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadBytes(out), voice);
  }
  Bytes cut = ReadBytes(packed);
  cut.resize(cut.size() / 2);
  WriteBytes(packed, cut);
  std::filesystem::remove(out);
  run = RunCommand("cat " + Quote(packed) + " | " + noTemp + Cli("decompress - " + Quote(out)));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output.rfind("tovak-cli: standard input: ", 0), 0u) << run.output;
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(Entries(dir.Path()), 2u);
}

TEST_F(CliCompress, FollowsCommandLineConventions) {
  WriteBytes(in, {'a', 'b', 'c'});
  const std::string bin = std::filesystem::path(TOVAK_CLI_PATH).parent_path().string();
  for (const std::string tool : {"tovak-cli", "tovak-player", "tovak"}) {
    const auto version = RunCommand(Quote(bin + "/" + tool) + " --version");
    EXPECT_EQ(version.status, 0) << tool;
    EXPECT_EQ(version.output.rfind(tool + " ", 0), 0u) << version.output;
  }
  const auto help =
      RunCommand("QT_QPA_PLATFORM=offscreen timeout 20 " + Quote(bin + "/tovak") + " --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("Usage"), std::string::npos) << help.output;
  // A mistyped option is said at the terminal rather than opening the window.
  const auto bogus =
      RunCommand("QT_QPA_PLATFORM=offscreen timeout 20 " + Quote(bin + "/tovak") + " --bogus");
  EXPECT_EQ(bogus.status, 2);
  EXPECT_NE(bogus.output.find("unknown option --bogus"), std::string::npos) << bogus.output;

  // "-" is a stream, "--opt=value" an option with its value, and "--" ends the options.
  auto run = RunCommand(Cli("compress --method=lzrw1kh - - <" + Quote(in)) + " | " +
                        Cli("decompress -- - " + Quote(out)));
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadBytes(out), (Bytes{'a', 'b', 'c'}));

  // A command line that cannot be understood ends with 2, a failure with 1; each says what is
  // wrong on one line that names the file first.
  for (const std::string& usage :
       std::vector<std::string>{"frobnicate", "compress --frob " + Quote(in) + " x",
                                "compress --method", "compress x"}) {
    run = RunCommand(Cli(usage));
    EXPECT_EQ(run.status, 2) << usage;
    EXPECT_EQ(run.output.rfind("tovak-cli: ", 0), 0u) << run.output;
  }
  const std::string missing = dir.File("missing");
  run = RunCommand(Cli("compress " + Quote(missing) + " " + Quote(out)));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "tovak-cli: " + missing + ": No such file or directory\n");
  run = RunCommand(Cli("prepare - " + Quote(out)));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("-: standard input"), std::string::npos) << run.output;

  // What cannot reach standard output (here a full disk) is a failure, not a silent success.
  run = RunCommand(Cli("--version >/dev/full"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "tovak-cli: standard output: cannot be written: No space left on device\n");

  const std::string player = Quote(bin + "/tovak-player");
  run = RunCommand(player + " --frob");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("tovak-player: unknown option '--frob'"), std::string::npos)
      << run.output;
  run = RunCommand(player + " --lang=two --check " + Quote(in));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("tovak-player: --lang"), std::string::npos) << run.output;
}

TEST_F(CliCompress, RejectsBadUsage) {
  WriteBytes(in, {1});
  EXPECT_NE(RunCommand(Cli("compress --method zip " + Quote(in) + " " + Quote(out))).status, 0);
  EXPECT_NE(RunCommand(Cli("compress " + Quote(in))).status, 0);
  EXPECT_NE(RunCommand(Cli("compress " + Quote(in) + " " + Quote(in))).status, 0);
  EXPECT_EQ(ReadBytes(in), Bytes{1});
  EXPECT_NE(RunCommand(Cli("frobnicate")).status, 0);
  const auto help = RunCommand(Cli("--help"));
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("decompress"), std::string::npos);
}

}  // namespace
}  // namespace tovak
