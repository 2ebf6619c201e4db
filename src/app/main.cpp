// The desktop program: the main window over the pictures named on the command line, a
// slideshow to change, or a hand-over list that another program wrote for us.
#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string_view>

#include "app/tfm_plimo_main_screen.h"
#include "audio/wave_device.h"
#include "common/paths.h"
#include "editor/working_folder.h"
#include "i18n/language_dictionary.h"
#include "i18n/language_id_setting.h"

namespace {

// Speaks the chosen language from the first message on, until the main window's own dictionary
// takes over; also for the last word when the window is gone.
std::optional<tovak::LanguageDictionary> startDictionary;

int Run(QApplication& app) {
  tovak::Paths paths = tovak::Paths::FromExecutable();
  startDictionary.emplace();
  startDictionary->SetFileName(paths.ProgramFolder() + tovak::kDictionaryFileName);
  startDictionary->SetLanguage(tovak::LanguageIdSetting(paths, -1));
  paths.SetWorkFolder(tovak::ChooseWorkFolder(
      paths.ProgramFolder(),
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString()));

  // One copy works in the folder at a time; a second one leaves it untouched. A folder that
  // cannot be used for another reason says which folder and why.
  tovak::WorkingFolder folder(paths.WorkFolder());
  std::string error;
  if (!folder.Claim(&error)) {
    QMessageBox::warning(nullptr, QApplication::translate("main", "Quillora Tovak!"),
                         QString::fromStdString(error));
    return 1;
  }

  const std::unique_ptr<tovak::WaveInDevice> input = tovak::MakeQtWaveIn();
  const std::unique_ptr<tovak::WaveOutDevice> output = tovak::MakeQtWaveOut();
  // Deleted only on the way out of a run that did not give way: its destruction empties the
  // working folder, which after a failure would take the recordings with it.
  auto* window = new tovak::TfmPlimoMainScreen(paths, folder, *input, *output);
  // Left installed, it would answer for texts a later choice of English leaves untranslated.
  startDictionary.reset();
  int result = 1;
  if (window->OpenArguments(QApplication::arguments().mid(1))) {
    window->show();
    result = app.exec();
  }
  delete window;
  return result;
}

// The last word when something gave way beneath every window: one line on the terminal and,
// where a window can still be shown, the same in a box. The recordings stay in the working
// folder, whose journal the next start offers back.
int Report(const QString& text) {
  std::fprintf(stderr, "tovak: %s\n", text.toLocal8Bit().constData());
  QMessageBox::critical(nullptr, QApplication::translate("main", "Quillora Tovak!"), text);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // Asked at a terminal, the program answers there instead of opening its window.
  for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::printf(
          "Usage: tovak [PICTURE...]\n       tovak SLIDESHOW.exe\nOpens the window that makes "
          "a talking slideshow of the pictures, or changes one made before.\nSee also tovak-cli "
          "help.\n");
      return 0;
    }
    if (arg == "--version") return std::printf("tovak %s\n", TOVAK_VERSION) < 0;
  }
  QApplication app(argc, argv);
  // Qt has taken its own options (-platform, -style...) out by now; whatever else looks like an
  // option is a mistyped one, better said at the terminal than taken for a missing picture.
  for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
    if (argv[i][0] == '-' && argv[i][1] != '\0') {
      std::fprintf(stderr, "tovak: unknown option %s (see tovak --help)\n", argv[i]);
      return 2;
    }
  }
  QApplication::setApplicationName("Quillora Tovak!");
  try {
    return Run(app);
  } catch (const std::bad_alloc&) {
    return Report(QApplication::translate(
        "main", "Quillora Tovak! ran out of memory and has to close. Your recordings are kept."));
  } catch (const std::exception& e) {
    return Report(QApplication::translate("main", "Quillora Tovak! has to close: %s")
                      .replace("%s", QString::fromLocal8Bit(e.what())));
  }
}
