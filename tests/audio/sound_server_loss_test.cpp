// Kills a private sound server under a running `tovak-cli record` and `tovak-cli play` and checks
// that both end promptly, the recording kept. The server is this test's own (own runtime folder
// and socket), so the shared server the other audio tests use is not disturbed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/wav_reader.h"
#include "audio/wav_stream.h"
#include "support/private_sound_server.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Clock = std::chrono::steady_clock;

// Waits up to limit for the child to exit; its exit status, or -1 if it is still running.
int WaitFor(pid_t pid, Clock::duration limit, Clock::time_point& exited) {
  const Clock::time_point end = Clock::now() + limit;
  int status = 0;
  while (Clock::now() < end) {
    if (waitpid(pid, &status, WNOHANG) == pid) {
      exited = Clock::now();
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return -1;
}

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

std::string ReadLog(const std::string& path) {
  const std::vector<uint8_t> bytes = testing::ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(SoundServerLoss, RecordAndPlayEndPromptlyAndTheTakeIsKept) {
  if (testing::RunCommand("command -v pulseaudio && command -v pactl").status != 0) {
    GTEST_SKIP() << "pulseaudio is not installed";
  }
  testing::TempDir dir;
  testing::PrivateSoundServer server(dir);
  ASSERT_TRUE(server.Ready()) << ReadLog(dir.File("server.log"));

  TWavStream longSound;
  longSound.SetFormat(TWaveFormatEx::Pcm(22050, 1, 8));
  const std::vector<uint8_t> samples(20 * 22050, 0x80);
  longSound.Write(samples.data(), static_cast<int64_t>(samples.size()));
  longSound.SaveToFile(dir.File("long.wav"));

  const std::string out = dir.File("out.wav");
  const pid_t record =
      testing::Spawn({TOVAK_CLI_PATH, "record", "10", out}, dir.File("record.log"));
  const pid_t play =
      testing::Spawn({TOVAK_CLI_PATH, "play", dir.File("long.wav")}, dir.File("play.log"));
  // About two seconds into the take: the commands and the server's first sound take a second.
  std::this_thread::sleep_for(std::chrono::seconds(3));
  server.Kill();
  const Clock::time_point killed = Clock::now();

  Clock::time_point recordEnd = killed, playEnd = killed;
  const int recordStatus = WaitFor(record, std::chrono::seconds(20), recordEnd);
  const int playStatus = WaitFor(play, std::chrono::seconds(20), playEnd);
  if (recordStatus < 0) kill(record, SIGKILL);
  if (playStatus < 0) kill(play, SIGKILL);
  ASSERT_GE(recordStatus, 0) << "record still running";
  ASSERT_GE(playStatus, 0) << "play still running";

  const std::string recordLog = ReadLog(dir.File("record.log"));
  const std::string playLog = ReadLog(dir.File("play.log"));
  ASSERT_TRUE(std::filesystem::exists(out)) << recordLog;
  const WavInfo take = ReadWavInfo(testing::ReadBytes(out));
  std::printf("record ended %.3f s and play %.3f s after the server died; %.2f s kept\n",
              Seconds(recordEnd - killed), Seconds(playEnd - killed), take.Seconds());
  // About a tenth of a second on the test machines; the bound leaves room for a busy one.
  EXPECT_LT(Seconds(recordEnd - killed), 3.0);
  EXPECT_LT(Seconds(playEnd - killed), 3.0);
  EXPECT_NE(recordStatus, 0);
  EXPECT_NE(recordLog.find("the sound device was lost"), std::string::npos) << recordLog;
  EXPECT_NE(playStatus, 0);
  EXPECT_NE(playLog.find("the sound device was lost"), std::string::npos) << playLog;
  EXPECT_GT(take.dataSize, 0u);
  EXPECT_LT(take.Seconds(), 3.0);
}

}  // namespace
}  // namespace tovak
