#pragma once

#include <memory>

#include <QString>

#include "app/result_actions.h"

class QWidget;

namespace tovak {

// Runs a long piece of work on a thread of its own under a window-modal progress dialog, so
// that the window keeps painting and its Cancel is heard while the work goes on.
class ProgressRunner {
 public:
  explicit ProgressRunner(QWidget* parent) : parent_(parent) {}
  ProgressRunner(const ProgressRunner&) = delete;
  ProgressRunner& operator=(const ProgressRunner&) = delete;

  // Returns once work has ended, rethrowing what it threw. Cancel, closing the dialog and the
  // application's quitting ask the work to stop; it is waited for all the same, since it may
  // still be writing. One work at a time. The dialog covers over, or else the runner's window.
  void Run(const QString& title, const ResultAsker::Work& work, QWidget* over = nullptr);
  bool Running() const { return running_ != nullptr; }
  // Asks the running work to stop; Run returns once it has.
  void Cancel();

 private:
  struct Shared;
  // Shows the dialog and handles events until the work is done or the application quits.
  void Wait(const QString& title, Shared& shared, QWidget* over);

  QWidget* parent_;
  std::shared_ptr<Shared> running_;
};

}  // namespace tovak
