#pragma once

namespace tovak::cli {

// While one lives, SIGINT, SIGTERM and SIGHUP do not end the process at once: the command stops
// at its next step, removes what it was writing and ends with 128 + the signal's number, as a
// process the signal had ended would. A second signal of any of them ends the process at once,
// for a command stuck where it cannot look, removing first the temporaries being written.
class InterruptCatcher {
 public:
  InterruptCatcher();
  ~InterruptCatcher();
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;
};

// The signal that asked the command to stop, or 0.
int InterruptSignal();
// The exit status for that signal.
int InterruptedStatus();

// Thrown from a command's inner loops once a signal came; the command line's entry turns it into
// the exit status. It is no Exception, so that no layer between takes it for an ordinary failure.
struct Interrupted {};
void ThrowIfInterrupted();

}  // namespace tovak::cli
