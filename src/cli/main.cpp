#include <cstdio>
#include <exception>
#include <string>

#include "cli/commands.h"

namespace {

constexpr const char* kUsage =
    "Usage: tovak-cli COMMAND [OPTIONS] ARGUMENTS\n"
    "\n"
    "Commands:\n"
    "  compress [--method lzh|lzrw1kh|auto] IN OUT\n"
    "      Packs the file IN into the voice container OUT (default method: lzh).\n"
    "  decompress IN OUT\n"
    "      Expands the voice container IN (either method) into OUT.\n"
    "  prepare [--max WxH] [--quality Q] IN OUT.jpg\n"
    "      Prepares one picture as a slideshow stores it: converted to JPEG, shrunk to fit\n"
    "      WxH, re-encoded at quality Q (1-100; 0 keeps a JPEG as it is). Prints its size.\n"
    "  build [--mode compact|full] [--size-index N] [--quality Q] [--max WxH]\n"
    "        [--engine windows|linux|PATH] [-o OUT] PICTURE...\n"
    "      Builds a talking slideshow. Each picture's message and voice are the files beside\n"
    "      it with the same name and .txt or .wav. Defaults come from the settings (compact:\n"
    "      size index 2 = 420x255, quality 50; full: index 2 = 1280x1024, quality 80).\n"
    "      OUT defaults to Slideshow.exe. Ctrl-C cancels and leaves no file. The engine in\n"
    "      front is the Windows program (default), the Linux player, or the file PATH.\n"
    "  info PACKAGE\n"
    "      Lists the pictures, voices, messages and link menu of a slideshow.\n"
    "  extract PACKAGE DIR\n"
    "      Writes NNN.jpg, NNN.wav (expanded), NNN.txt and links.txt into DIR.\n"
    "  export-html PACKAGE OUT.html\n"
    "      Writes the slideshow as one web page that plays in any current browser, offline:\n"
    "      the pictures as stored, the voices as MP3, the messages and the links.\n"
    "  demo DIR\n"
    "      Draws a few sample pictures with messages and hummed voices into DIR/pictures and\n"
    "      builds DIR/Demo Slideshow.exe from them.\n"
    "  record SECONDS OUT.wav\n"
    "      Records a voice comment from the default input as the editor does.\n"
    "  play FILE.wav\n"
    "      Plays a WAV file through the default output.\n"
    "  help\n"
    "      Shows this text.\n";

}  // namespace

namespace tovak::cli {

int Fail(const std::string& message) {
  std::fprintf(stderr, "tovak-cli: %s\n", message.c_str());
  return 1;
}

}  // namespace tovak::cli

int main(int argc, char** argv) {
  using namespace tovak::cli;
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = argv[1];
  const Arguments args(argv + 2, argv + argc);
  try {
    if (command == "help" || command == "--help" || command == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (command == "compress") return RunCompress(args);
    if (command == "decompress") return RunDecompress(args);
    if (command == "prepare") return RunPrepare(args);
    if (command == "build") return RunBuild(args);
    if (command == "info") return RunInfo(args);
    if (command == "extract") return RunExtract(args);
    if (command == "demo") return RunDemo(args);
    if (command == "record") return RunRecord(args);
    if (command == "play") return RunPlay(args);
    if (command == "export-html") return RunExportHtml(args);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  Fail("unknown command '" + command + "'");
  std::fputs(kUsage, stderr);
  return 2;
}
