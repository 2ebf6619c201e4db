#include <gtest/gtest.h>

#include <string>
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
  EXPECT_NE(run.output.find("Lzrw1"), std::string::npos) << run.output;
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

// A full disk: the file size limit makes writes fail as they would on a full device.
TEST_F(CliCompress, AFailedWriteRemovesThePartialOutput) {
  WriteBytes(in, sample::RandomBytes(300000, 3));
  const auto run = RunCommand("trap '' XFSZ; ulimit -f 64; " +
                              Cli("compress " + Quote(in) + " " + Quote(packed)));
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("Error writing to output file"), std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(packed));
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
