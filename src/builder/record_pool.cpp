#include "builder/record_pool.h"

#include <chrono>
#include <utility>

namespace tovak {

RecordPool::RecordPool(int32_t count, int32_t workers, int32_t window, Prepare prepare)
    : count_(count), window_(window < 1 ? 1 : window), prepare_(std::move(prepare)) {
  workers_.reserve(static_cast<size_t>(workers));
  for (int32_t k = 0; k < workers; ++k) workers_.emplace_back([this] { Work(); });
}

RecordPool::~RecordPool() {
  Stop();
}

void RecordPool::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) {
    if (worker.joinable()) worker.join();
  }
}

void RecordPool::Work() {
  const std::function<bool()> stopped = [this] {
    std::lock_guard lock(mutex_);
    return stop_;
  };
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stop_ || next_ >= count_ || next_ < taken_ + window_; });
    if (stop_ || next_ >= count_) return;
    const int32_t index = next_++;
    lock.unlock();
    Slot slot;
    try {
      slot.record = prepare_(index, stopped);
    } catch (...) {
      slot.error = std::current_exception();
    }
    lock.lock();
    finished_.emplace(index, std::move(slot));
    changed_.notify_all();
  }
}

PreparedRecord RecordPool::Take(int32_t index, const std::function<void()>& whileWaiting) {
  std::unique_lock lock(mutex_);
  while (!changed_.wait_for(lock, std::chrono::milliseconds(5),
                            [&] { return finished_.count(index) > 0; })) {
    if (!whileWaiting) continue;
    lock.unlock();
    whileWaiting();
    lock.lock();
  }
  Slot slot = std::move(finished_.at(index));
  finished_.erase(index);
  taken_ = index + 1;
  lock.unlock();
  changed_.notify_all();
  if (slot.error) std::rethrow_exception(slot.error);
  return std::move(slot.record);
}

}  // namespace tovak
