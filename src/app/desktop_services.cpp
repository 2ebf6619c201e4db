#include "app/desktop_services.h"

#include <spawn.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusInterface>
#include <QtDBus/QDBusReply>

extern char** environ;

namespace tovak {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// Asks whether the child has ended, reaping it if so.
std::optional<int> Ended(pid_t pid, bool& running) {
  int status = 0;
  const pid_t got = ::waitpid(pid, &status, WNOHANG);
  if (got == 0) return std::nullopt;
  running = false;
  if (got == pid && WIFEXITED(status)) return WEXITSTATUS(status);
  return std::nullopt;
}

pid_t Spawn(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return 0;
  return pid;
}

// Waits for the child while the application's events flow, for at most limitMs when that is
// not negative. Running is left true when the wait ended first.
std::optional<int> WaitWhileEventsFlow(pid_t pid, int limitMs, bool& running) {
  running = true;
  std::optional<int> status;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) {
    int raw = 0;
    running = false;
    if (::waitpid(pid, &raw, 0) == pid && WIFEXITED(raw)) return WEXITSTATUS(raw);
    return std::nullopt;
  }
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    status = Ended(pid, running);
    if (!running) loop.quit();
  });
  QObject::connect(app, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
  if (limitMs >= 0) QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
  poll.start(25);
  if (!QCoreApplication::closingDown()) loop.exec();
  return running ? std::nullopt : status;
}

// Reaps a child that outlived our wait once it ends.
void ReapLater(pid_t pid) {
  auto* poll = new QTimer(QCoreApplication::instance());
  QObject::connect(poll, &QTimer::timeout, poll, [poll, pid] {
    bool running = true;
    Ended(pid, running);
    if (!running) poll->deleteLater();
  });
  poll->start(1000);
}

}  // namespace

bool DesktopServices::StartDetached(const std::string& program,
                                    const std::vector<std::string>& args) {
  QStringList arguments;
  for (const std::string& arg : args) arguments << Q(arg);
  return QProcess::startDetached(Q(program), arguments, QFileInfo(Q(program)).absolutePath());
}

bool DesktopServices::OpenWithDesktop(const std::string& path) {
  // The desktop's own opener is asked directly: handed over through QDesktopServices it fails
  // unseen when no program takes the file. An opener that is still busy after a few seconds
  // has found a program (some wait until that program ends) and is left to it.
  const pid_t pid = Spawn(Opener, {path});
  if (pid == 0) return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
  bool running = true;
  const std::optional<int> status = WaitWhileEventsFlow(pid, kOpenerPatienceMs, running);
  if (running) {
    if (QCoreApplication::instance()) ReapLater(pid);
    return true;
  }
  return status && *status == 0;
}

bool DesktopServices::ShowInFileManager(const std::string& path) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (bus.isConnected()) {
    QDBusInterface manager("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                           "org.freedesktop.FileManager1", bus);
    if (manager.isValid()) {
      manager.setTimeout(5000);
      const QDBusMessage reply = manager.call(
          "ShowItems", QStringList{QUrl::fromLocalFile(Q(path)).toString()}, QString());
      if (reply.type() == QDBusMessage::ReplyMessage) return true;
    }
  }
  return OpenWithDesktop(QFileInfo(Q(path)).absolutePath().toStdString());
}

std::optional<int> DesktopServices::RunAndWait(const std::string& program,
                                               const std::vector<std::string>& args) {
  // Our own child rather than a QProcess: QProcess kills its program when the wait is given up
  // at quitting, and would take an unfinished mail with it.
  const pid_t pid = Spawn(program, args);
  if (pid == 0) return std::nullopt;
  bool running = true;
  return WaitWhileEventsFlow(pid, -1, running);
}

bool DesktopServices::SendMail(const std::string& path) {
  const std::optional<int> status = RunAndWait("xdg-email", {"--attach", path});
  return status && *status == 0;
}

void DesktopServices::SetBusy(bool busy) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  if (busy) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  } else {
    QGuiApplication::restoreOverrideCursor();
  }
}

}  // namespace tovak
