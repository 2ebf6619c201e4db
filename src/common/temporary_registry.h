#pragma once

#include <string>

namespace tovak {

// The temporaries this process is writing right now, kept where a signal handler can reach
// them: a command ended by a second Ctrl-C, stuck where it cannot look, still leaves nothing
// half-written behind.
class RegisteredTemporary {
 public:
  enum class Kind { File, Folder };
  // A name too long to keep (or more temporaries at once than are kept) is simply not kept.
  explicit RegisteredTemporary(const std::string& path, Kind kind = Kind::File);
  ~RegisteredTemporary();
  RegisteredTemporary(const RegisteredTemporary&) = delete;
  RegisteredTemporary& operator=(const RegisteredTemporary&) = delete;

 private:
  int slot_ = -1;
};

// Removes every registered file, then every registered folder (when empty). Safe to call from a
// signal handler, and only meant for one: the writers are not told.
void RemoveRegisteredTemporaries();

}  // namespace tovak
