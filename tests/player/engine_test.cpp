// Linux packages start with the real player and check themselves.
#include <gtest/gtest.h>

#include <filesystem>

#include "components/jpeg_codec.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using testing::Quote;
using testing::RunCommand;

TEST(Engine, APackageChecksItselfAndRefusesDamage) {
  testing::TempDir dir;
  for (const char* name : {"a", "b"}) {
    testing::WriteBytes(dir.File(std::string(name) + ".jpg"),
                        EncodeJpeg(testing::PhotoLike(320, 240), 80));
  }
  testing::WriteBytes(dir.File("c.png"), {'n', 'o'});  // stored empty; the show goes on
  testing::WriteBytes(dir.File("a.txt"), {'h', 'i'});
  const std::string show = dir.File("show");
  auto run = RunCommand(std::string("env XDG_CONFIG_HOME=") + Quote(dir.File("cfg")) + " " +
                        TOVAK_CLI_PATH + " build --engine linux -o " + Quote(show) + " " +
                        Quote(dir.File("a.jpg")) + " " + Quote(dir.File("b.jpg")) + " " +
                        Quote(dir.File("c.png")));
  ASSERT_EQ(run.status, 0) << run.output;

  run = RunCommand(Quote(show) + " --check");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("3 pictures"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("no picture"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\"hi\""), std::string::npos) << run.output;

  // Cut short: a clear error, not a crash, from the check and from the show itself.
  const auto size = fs::file_size(show);
  fs::copy_file(show, dir.File("cut"));
  fs::resize_file(dir.File("cut"), size - 100);
  run = RunCommand(Quote(dir.File("cut")) + " --check");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("tovak-player: cut: not a complete slideshow"), std::string::npos)
      << run.output;
  run = RunCommand("QT_QPA_PLATFORM=offscreen " + Quote(dir.File("cut")));
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_NE(run.output.find("tovak-player: cut: not a complete slideshow"), std::string::npos)
      << run.output;

  // The engine alone has nothing to show.
  run = RunCommand(std::string(TOVAK_PLAYER_PATH) + " --check");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("no slideshow attached"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace tovak
