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

}  // namespace

bool DesktopServices::StartDetached(const std::string& program,
                                    const std::vector<std::string>& args) {
  QStringList arguments;
  for (const std::string& arg : args) arguments << Q(arg);
  return QProcess::startDetached(Q(program), arguments, QFileInfo(Q(program)).absolutePath());
}

bool DesktopServices::OpenWithDesktop(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
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
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
    return std::nullopt;

  bool running = true;
  std::optional<int> status;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) {
    int raw = 0;
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
  poll.start(25);
  if (!QCoreApplication::closingDown()) loop.exec();
  return running ? std::nullopt : status;
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
