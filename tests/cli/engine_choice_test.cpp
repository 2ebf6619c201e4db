#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "components/jpeg_codec.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tovak {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::Quote;
using testing::RunCommand;

// The engine a package starts with is chosen at build time, and info names what it finds there.
TEST(CliEngine, BuildTakesTheChosenEngineAndInfoNamesIt) {
  testing::TempDir dir;
  const std::string picture = dir.File("a.jpg");
  testing::WriteBytes(picture, EncodeJpeg(testing::PhotoLike(64, 48), 85));
  const std::string cli = "env XDG_CONFIG_HOME=" + Quote(dir.File("config")) + " " + TOVAK_CLI_PATH;
  auto build = [&](const std::string& engine, const std::string& out) {
    return RunCommand(cli + " build --engine " + Quote(engine) + " -o " + Quote(out) + " " +
                      Quote(picture));
  };
  auto info = [&](const std::string& package) {
    return RunCommand(cli + " info " + Quote(package)).output;
  };

  const std::string linuxPackage = dir.File("linux.exe");
  ASSERT_EQ(build("linux", linuxPackage).status, 0);
  const Bytes start = testing::ReadBytes(linuxPackage);
  EXPECT_EQ(Bytes(start.begin(), start.begin() + 4), (Bytes{0x7F, 'E', 'L', 'F'}));
  EXPECT_NE(info(linuxPackage).find("(engine: Linux program, "), std::string::npos)
      << info(linuxPackage);
  // The engine rides in every slideshow, so it comes without its symbol table.
  const std::string symtab = ".symtab";
  EXPECT_EQ(std::search(start.begin(), start.end(), symtab.begin(), symtab.end()), start.end());

  const std::string fakeWindows = dir.File("engine.bin");
  testing::WriteBytes(fakeWindows, {'M', 'Z', 0x90, 0, 3});
  ASSERT_EQ(build(fakeWindows, dir.File("win.exe")).status, 0);
  EXPECT_NE(info(dir.File("win.exe")).find("(engine: Windows program, 5 bytes)"),
            std::string::npos);

  testing::WriteBytes(fakeWindows, {'#', '!'});
  ASSERT_EQ(build(fakeWindows, dir.File("odd.exe")).status, 0);
  EXPECT_NE(info(dir.File("odd.exe")).find("(engine: unknown, 2 bytes)"), std::string::npos);

  const auto missing = build(dir.File("none"), dir.File("no.exe"));
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.output.find("The player engine cannot be read"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("no.exe")));
}

}  // namespace
}  // namespace tovak
