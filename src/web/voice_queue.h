#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tovak {

// Makes the voices of a show on several cores while the page is written in order. Work runs at
// most a few voices ahead of the one taken last, so what is held grows with the cores, never
// with the show.
class VoiceQueue {
 public:
  // Makes voice index; throws Exception for a voice that cannot be used.
  using Make = std::function<std::vector<uint8_t>(int index)>;
  struct Voice {
    std::vector<uint8_t> bytes;
    std::string error;  // why the voice cannot be used; empty when it can
  };

  VoiceQueue(int count, int threads, Make make);
  ~VoiceQueue();
  VoiceQueue(const VoiceQueue&) = delete;
  VoiceQueue& operator=(const VoiceQueue&) = delete;

  // Waits for the next voice in order. Rethrows what was no Exception (memory running out).
  Voice Take();

 private:
  struct Done {
    Voice voice;
    std::exception_ptr failure;
  };
  void Work();

  const int count_;
  const int ahead_;
  const Make make_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int next_ = 0;   // the next voice to make
  int taken_ = 0;  // voices taken so far
  bool stopping_ = false;
  std::map<int, Done> done_;
  std::vector<std::jthread> workers_;
};

}  // namespace tovak
