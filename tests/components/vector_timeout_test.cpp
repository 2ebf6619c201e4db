#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "components/magick_decoder.h"
#include "components/picture_error.h"
#include "components/picture_file.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const std::string kEndless = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n{} loop\n";

struct Process {
  int pid = 0;
  std::string name;
  char state = '?';
  int parent = 0;
  int group = 0;
};

std::vector<Process> LiveProcesses() {
  std::vector<Process> all;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    std::ifstream in(entry.path() / "stat");
    std::string line;
    if (!std::getline(in, line)) continue;
    const size_t open = line.find('('), close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos) continue;
    Process p;
    p.pid = std::stoi(line.substr(0, open));
    p.name = line.substr(open + 1, close - open - 1);
    std::istringstream rest(line.substr(close + 2));
    rest >> p.state >> p.parent >> p.group;
    if (p.state != 'Z' && p.state != 'X') all.push_back(p);
  }
  return all;
}

// Whether any process of the group is alive, a little while given for SIGKILL to land.
bool GroupLives(int group) {
  for (auto until = Clock::now() + 1s; Clock::now() < until; usleep(10'000)) {
    bool found = false;
    for (const Process& p : LiveProcesses()) found |= p.group == group;
    if (!found) return false;
  }
  return true;
}

class VectorTimeoutTest : public ::testing::Test {
 protected:
  ~VectorTimeoutTest() override { SetVectorDrawingLimit(kVectorDrawingLimit); }
  testing::TempDir dir_;
};

TEST_F(VectorTimeoutTest, EndlessPostScriptIsRefusedInTime) {
  SetVectorDrawingLimit(1500ms);
  const std::string path = dir_.File("endless.eps");
  std::ofstream(path) << kEndless;
  const auto start = Clock::now();
  std::string error;
  try {
    LoadPicture(path);
  } catch (const EPictureError& e) {
    error = e.what();
  }
  const auto took = Clock::now() - start;
  EXPECT_EQ(error, "endless.eps : took too long to draw");
  EXPECT_GE(took, 1500ms);
  EXPECT_LT(took, 4s);
}

TEST_F(VectorTimeoutTest, WhatGhostscriptPrintsIsNoAnswer) {
  const std::string path = dir_.File("broken.eps");
  std::ofstream(path) << "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\nnotacommand\n";
  std::string error;
  try {
    LoadPicture(path);
  } catch (const EPictureError& e) {
    error = e.what();
  }
  EXPECT_EQ(error, "broken.eps : the picture could not be drawn (it may be damaged)");
}

TEST_F(VectorTimeoutTest, CancellingKillsTheDrawingAtOnce) {
  std::optional<Process> worker;
  bool drawing = false;
  Clock::time_point cancelled;
  const auto start = Clock::now();
  auto keepWaiting = [&] {
    for (const Process& p : LiveProcesses()) {
      if (p.parent == getpid()) worker = p;
      drawing |= worker && p.group == worker->group && p.name == "gs";
    }
    if (!drawing && Clock::now() - start < 5s) return true;
    cancelled = Clock::now();
    return false;
  };
  const std::string endless = kEndless;
  std::string error;
  try {
    DecodeWithMagick(reinterpret_cast<const uint8_t*>(endless.data()), endless.size(), "EPS",
                     keepWaiting);
  } catch (const EPictureError& e) {
    error = e.what();
  }
  const auto latency = Clock::now() - cancelled;
  EXPECT_EQ(error, "drawing was cancelled");
  ASSERT_TRUE(worker.has_value());
  EXPECT_TRUE(drawing) << "Ghostscript was never seen drawing";
  EXPECT_EQ(worker->group, worker->pid);
  EXPECT_LT(latency, 500ms);
  EXPECT_FALSE(std::filesystem::exists("/proc/" + std::to_string(worker->pid)))
      << "the worker was not reaped";
  EXPECT_FALSE(GroupLives(worker->group)) << "Ghostscript outlived the worker";
}

}  // namespace
}  // namespace tovak
