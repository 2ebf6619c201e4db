// The player engine. Started as a package (its own file with a slideshow appended) it plays
// itself; given a package it plays that one.
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "audio/wave_device.h"
#include "builder/package_reader.h"
#include "i18n/language_dictionary.h"
#include "i18n/language_id_setting.h"
#include "player/check_package.h"
#include "player/player_arguments.h"
#include "player/player_window.h"
#include "player/qt_show_parts.h"
#include "player/show_texts.h"
#include "player/show_translator.h"
#include "player/slideshow_content.h"

namespace {

// Where this program's own image ends: anything after it in the file is a slideshow.
int64_t ImageSize(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  unsigned char h[64] = {};
  const size_t got = std::fread(h, 1, sizeof h, file);
  std::fclose(file);
  if (got < sizeof h ||
      std::memcmp(h,
                  "\x7F"
                  "ELF",
                  4) != 0 ||
      h[4] != 2)
    return 0;
  auto get = [&](int at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | h[at + i];
    return v;
  };
  const uint64_t sections = get(0x28, 8) + get(0x3A, 2) * get(0x3C, 2);
  const uint64_t programs = get(0x20, 8) + get(0x36, 2) * get(0x38, 2);
  return static_cast<int64_t>(std::max(sections, programs));
}

// A player with nothing after its own image is a plain engine; one with data after it that
// does not read as a slideshow is a damaged slideshow, and says so.
bool HasAttachedData(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return !error && static_cast<int64_t>(size) > ImageSize(path);
}

std::string OwnFile() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.string();
}

// lead, when given, goes above the reason in the box; the terminal gets the reason alone.
int Refuse(const std::string& message, bool withWindow, const QString& lead = {}) {
  std::fprintf(stderr, "tovak-player: %s\n", tovak::TerminalForm(message).c_str());
  const QString platform = QGuiApplication::platformName();
  if (withWindow && platform != "offscreen" && platform != "minimal") {
    // Whoever started the slideshow by a double click learns why it does not play; the box
    // stays until it is answered, for someone who looked away when it came.
    const QString text = QString::fromStdString(message);
    QMessageBox box(QMessageBox::Critical, "Talking slideshow",
                    lead.isEmpty() ? text : lead + "\n\n" + text, QMessageBox::Ok);
    box.exec();
  }
  return 1;
}

int RunPlayer(int argc, char** argv) {
  tovak::PlayerArguments arguments;
  std::string said;
  if (const int status = tovak::ReadPlayerArguments(std::vector<std::string>(argv, argv + argc),
                                                    TOVAK_VERSION, arguments, said);
      status >= 0) {
    std::fputs(said.c_str(), status == 0 ? stdout : stderr);
    return status;
  }
  const bool check = arguments.check;
  const bool window = arguments.window;
  // The language chosen in the program beside us, else the first.
  int language = arguments.language;
  std::string path = arguments.path;
  const bool own = path.empty();
  if (own) path = OwnFile();

  if (check) {
    // A check at the terminal answers in its own lines only, without Qt's diagnostics.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtFatalMsg) std::fprintf(stderr, "tovak-player: %s\n", qPrintable(text));
    });
    if (own && !HasAttachedData(path)) {
      std::fprintf(stderr, "tovak-player: this player has no slideshow attached\n");
      return 1;
    }
    return tovak::CheckPackage(path, stdout, stderr);
  }

  QApplication app(argc, argv);
  app.setApplicationName("Talking slideshow");
  // Started from the program's folder, the show follows the language chosen there: its link
  // captions and Qt's own texts.
  tovak::LanguageDictionary dictionary;
  if (const std::string self = OwnFile(); !self.empty()) {
    const std::string folder = std::filesystem::path(self).parent_path().string() + "/";
    dictionary.SetFileName(folder + tovak::kDictionaryFileName);
    dictionary.SetLanguage(tovak::LanguageIdSetting(folder, -1));
  }
  if (language == 0) language = std::max(1, dictionary.LanguageIndex());
  // A show sent on its own has no dictionary beside it: its texts follow the system's language.
  tovak::ShowTranslator showTexts(QLocale::system().name().toStdString());
  if (!dictionary.IsOpen() && !showTexts.isEmpty()) app.installTranslator(&showTexts);
  tovak::SlideshowPackage package;
  try {
    if (own && !HasAttachedData(path)) {
      return Refuse(
          QCoreApplication::translate(tovak::kNoSlideshow.context, tovak::kNoSlideshow.source)
              .toStdString(),
          true);
    }
    package.Open(path);
  } catch (const tovak::Exception& e) {
    return Refuse(
        e.Message(), true,
        QCoreApplication::translate(tovak::kDamagedShow.context, tovak::kDamagedShow.source));
  }
  tovak::PlayerWindow player(package,
                             std::make_unique<tovak::DeviceVoiceOutput>(tovak::MakeQtWaveOut()),
                             std::make_unique<tovak::QtAdvanceTimer>(), language);
  if (window) {
    player.show();
  } else {
    player.showFullScreen();
  }
  player.Start();
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  // A package that asks for more than there is must end with a word, not an abort.
  try {
    return RunPlayer(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "tovak-player: not enough memory to show this slideshow\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tovak-player: %s\n", e.what());
  }
  return 1;
}
