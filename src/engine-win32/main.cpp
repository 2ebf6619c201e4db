// The Windows engine of a talking slideshow. Started as a package (its own file with a
// slideshow appended) it plays itself; given a package it plays that one.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "components/jpeg_scans.h"
#include "engine-win32/engine_window.h"
#include "engine-win32/pe_image.h"
#include "engine-win32/record_bounds.h"
#include "engine-win32/wic_picture.h"
#include "engine-win32/wide_text.h"
#include "engine_version.h"
#include "platform/native_file.h"
#include "player/player_arguments.h"
#include "player/show_texts.h"
#include "player/slideshow_content.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

namespace {

constexpr wchar_t kTitle[] = L"Talking slideshow";

// A program of the window kind has no console of its own: its output goes where it was
// redirected, else to the console of whoever started it.
// The bytes are the Linux player's, line ends included, so the two can be compared.
void AttachOutput() {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE || GetFileType(out) == FILE_TYPE_UNKNOWN) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    SetConsoleOutputCP(CP_UTF8);
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
  }
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

std::wstring OwnFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// A player with nothing after its own image is a plain engine; one with data after it that
// does not read as a slideshow is a damaged slideshow, and says so.
bool HasAttachedData(const std::string& path) {
  tovak::TFileStream file;
  if (!file.Open(path, tovak::TFileStream::Mode::Read)) return false;
  const int64_t image = tovak::PeImageSizeOfFile(path);
  return image > 0 && file.Size() > image;
}

// Whoever double-clicked the show learns why it does not play. The box stays until answered:
// someone who looked away when it came still reads it.
int Refuse(const std::string& message) {
  std::fprintf(stderr, "tovak-player: %s\n", tovak::TerminalForm(message).c_str());
  MessageBoxW(nullptr, tovak::Widen(message).c_str(), kTitle, MB_OK | MB_ICONERROR);
  return 1;
}

// The show cannot be played: the box says so in the watcher's language, above the reason.
int RefuseDamaged(const std::string& reason) {
  const tovak::ShowTexts texts(tovak::BuiltInShowTranslations(), GetUserDefaultUILanguage());
  return Refuse(std::string(texts.Text(tovak::kDamagedShow)) + "\n\n" + reason);
}

// Why the package holds more than any show, read from its index before any record; empty when
// it does not. Throws Exception when the package cannot be read.
std::string Oversized(const std::string& path, tovak::PackageReader& reader) {
  const std::string why = tovak::OversizedRecord(reader);
  return why.empty()
             ? why
             : tovak::platform::FileNameOf(path) + " : not a complete slideshow (" + why + ")";
}

bool PictureSize(tovak::WicPictures& wic, const std::vector<uint8_t>& jpeg, int& width,
                 int& height) {
  if (!tovak::IsJpegStream(jpeg.data(), jpeg.size())) {
    throw tovak::Exception(std::string("the picture cannot be decoded (") + tovak::kNotJpeg + ")");
  }
  tovak::WicPictures::Picture picture;
  if (!wic.Decode(jpeg, picture)) return false;
  width = picture.Width();
  height = picture.Height();
  return true;
}

struct ComScope {
  ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComScope() { CoUninitialize(); }
};

int Main(const std::vector<std::wstring>& args) {
  std::vector<std::string> narrow;
  for (const std::wstring& arg : args) narrow.push_back(tovak::Narrow(arg));
  tovak::PlayerArguments arguments;
  std::string said;
  if (const int status = tovak::ReadPlayerArguments(narrow, TOVAK_VERSION_STRING, arguments, said);
      status >= 0) {
    AttachOutput();
    std::fputs(said.c_str(), status == 0 ? stdout : stderr);
    std::fflush(status == 0 ? stdout : stderr);
    return status;
  }
  const bool check = arguments.check;
  std::string path = arguments.path;
  const bool own = path.empty();
  if (own) path = tovak::Narrow(OwnFile());

  ComScope com;
  tovak::WicPictures wic;
  if (check) {
    AttachOutput();
    if (own && !HasAttachedData(path)) {
      std::fprintf(stderr, "tovak-player: this player has no slideshow attached\n");
      return 1;
    }
    std::string why;
    try {
      tovak::PackageReader reader;
      reader.Open(path);
      why = Oversized(path, reader);
    } catch (const tovak::Exception&) {
      // The listing says why the package cannot be read.
    }
    if (!why.empty()) {
      std::fprintf(stderr, "tovak-player: %s\n", tovak::TerminalForm(why).c_str());
      return 1;
    }
    int status = 1;
    try {
      status = tovak::ListPackage(
          path,
          [&wic](const std::vector<uint8_t>& jpeg, int& width, int& height) {
            return PictureSize(wic, jpeg, width, height);
          },
          stdout, stderr);
    } catch (...) {
      std::fflush(stdout);
      std::fprintf(stderr, "tovak-player: the slideshow cannot be checked: %s\n",
                   tovak::CurrentFailure().c_str());
    }
    std::fflush(stdout);
    std::fflush(stderr);
    return status;
  }

  tovak::SlideshowContent content;
  tovak::PackageReader records;
  try {
    if (own && !HasAttachedData(path)) {
      const tovak::ShowTexts texts(tovak::BuiltInShowTranslations(), GetUserDefaultUILanguage());
      return Refuse(texts.Text(tovak::kNoSlideshow));
    }
    content.Open(path);
    records.Open(path);
    if (const std::string why = Oversized(path, records); !why.empty()) return RefuseDamaged(why);
  } catch (const tovak::Exception& e) {
    return RefuseDamaged(e.Message());
  }
  tovak::EngineWindow engine(content, records, std::max(1, arguments.language));
  const int status = engine.Run(!arguments.window);
  return engine.Failure().empty() ? status : RefuseDamaged(engine.Failure());
}

}  // namespace

// The library's default handler for an exception nobody catches demangles its type name for a
// console nobody sees, and that alone costs 50 KB; wWinMain catches everything anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 0; i < count; ++i) args.emplace_back(list[i]);
  LocalFree(list);
  // Nothing thrown leaves the engine unexplained, whatever it is.
  try {
    return Main(args);
  } catch (...) {
    return RefuseDamaged(tovak::CurrentFailure());
  }
}
