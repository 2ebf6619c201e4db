#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace tovak {

// What one picture of a build stores, made ready before the writer needs it. The errors that the
// one-thread build meets only after it wrote the record before wait beside the records, so that
// the writer fails at the very same place.
struct PreparedRecord {
  bool readable = true;
  std::vector<uint8_t> picture;
  std::vector<uint8_t> voice;
  std::vector<uint8_t> message;
  std::exception_ptr voiceError;
  std::exception_ptr messageError;
};

// Prepares records 0..count-1 on worker threads while one writer takes them strictly in order.
// A worker starts record i only while i is less than window records ahead of the writer, so the
// memory held stays flat however many pictures a build has.
class RecordPool {
 public:
  // stopped tells a preparation that its result is no longer wanted.
  using Prepare =
      std::function<PreparedRecord(int32_t index, const std::function<bool()>& stopped)>;

  RecordPool(int32_t count, int32_t workers, int32_t window, Prepare prepare);
  // Stops the workers and waits for them: no thread outlives the pool.
  ~RecordPool();
  RecordPool(const RecordPool&) = delete;
  RecordPool& operator=(const RecordPool&) = delete;

  // The record index, the next after the last one taken. whileWaiting runs on this thread every
  // few milliseconds until it is ready and may throw to give up. The preparation's error is
  // thrown here, in order.
  PreparedRecord Take(int32_t index, const std::function<void()>& whileWaiting);

 private:
  struct Slot {
    PreparedRecord record;
    std::exception_ptr error;
  };

  void Work();
  void Stop();

  const int32_t count_;
  const int32_t window_;
  const Prepare prepare_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<int32_t, Slot> finished_;
  int32_t next_ = 0;   // the next record a worker starts
  int32_t taken_ = 0;  // records the writer took so far
  bool stop_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace tovak
