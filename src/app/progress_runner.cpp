#include "app/progress_runner.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QTimer>

namespace tovak {

// What the worker reports and the window's answer, across the two threads.
struct ProgressRunner::Shared {
  std::mutex mutex;
  std::string text;
  int percent = 0;
  std::atomic<bool> stop = false;
  std::atomic<bool> done = false;
  std::function<void()> stopRequested;  // in the window's thread
};

void ProgressRunner::Cancel() {
  if (!running_ || running_->stop) return;
  running_->stop = true;
  if (running_->stopRequested) running_->stopRequested();
}

void ProgressRunner::Run(const QString& title, const ResultAsker::Work& work, QWidget* over) {
  if (running_) throw std::logic_error("a piece of work is running already");
  auto shared = std::make_shared<Shared>();
  std::exception_ptr error;
  {
    std::thread worker([&work, &error, shared] {
      try {
        work([&shared](const std::string& text, int percent) {
          {
            const std::lock_guard lock(shared->mutex);
            shared->text = text;
            shared->percent = percent;
          }
          return !shared->stop;
        });
      } catch (...) {
        error = std::current_exception();
      }
      shared->done = true;
    });
    // However the wait here ends, the work is told to stop and waited for before it goes away.
    struct Join {
      std::thread& worker;
      std::shared_ptr<Shared>& running;
      ~Join() {
        running->stop = true;
        worker.join();
        running.reset();
      }
    };
    running_ = shared;
    const Join join{worker, running_};
    Wait(title, *shared, over);
  }
  if (error) std::rethrow_exception(error);
}

void ProgressRunner::Wait(const QString& title, Shared& shared, QWidget* over) {
  QProgressDialog dialog(over ? over : parent_);
  dialog.setObjectName("ProgressRunnerDialog");
  dialog.setWindowTitle(title);
  dialog.setLabelText(title);
  // Room for the title in the caption, and no jumps as the reported line changes.
  dialog.setMinimumWidth(dialog.fontMetrics().horizontalAdvance(title) * 3 / 2 + 80);
  dialog.setRange(0, 100);
  dialog.setValue(0);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  dialog.setMinimumDuration(0);
  // Cancel does not end the wait: the work ends it, once it has cleaned up after itself.
  QObject::disconnect(&dialog, &QProgressDialog::canceled, &dialog, &QProgressDialog::cancel);
  QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [this] { Cancel(); });
  QObject::connect(&dialog, &QDialog::rejected, &dialog, [this] { Cancel(); });
  const bool gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
  bool busyCursor = false;
  shared.stopRequested = [&] {
    // The rest of the wait is short, and there is nothing left to cancel.
    dialog.hide();
    if (gui && !busyCursor) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    busyCursor = gui;
  };

  QEventLoop loop;
  QTimer poll;
  std::string shown;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    std::string text;
    int percent = 0;
    {
      const std::lock_guard lock(shared.mutex);
      text = shared.text;
      percent = shared.percent;
    }
    // Outside the lock: a modal dialog handles events while it takes a new value.
    if (text != shown) {
      shown = text;
      dialog.setLabelText(QString::fromStdString(shown));
    }
    if (percent != dialog.value()) dialog.setValue(percent);
    if (shared.done) loop.quit();
  });
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop, [&] {
    Cancel();
    loop.quit();
  });
  poll.start(40);
  dialog.show();
  if (!QCoreApplication::closingDown()) loop.exec();
  shared.stopRequested = nullptr;
  if (busyCursor) QGuiApplication::restoreOverrideCursor();
}

}  // namespace tovak
