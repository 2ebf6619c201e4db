// The desktop program: the editor on the pictures named on the command line. Go! prints the
// project's three lists, one entry per line, and leaves their files and journal in the working
// folder; Close empties it. A run that ended any other way is offered back at the next start.
#include <QApplication>
#include <QMessageBox>
#include <iostream>

#include "audio/wave_device.h"
#include "common/exception.h"
#include "common/ini_file.h"
#include "common/paths.h"
#include "editor/ui/tfm_manual.h"
#include "editor/working_folder.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quillora Tovak!");
  const tovak::Paths paths = tovak::Paths::FromExecutable();

  // Only one copy may work in the folder; its files stay for the lists printed at the end.
  tovak::WorkingFolder folder(paths.WorkFolder());
  std::string error;
  if (!folder.Claim(&error)) {
    QMessageBox::critical(nullptr, "Quillora Tovak!", QString::fromStdString(error));
    return 1;
  }

  std::vector<std::string> pictures, messages, voices;
  if (folder.HasUnfinishedProject()) {
    const auto answer = QMessageBox::question(
        nullptr, "Quillora Tovak!",
        QApplication::translate("main", "Restore the slideshow you were working on?"));
    if (answer == QMessageBox::Yes) {
      try {
        tovak::ProjectLists lists = folder.Restore();
        pictures = std::move(lists.pictures);
        messages = std::move(lists.messages);
        voices = std::move(lists.voices);
      } catch (const tovak::Exception& e) {
        QMessageBox::warning(nullptr, "Quillora Tovak!", QString::fromStdString(e.Message()));
      }
    }
  }
  if (pictures.empty()) folder.Empty();
  const std::unique_ptr<tovak::WaveInDevice> input = tovak::MakeQtWaveIn();
  const std::unique_ptr<tovak::WaveOutDevice> output = tovak::MakeQtWaveOut();
  tovak::TfmManual editor(pictures, messages, voices, paths, *input, *output);
  editor.Load(false);
  editor.Session().KeepJournalIn(folder);
  // The microphone the user chose last time, by name; empty is the system's default.
  tovak::IniFile settings(paths.SettingsFile());
  const std::string microphone = settings.ReadString("Tovak! Settings", "Microphone", "");
  editor.Session().SetInputDevice(microphone);
  struct RememberMicrophone {
    tovak::IniFile& settings;
    tovak::EditorSession& session;
    const std::string& before;
    ~RememberMicrophone() {
      if (session.InputDevice() != before) {
        settings.WriteString("Tovak! Settings", "Microphone", session.InputDevice());
      }
    }
  } remember{settings, editor.Session(), microphone};
  const QStringList files = QApplication::arguments().mid(1);
  if (!files.isEmpty()) editor.ImportFiles(files);
  if (editor.exec() != QDialog::Accepted) {
    folder.Release();
    return 0;
  }

  for (const auto& [title, list] :
       {std::pair{"Pictures:", &pictures}, std::pair{"Messages:", &messages},
        std::pair{"Voices:", &voices}}) {
    std::cout << title << '\n';
    for (const std::string& entry : *list) std::cout << entry << '\n';
  }
  std::cout.flush();
  return 0;
}
