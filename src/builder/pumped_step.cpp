#include "builder/pumped_step.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace tovak {

void RunWhilePumping(const std::function<void()>& step, const std::function<void()>& pump,
                     std::chrono::milliseconds interval) {
  if (!pump) {
    step();
    return;
  }
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  std::exception_ptr stepError;
  std::thread worker([&] {
    try {
      step();
    } catch (...) {
      stepError = std::current_exception();
    }
    std::lock_guard lock(mutex);
    done = true;
    ended.notify_one();
  });
  const auto waitForStep = [&](std::chrono::milliseconds most) {
    std::unique_lock lock(mutex);
    return ended.wait_for(lock, most, [&] { return done; });
  };
  std::exception_ptr pumpError;
  // A step that ends within one interval never sees a pump.
  while (!waitForStep(interval)) {
    try {
      pump();
    } catch (...) {
      // The step still owns what it works on: it must end before anything unwinds.
      pumpError = std::current_exception();
      break;
    }
  }
  worker.join();
  if (pumpError) std::rethrow_exception(pumpError);
  if (stepError) std::rethrow_exception(stepError);
}

}  // namespace tovak
