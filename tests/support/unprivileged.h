#pragma once

#include <unistd.h>

namespace tovak::testing {

// While it lives, a test that runs as root acts as an unprivileged user, so that a folder
// without write permission refuses writes as it does for anyone else. Folders the test needs
// must be open to others (mkdtemp makes its folder private).
class Unprivileged {
 public:
  static constexpr uid_t kNobody = 65534;

  Unprivileged() : root_(::geteuid() == 0) {
    if (root_) active_ = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
  }
  ~Unprivileged() {
    if (!root_) return;
    [[maybe_unused]] const int user = ::seteuid(0);
    [[maybe_unused]] const int group = ::setegid(0);
  }
  Unprivileged(const Unprivileged&) = delete;
  Unprivileged& operator=(const Unprivileged&) = delete;

  // False when root could not give up its rights; the test cannot then show a refusal.
  bool Active() const { return !root_ || active_; }

 private:
  bool root_;
  bool active_ = false;
};

}  // namespace tovak::testing
