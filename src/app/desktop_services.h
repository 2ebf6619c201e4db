#pragma once

#include "app/result_actions.h"

namespace tovak {

// The result actions' way out of the program on a Linux desktop: programs are started with
// their arguments as they are (no shell, no quoting), files open through the desktop's
// associations, the file manager is asked over D-Bus to select a file, mail goes through
// xdg-email. Needs a QGuiApplication for the cursor and the desktop; waits keep its events
// flowing.
class DesktopServices : public ResultDesktop {
 public:
  bool StartDetached(const std::string& program, const std::vector<std::string>& args) override;
  // Asks Opener and waits up to kOpenerPatienceMs for its word.
  bool OpenWithDesktop(const std::string& path) override;
  std::string Opener = "xdg-open";
  static constexpr int kOpenerPatienceMs = 5000;
  // Falls back to opening the folder when no file manager answers on D-Bus.
  bool ShowInFileManager(const std::string& path) override;
  // The program is not stopped when the wait ends because the application quits: a mail
  // being written survives us.
  std::optional<int> RunAndWait(const std::string& program,
                                const std::vector<std::string>& args) override;
  bool SendMail(const std::string& path) override;
  void SetBusy(bool busy) override;
};

}  // namespace tovak
