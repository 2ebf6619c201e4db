#include "builder/pumped_step.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace tovak {
namespace {

using namespace std::chrono_literals;

// Waits, up to a generous limit, until the caller has pumped a few times.
void WaitForPumps(const std::atomic<int>& pumps, int count) {
  const auto limit = std::chrono::steady_clock::now() + 20s;
  while (pumps < count && std::chrono::steady_clock::now() < limit) {
    std::this_thread::sleep_for(1ms);
  }
}

TEST(RunWhilePumping, TheCallerPumpsWhileTheStepWorks) {
  const auto caller = std::this_thread::get_id();
  std::atomic<int> pumps = 0;
  bool pumpedElsewhere = false;
  std::atomic<int> pumpsWhenDone = -1;
  RunWhilePumping(
      [&] {
        WaitForPumps(pumps, 3);
        pumpsWhenDone = pumps.load();
      },
      [&] {
        if (std::this_thread::get_id() != caller) pumpedElsewhere = true;
        ++pumps;
      },
      1ms);
  EXPECT_GE(pumpsWhenDone, 3);
  EXPECT_FALSE(pumpedElsewhere);
  EXPECT_LE(pumps, pumpsWhenDone + 1);  // at most the pump that was under way
}

TEST(RunWhilePumping, FailuresReachTheCallerAfterTheStepEnded) {
  EXPECT_THROW(RunWhilePumping([] { throw std::runtime_error("step"); }, [] {}),
               std::runtime_error);

  // A pump that throws: the step still finishes before the exception leaves.
  std::atomic<bool> finished = false;
  std::atomic<int> pumps = 0;
  EXPECT_THROW(RunWhilePumping(
                   [&] {
                     WaitForPumps(pumps, 1);
                     std::this_thread::sleep_for(20ms);
                     finished = true;
                   },
                   [&] {
                     ++pumps;
                     throw std::logic_error("pump");
                   },
                   1ms),
               std::logic_error);
  EXPECT_TRUE(finished);
}

TEST(RunWhilePumping, WithoutAPumpTheStepRunsHere) {
  std::thread::id ranOn;
  RunWhilePumping([&] { ranOn = std::this_thread::get_id(); }, nullptr);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_THROW(RunWhilePumping([] { throw std::runtime_error("step"); }, nullptr),
               std::runtime_error);
}

}  // namespace
}  // namespace tovak
