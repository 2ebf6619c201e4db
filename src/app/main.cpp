// The desktop program: the main window over the pictures named on the command line, or over
// a hand-over list that another program wrote for us.
#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "app/tfm_plimo_main_screen.h"
#include "audio/wave_device.h"
#include "common/paths.h"
#include "editor/working_folder.h"

int main(int argc, char** argv) {
  // Asked at a terminal, the program answers there instead of opening its window.
  for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::printf(
          "Usage: tovak [PICTURE...]\nOpens the window that makes a talking slideshow of "
          "the pictures.\nSee also tovak-cli help.\n");
      return 0;
    }
    if (arg == "--version") return std::printf("tovak %s\n", TOVAK_VERSION) < 0;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quillora Tovak!");
  tovak::Paths paths = tovak::Paths::FromExecutable();
  paths.SetWorkFolder(tovak::ChooseWorkFolder(
      paths.ProgramFolder(),
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString()));

  // One copy works in the folder at a time; a second one leaves it untouched.
  tovak::WorkingFolder folder(paths.WorkFolder());
  std::string error;
  if (!folder.Claim(&error)) {
    std::error_code code;
    const QString text =
        std::filesystem::is_directory(folder.Path(), code)
            ? QApplication::translate("main", "Quillora Tovak! is already running.")
            : QString::fromStdString(error);
    QMessageBox::information(nullptr, QApplication::translate("main", "Quillora Tovak!"), text);
    return 1;
  }

  const std::unique_ptr<tovak::WaveInDevice> input = tovak::MakeQtWaveIn();
  const std::unique_ptr<tovak::WaveOutDevice> output = tovak::MakeQtWaveOut();
  tovak::TfmPlimoMainScreen window(paths, folder, *input, *output);
  if (!window.OpenArguments(QApplication::arguments().mid(1))) return 1;
  window.show();
  return app.exec();
}
