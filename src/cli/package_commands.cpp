#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "audio/wav_reader.h"
#include "builder/package_format.h"
#include "builder/package_reader.h"
#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/outputs.h"
#include "common/atomic_file.h"
#include "common/file_stream.h"
#include "components/jpeg_codec.h"
#include "components/picture_error.h"

namespace tovak::cli {

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

// A folder made under a temporary name beside its place and renamed into it once filled;
// removed with what is in it unless it got there.
class StagingFolder {
 public:
  explicit StagingFolder(const std::string& path)
      : path_(path), temporary_(PendingFile(path).Temporary()) {}
  ~StagingFolder() {
    std::error_code ignored;
    if (made_) fs::remove_all(temporary_, ignored);
  }
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  bool Make(std::error_code& error) {
    made_ = fs::create_directory(temporary_, error);
    return made_;
  }
  const std::string& Path() const { return temporary_; }
  bool Commit(std::error_code& error) {
    fs::rename(temporary_, path_, error);
    if (!error) made_ = false;
    return !error;
  }

 private:
  std::string path_;
  std::string temporary_;
  bool made_ = false;
};

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

}  // namespace

int RunInfo(const Arguments& arguments) {
  CommandLine line;
  if (!ParseCommandLine(arguments, {}, line)) return 2;
  const Arguments& args = line.operands;
  if (args.size() != 1) return UsageError("usage: tovak-cli info PACKAGE");
  if (const std::string problem = InputProblem(args[0]); !problem.empty()) return Fail(problem);
  PackageReader reader;
  try {
    reader.Open(args[0]);
    std::printf("%s: %d %s, %lld bytes (engine: %s, %lld bytes)\n",
                fs::path(args[0]).filename().c_str(), reader.PictureCount(),
                reader.PictureCount() == 1 ? "picture" : "pictures",
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
                  lines.empty() ? "" : PrintableText(lines[0]).c_str());
    }
    const std::vector<std::string> links = reader.LinkMenu();
    if (links.size() >= 2) {
      std::printf("link menu: %s languages, %s links\n", PrintableText(links[0]).c_str(),
                  PrintableText(links[1]).c_str());
      for (size_t k = 2; k + 1 < links.size(); k += 2) {
        std::printf("  %s  %s\n", PrintableText(links[k]).c_str(),
                    PrintableText(links[k + 1]).c_str());
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
  CommandLine line;
  if (!ParseCommandLine(args, {}, line)) return 2;
  if (line.operands.size() != 2) return UsageError("usage: tovak-cli extract PACKAGE DIR");
  const std::string& package = line.operands[0];
  fs::path dir(line.operands[1]);
  // "x/" is the folder x, whose temporary twin goes beside it, not into it.
  while (!dir.has_filename() && dir.has_relative_path()) dir = dir.parent_path();
  if (const std::string problem = InputProblem(package); !problem.empty()) return Fail(problem);
  PackageReader reader;
  try {
    reader.Open(package);
    // Every name is judged before the first is written, so a refusal leaves nothing behind.
    if (const std::string problem = FolderProblem(dir.string()); !problem.empty())
      return Fail(problem);
    std::error_code error;
    const bool exists = fs::exists(dir, error);
    if (!exists) {
      if (const std::string problem = OutputProblem(dir.string()); !problem.empty())
        return Fail(problem);
    }
    std::vector<std::string> names = {"links.txt"};
    for (int i = 0; i < reader.PictureCount(); ++i) {
      for (const char* ext : {".jpg", ".wav", ".txt"}) names.push_back(Number(i) + ext);
    }
    for (const std::string& name : names) {
      const std::string problem = exists ? OutputProblem((dir / name).string(), {package}) : "";
      if (!problem.empty()) return Fail(problem);
    }
    // Each file is written under a temporary name and all are renamed together at the end, a
    // new folder as a whole, so a failure or an interruption leaves the folder as it was.
    std::optional<StagingFolder> staging;
    if (!exists) {
      staging.emplace(dir.string());
      if (!staging->Make(error))
        return Fail(dir.string() + ": the folder cannot be made: " + error.message());
    }
    const fs::path target = staging ? fs::path(staging->Path()) : dir;
    std::vector<std::unique_ptr<PendingFile>> files;
    auto write = [&](const std::string& name, const Bytes& bytes) {
      ThrowIfInterrupted();
      if (bytes.empty()) return;
      files.push_back(std::make_unique<PendingFile>((target / name).string()));
      TFileStream file;
      errno = 0;
      const bool written = file.Open(files.back()->Temporary(), TFileStream::Mode::Create) &&
                           file.WriteAll(bytes.data(), static_cast<int64_t>(bytes.size())) &&
                           file.Close();
      if (!written) {
        throw EPackageError((dir / name).string() + ": cannot be written: " +
                            (errno ? std::strerror(errno) : "write failed"));
      }
    };
    for (int i = 0; i < reader.PictureCount(); ++i) {
      write(Number(i) + ".jpg", reader.Image(i));
      Bytes wav;
      try {
        wav = ExpandVoiceRecord(reader.VoiceContainer(i));
      } catch (const EPackageError& e) {
        throw EPackageError(fs::path(package).filename().string() + " : picture " +
                            std::to_string(i + 1) + ": " + e.Message());
      }
      write(Number(i) + ".wav", wav);
      write(Number(i) + ".txt", reader.Read(reader.MessageRecord(i)));
    }
    write("links.txt", reader.Read(reader.LinkMenuRecord()));
    ThrowIfInterrupted();
    std::string problem;
    for (const auto& file : files) {
      if (!file->Commit(&problem))
        return Fail(dir.string() + "/" + fs::path(file->Path()).filename().string() +
                    ": cannot be written: " + problem);
    }
    if (staging && !staging->Commit(error))
      return Fail(dir.string() + ": the folder cannot be made: " + error.message());
  } catch (const Exception& e) {
    return Fail(e.Message());
  }
  return 0;
}

}  // namespace tovak::cli
