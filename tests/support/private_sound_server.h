#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace tovak::testing {

// Starts a program with its output going to a file.
inline pid_t Spawn(const std::vector<std::string>& args, const std::string& log) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(fd, 1);
  dup2(fd, 2);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

// A sound server of the test's own (own runtime folder and socket), so the shared server the
// other audio tests use is not disturbed. The environment points every later client at it.
class PrivateSoundServer {
 public:
  explicit PrivateSoundServer(const TempDir& dir) {
    const std::string socket = dir.File("native");
    setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    setenv("PULSE_RUNTIME_PATH", dir.Path().c_str(), 1);
    setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    setenv("PULSE_COOKIE", dir.File("cookie").c_str(), 1);
    // A client that loses the server must not start a fresh one behind the test's back.
    RunCommand("echo 'autospawn = no' > " + Quote(dir.File("client.conf")));
    setenv("PULSE_CLIENTCONFIG", dir.File("client.conf").c_str(), 1);
    pid_ = Spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                  "--use-pid-file=no",
                  "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                  "--load=module-null-sink sink_name=spk",
                  "--load=module-remap-source source_name=mic master=spk.monitor"},
                 dir.File("server.log"));
    for (int i = 0; i < 100 && !ready_; ++i) {
      ready_ = RunCommand("pactl info").status == 0;
      if (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ready_ = ready_ && RunCommand("pactl set-default-sink spk").status == 0 &&
             RunCommand("pactl set-default-source mic").status == 0;
  }
  ~PrivateSoundServer() { Kill(); }

  bool Ready() const { return ready_; }
  // Freezes the server and lets it go on; what clients send meanwhile waits in its socket.
  void Pause() { kill(pid_, SIGSTOP); }
  void Resume() { kill(pid_, SIGCONT); }
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  bool ready_ = false;
};

}  // namespace tovak::testing
