#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "audio/wav_reader.h"
#include "builder/package_format.h"
#include "builder/package_reader.h"
#include "cli/commands.h"
#include "components/jpeg_codec.h"
#include "components/picture_error.h"

namespace tovak::cli {

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

std::string Number(int picture) {
  char name[16];
  std::snprintf(name, sizeof name, "%03d", picture + 1);
  return name;
}

// What kind of program the package starts with, from its first bytes.
const char* EngineKind(PackageReader& reader) {
  const Bytes start = reader.Read({0, std::min<int64_t>(4, reader.EngineSize())});
  if (start.size() >= 2 && start[0] == 'M' && start[1] == 'Z') return "Windows program";
  if (start == Bytes{0x7F, 'E', 'L', 'F'}) return "Linux program";
  return "unknown";
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
  TMemoryStream stream{Bytes(bytes)};
  return stream.SaveToFile(path);
}

}  // namespace

int RunInfo(const Arguments& args) {
  if (args.size() != 1) return Fail("usage: tovak-cli info PACKAGE");
  PackageReader reader;
  try {
    reader.Open(args[0]);
    std::printf("%s: %d pictures, %lld bytes (engine: %s, %lld bytes)\n",
                fs::path(args[0]).filename().c_str(), reader.PictureCount(),
                static_cast<long long>(reader.FileSize()), EngineKind(reader),
                static_cast<long long>(reader.EngineSize()));
    std::printf("%4s  %11s  %9s  %7s  %s\n", "#", "picture", "bytes", "voice", "message");
    for (int i = 0; i < reader.PictureCount(); ++i) {
      const Bytes jpeg = reader.Image(i);
      // The builder stores a picture it could not read as an empty record.
      std::string size = "unreadable";
      if (!jpeg.empty()) {
        try {
          const JpegHeader header = ReadJpegHeader(jpeg.data(), jpeg.size());
          size = std::to_string(header.width) + "x" + std::to_string(header.height);
        } catch (const EPictureError&) {
          size = "damaged";
        }
      }
      Bytes wav;
      char voice[32] = "-";
      try {
        wav = ExpandVoiceRecord(reader.VoiceContainer(i));
      } catch (const EPackageError&) {
        std::snprintf(voice, sizeof voice, "damaged");
      }
      if (!wav.empty()) {
        try {
          std::snprintf(voice, sizeof voice, "%.1f s", ReadWavInfo(wav).Seconds());
        } catch (const EWavStreamError&) {
          std::snprintf(voice, sizeof voice, "not WAV");
        }
      }
      const std::vector<std::string> lines = reader.MessageLines(i);
      std::printf("%4d  %11s  %9zu  %7s  %s\n", i + 1, size.c_str(), jpeg.size(), voice,
                  lines.empty() ? "" : lines[0].c_str());
    }
    const std::vector<std::string> links = reader.LinkMenu();
    if (links.size() >= 2) {
      std::printf("link menu: %s languages, %s links\n", links[0].c_str(), links[1].c_str());
      for (size_t k = 2; k + 1 < links.size(); k += 2) {
        std::printf("  %s  %s\n", links[k].c_str(), links[k + 1].c_str());
      }
    } else {
      std::printf("link menu: none\n");
    }
  } catch (const Exception& e) {
    return Fail(e.Message());
  }
  return 0;
}

int RunExtract(const Arguments& args) {
  if (args.size() != 2) return Fail("usage: tovak-cli extract PACKAGE DIR");
  PackageReader reader;
  try {
    reader.Open(args[0]);
    std::error_code error;
    fs::create_directories(args[1], error);
    const fs::path dir(args[1]);
    auto write = [&](const std::string& name, const Bytes& bytes) {
      if (!WriteFile((dir / name).string(), bytes)) {
        throw EPackageError((dir / name).string() + " : cannot be written");
      }
    };
    for (int i = 0; i < reader.PictureCount(); ++i) {
      const Bytes jpeg = reader.Image(i);
      if (!jpeg.empty()) write(Number(i) + ".jpg", jpeg);
      const Bytes wav = ExpandVoiceRecord(reader.VoiceContainer(i));
      if (!wav.empty()) write(Number(i) + ".wav", wav);
      const Bytes message = reader.Read(reader.MessageRecord(i));
      if (!message.empty()) write(Number(i) + ".txt", message);
    }
    const Bytes links = reader.Read(reader.LinkMenuRecord());
    if (!links.empty()) write("links.txt", links);
  } catch (const Exception& e) {
    return Fail(e.Message());
  }
  return 0;
}

}  // namespace tovak::cli
