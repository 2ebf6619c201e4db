#include "common/temporary_registry.h"

#include <unistd.h>

#include <atomic>
#include <cstring>

namespace tovak {

namespace {

constexpr int kSlots = 64;
constexpr size_t kLongestPath = 4096;

// A slot is free (0), being filled or emptied (1), or holds a name (2). The handler reads only
// slots that hold a name; a slot freed is taken again only after all the others, so a name is
// not rewritten under a handler that is reading it.
struct Slot {
  std::atomic<int> state{0};
  bool folder = false;
  char path[kLongestPath];
};

Slot slots[kSlots];
std::atomic<unsigned> next{0};

void RemoveAll(bool folders) {
  for (Slot& slot : slots) {
    if (slot.state.load(std::memory_order_acquire) != 2 || slot.folder != folders) continue;
    if (folders) {
      ::rmdir(slot.path);
    } else {
      ::unlink(slot.path);
    }
  }
}

}  // namespace

RegisteredTemporary::RegisteredTemporary(const std::string& path, Kind kind) {
  if (path.empty() || path.size() >= kLongestPath) return;
  for (int tried = 0; tried < kSlots; ++tried) {
    const int at = static_cast<int>(next.fetch_add(1) % kSlots);
    int free = 0;
    if (!slots[at].state.compare_exchange_strong(free, 1)) continue;
    std::memcpy(slots[at].path, path.c_str(), path.size() + 1);
    slots[at].folder = kind == Kind::Folder;
    slots[at].state.store(2, std::memory_order_release);
    slot_ = at;
    return;
  }
}

RegisteredTemporary::~RegisteredTemporary() {
  if (slot_ < 0) return;
  slots[slot_].state.store(0, std::memory_order_release);
}

void RemoveRegisteredTemporaries() {
  RemoveAll(false);
  RemoveAll(true);
}

}  // namespace tovak
