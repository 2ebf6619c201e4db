#include "cli/interruption.h"

#include <csignal>

#include "common/temporary_registry.h"

namespace tovak::cli {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t caught = 0;
struct sigaction previous[3];
struct sigaction previousPipe;

void OnSignal(int signal) {
  if (!caught) {
    caught = signal;
    return;
  }
  // A second signal ends the process at once, for a command stuck where it cannot look; what it
  // was writing goes first. The signal is blocked until this returns, and then ends the process
  // as it would have without us.
  RemoveRegisteredTemporaries();
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
  raise(signal);
}

}  // namespace

InterruptCatcher::InterruptCatcher() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // Without SA_RESTART a wait on a pipe or a terminal returns, so the command can look.
  action.sa_flags = 0;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous[i]);
  // A reader of our output that goes away must not end us before our temporaries are removed;
  // the failed write says so instead.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, &previousPipe);
}

InterruptCatcher::~InterruptCatcher() {
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous[i], nullptr);
  sigaction(SIGPIPE, &previousPipe, nullptr);
}

int InterruptSignal() {
  return caught;
}

int InterruptedStatus() {
  return 128 + caught;
}

void ThrowIfInterrupted() {
  if (caught) throw Interrupted{};
}

}  // namespace tovak::cli
