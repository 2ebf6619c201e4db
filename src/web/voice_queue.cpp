#include "web/voice_queue.h"

#include <algorithm>

#include "common/exception.h"

namespace tovak {

VoiceQueue::VoiceQueue(int count, int threads, Make make)
    : count_(count), ahead_(std::max(1, threads)), make_(std::move(make)) {
  for (int i = 0; i < std::min(ahead_, count_); ++i) workers_.emplace_back([this] { Work(); });
}

VoiceQueue::~VoiceQueue() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  workers_.clear();
}

void VoiceQueue::Work() {
  for (;;) {
    int index;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock,
                    [this] { return stopping_ || next_ >= count_ || next_ < taken_ + ahead_; });
      if (stopping_ || next_ >= count_) return;
      index = next_++;
    }
    Done done;
    try {
      done.voice.bytes = make_(index);
    } catch (const Exception& e) {
      done.voice.error = e.Message();
    } catch (...) {
      done.failure = std::current_exception();
    }
    {
      const std::lock_guard lock(mutex_);
      done_.emplace(index, std::move(done));
    }
    changed_.notify_all();
  }
}

VoiceQueue::Voice VoiceQueue::Take() {
  std::unique_lock lock(mutex_);
  const int index = taken_;
  if (index >= count_) return {};
  changed_.wait(lock, [&] { return done_.count(index) > 0; });
  auto found = done_.find(index);
  Done done = std::move(found->second);
  done_.erase(found);
  ++taken_;
  lock.unlock();
  changed_.notify_all();
  if (done.failure) std::rethrow_exception(done.failure);
  return std::move(done.voice);
}

}  // namespace tovak
