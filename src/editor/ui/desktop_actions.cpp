#include "editor/ui/desktop_actions.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

namespace tovak {

QString WritePictureListFile(const std::vector<std::string>& pictures) {
  QTemporaryFile file(QDir::temp().filePath("TempXXXXXX.tmp"));
  file.setAutoRemove(false);
  if (!file.open()) return {};
  for (const std::string& picture : pictures) {
    file.write(picture.data(), static_cast<qint64>(picture.size()));
    file.write("\n", 1);
  }
  file.close();
  return file.fileName();
}

bool OpenWithDesktop(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void ShowPicture(const std::string& programFolder, const std::vector<std::string>& pictures,
                 const std::string& picture, const std::function<bool(const QString&)>& open) {
  const QString path = QString::fromStdString(picture);
  if (!QFileInfo::exists(path)) return;
  const QString viewer = QString::fromStdString(programFolder) + "Peekora.exe";
  // The list is left behind for the viewer, so it is written only when the viewer is there.
  if (QFileInfo::exists(viewer)) {
    const QString list = WritePictureListFile(pictures);
    if (QProcess::startDetached(viewer, {"/RUN", list, path})) return;
    QFile::remove(list);
  }
  open(path);
}

bool StartVolumeControl() {
  // The mixers of the common desktops, the one that shows every stream first.
  const std::vector<QStringList> candidates = {
      {"pavucontrol"},
      {"pavucontrol-qt"},
      {"gnome-control-center", "sound"},
      {"kcmshell6", "kcm_pulseaudio"},
      {"kcmshell5", "kcm_pulseaudio"},
      {"mate-volume-control"},
  };
  for (const QStringList& command : candidates) {
    const QString program = QStandardPaths::findExecutable(command.front());
    if (program.isEmpty()) continue;
    if (QProcess::startDetached(program, command.mid(1))) return true;
  }
  return false;
}

}  // namespace tovak
