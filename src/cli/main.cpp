#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iterator>
#include <new>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/interruption.h"

namespace {

constexpr const char* kUsage =
    "Usage: tovak-cli [-q] COMMAND [OPTIONS] ARGUMENTS\n"
    "       tovak-cli --version | --help\n"
    "\n"
    "--opt=value is the same as --opt value; -- ends the options. -q silences progress,\n"
    "which is shown only on a terminal. Exit status: 0 done, 1 failed, 2 command line not\n"
    "understood, 128+N ended by signal N (Ctrl-C: 130); nothing is left half-written.\n"
    "\n"
    "Commands:\n"
    "  compress [--method lzh|lzrw1kh|auto] IN OUT\n"
    "      Packs the file IN into the voice container OUT (default method: lzh).\n"
    "  decompress IN OUT\n"
    "      Expands the voice container IN (either method) into OUT.\n"
    "      For compress and decompress, IN or OUT may be - for standard input or output.\n"
    "  prepare [--max WxH] [--quality Q] IN OUT.jpg\n"
    "      Prepares one picture as a slideshow stores it: converted to JPEG, shrunk to fit\n"
    "      WxH, re-encoded at quality Q (1-100; 0 keeps a JPEG as it is). Prints its size.\n"
    "  build [--mode compact|full] [--size-index N] [--quality Q] [--max WxH]\n"
    "        [--engine windows|linux|PATH] [--jobs N] [--keep-fitting-jpegs] [-o OUT]\n"
    "        PICTURE...\n"
    "      Builds a talking slideshow. Each picture's message and voice are the files beside\n"
    "      it with the same name and .txt or .wav. Defaults come from the settings (compact:\n"
    "      size index 2 = 420x255, quality 50; full: index 2 = 1280x1024, quality 80).\n"
    "      OUT defaults to Slideshow.exe. Ctrl-C cancels and leaves no file. The engine in\n"
    "      front is the Windows program (default), the Linux player, or the file PATH. A\n"
    "      picture that is missing or no file is refused; one that cannot be decoded is\n"
    "      stored empty. --keep-fitting-jpegs stores a baseline or progressive JPEG that\n"
    "      already fits as it is: its scans byte for byte, without comments or camera data.\n"
    "      A voice no player plays as it is (24 or 32 bits, floating point, more than two\n"
    "      channels) is stored as 16-bit PCM at its rate; one that cannot be read\n"
    "      (compressed, damaged) is refused before building.\n"
    "  info PACKAGE\n"
    "      Lists the pictures, voices, messages and link menu of a slideshow.\n"
    "  extract PACKAGE DIR\n"
    "      Writes NNN.jpg, NNN.wav (expanded) and NNN.txt into DIR, and links.txt when the\n"
    "      slideshow has links.\n"
    "  export-html PACKAGE OUT.html\n"
    "      Writes the slideshow as one web page that plays in any current browser, offline:\n"
    "      the pictures as stored, the voices as MP3, the messages and the links.\n"
    "  export-video [--size WxH] PACKAGE OUT.mp4\n"
    "      Writes the slideshow as one MP4 video (H.264 and AAC) that phones, TVs and\n"
    "      messaging apps play, paced as the players pace it. WxH is even, at least 64x64\n"
    "      (default 1280x720).\n"
    "  demo DIR\n"
    "      Draws a few sample pictures with messages and hummed voices into DIR/pictures and\n"
    "      builds DIR/Demo Slideshow.exe from them.\n"
    "  record SECONDS OUT.wav\n"
    "      Records a voice comment from the default input as the editor does. Ctrl-C ends\n"
    "      the take early and saves what was recorded.\n"
    "  play FILE.wav\n"
    "      Plays a WAV file through the default output.\n"
    "  help\n"
    "      Shows this text.\n";

// Qt's own diagnostics (an image plugin's complaint, the sound server's state) mean nothing to
// someone at the command line; every failure that matters reaches them as the command's line.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) std::fprintf(stderr, "tovak-cli: %s\n", qPrintable(message));
}

using Command = int (*)(const tovak::cli::Arguments&);

struct Entry {
  const char* name;
  Command run;
  bool writes;  // catches signals to remove what it was writing
};

constexpr Entry kCommands[] = {
    {"compress", tovak::cli::RunCompress, true},
    {"decompress", tovak::cli::RunDecompress, true},
    {"prepare", tovak::cli::RunPrepare, true},
    {"build", tovak::cli::RunBuild, true},
    {"info", tovak::cli::RunInfo, false},
    {"extract", tovak::cli::RunExtract, true},
    {"demo", tovak::cli::RunDemo, true},
    {"record", tovak::cli::RunRecord, true},
    {"play", tovak::cli::RunPlay, false},
    {"export-html", tovak::cli::RunExportHtml, true},
    {"export-video", tovak::cli::RunExportVideo, true},
};

int Run(int argc, char** argv) {
  using namespace tovak::cli;
  qInstallMessageHandler(QuietQt);
  const Arguments all(argv + 1, argv + argc);
  size_t at = 0;
  for (; at < all.size() && IsOption(all[at]); ++at) {
    const std::string& option = all[at];
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (option == "--version" || option == "-V") {
      std::printf("tovak-cli %s\n", TOVAK_VERSION);
      return 0;
    }
    if (option != "-q" && option != "--quiet") return UsageError("unknown option '" + option + "'");
    SetQuiet(true);
  }
  if (at >= all.size()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = all[at];
  const Arguments args(all.begin() + static_cast<std::ptrdiff_t>(at) + 1, all.end());
  const bool wantsHelp =
      std::any_of(args.begin(), std::find(args.begin(), args.end(), "--"),
                  [](const std::string& a) { return a == "--help" || a == "-h"; });
  if (command == "help" || wantsHelp) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const auto entry = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [&](const Entry& e) { return command == e.name; });
  if (entry == std::end(kCommands)) return UsageError("unknown command '" + command + "'");
  std::optional<InterruptCatcher> catcher;
  if (entry->writes) catcher.emplace();
  try {
    return entry->run(args);
  } catch (const Interrupted&) {
    Fail("interrupted; nothing was written");
  } catch (const std::bad_alloc&) {
    return Fail("not enough memory for " + command);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return InterruptedStatus();
}

}  // namespace

int main(int argc, char** argv) {
  const int status = Run(argc, argv);
  // A listing, a version or a stream that did not reach its reader (a full disk, a closed
  // pipe) is a failure, not a success with nothing printed.
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    const int cause = errno;
    if (status != 0) return status;
    return tovak::cli::Fail(std::string("standard output: cannot be written") +
                            (cause ? std::string(": ") + std::strerror(cause) : ""));
  }
  return status;
}
