// Slideshow packages built by the builder itself, and the WAV files the recorder writes.

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "audio/wav_stream.h"
#include "builder/link_menu.h"
#include "builder/plimo.h"
#include "common/byte_order.h"
#include "common/paths.h"
#include "components/jpeg_codec.h"
#include "seeds/seeds.h"
#include "support/sample_data.h"
#include "support/test_pictures.h"

namespace tovak::fuzz {

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes Wav(const TWaveFormatEx& format, size_t bytes, const fs::path& path) {
  TWavStream wav;
  wav.SetFormat(format);
  const Bytes sound = sample::VoiceAudio(bytes, uint32_t(bytes));
  if (!sound.empty()) wav.Write(sound.data(), int64_t(sound.size()));
  wav.SaveToFile(path.string());
  return ReadAll(path);
}

// A chunk the reader must step over, between the format and the sound.
Bytes WithExtraChunk(Bytes wav, const std::string& id, size_t length) {
  Bytes chunk(id.begin(), id.end());
  chunk.resize(8 + length + length % 2, 'x');
  PutLe32(&chunk[4], uint32_t(length));
  wav.insert(wav.begin() + 36, chunk.begin(), chunk.end());
  PutLe32(&wav[4], uint32_t(wav.size() - 8));
  return wav;
}

void AddWavSeeds(SeedWriter& seeds) {
  const fs::path path = seeds.Work() / "voice.wav";
  struct Shape {
    uint32_t rate;
    uint16_t channels, bits;
  };
  for (const Shape s : {Shape{11025, 1, 8}, {22050, 2, 8}, {44100, 1, 16}, {44100, 2, 16}}) {
    const std::string name =
        std::to_string(s.rate) + "-" + std::to_string(s.channels) + "x" + std::to_string(s.bits);
    for (const size_t bytes : {0, 1, 64, 1000}) {
      seeds.Add("wav", name + "-" + std::to_string(bytes),
                Wav(TWaveFormatEx::Pcm(s.rate, s.channels, s.bits), bytes, path));
    }
  }
  const Bytes plain = Wav(TWaveFormatEx::Pcm(11025, 1, 8), 100, path);
  seeds.Add("wav", "list-chunk", WithExtraChunk(plain, "LIST", 26));
  seeds.Add("wav", "odd-chunk", WithExtraChunk(plain, "junk", 3));
}

// A program folder with a small stand-in engine, pictures, messages, voices and a link menu.
struct Show {
  explicit Show(const fs::path& root)
      : folder(root / "program"), paths(folder.string(), (root / "settings").string()) {
    fs::create_directories(folder / "Waves");
    fs::create_directories(root / "settings");
    WriteFile(paths.EngineFile(), Bytes{0x7F, 'E', 'L', 'F', 0, 0, 0, 0});
  }

  std::string Picture(const std::string& name, int width, int height, int quality) {
    const fs::path path = folder / name;
    WriteFile(path, EncodeJpeg(testing::PhotoLike(width, height), quality));
    return path.string();
  }
  std::string Text(const std::string& name, const std::string& text) {
    WriteFile(folder / name, Bytes(text.begin(), text.end()));
    return (folder / name).string();
  }
  std::string Voice(const std::string& name, size_t bytes) {
    Wav(TWaveFormatEx::Pcm(11025, 1, 8), bytes, folder / name);
    return (folder / name).string();
  }

  Bytes Build(const std::vector<std::string>& pictures, const std::vector<std::string>& messages,
              const std::vector<std::string>& voices, uint8_t flag) {
    TPlimo builder(paths);
    builder.SetPictures(pictures);
    builder.SetMessages(messages);
    builder.SetVoices(voices);
    builder.TrailerFlag = flag;
    if (!builder.Build()) throw std::runtime_error("the builder failed: " + builder.LastError);
    return ReadAll(builder.OutputFile);
  }

  fs::path folder;
  Paths paths;
};

}  // namespace

void AddPackageSeeds(SeedWriter& seeds) {
  AddWavSeeds(seeds);

  Show show(seeds.Work() / "show");
  const std::string small = show.Picture("small.jpg", 16, 12, 50);
  const std::string tiny = show.Picture("tiny.jpg", 1, 1, 90);
  const std::string first = show.Text("first.txt", "Grandma's garden\nin June");
  const std::string second = show.Text("second.txt", "");
  const std::string voice = show.Voice("first.wav", 300);
  const std::string silence = show.Voice("silence.wav", 0);

  seeds.Add("package", "one-bare", show.Build({small}, {""}, {}, 0));
  seeds.Add("package", "two-voiced", show.Build({small, tiny}, {first, second}, {voice, ""}, 1));
  std::ofstream(show.folder / kLinkMenuFileName)
      << "[Settings]\nUseInPlayer=1\nMenuItems=2\nLanguages=2\n"
         "[1_MenuItems]\n1_Caption=Home\n1_URL=https://example.org/\n"
         "2_Caption=Accueil\n2_URL=https://example.org/fr\n"
         "[2_MenuItems]\n1_Caption=Mail\n1_URL=mailto:family@example.org\n";
  seeds.Add("package", "three-linked",
            show.Build({tiny, small, tiny}, {first, "", second}, {silence, voice, voice}, 0));
}

}  // namespace tovak::fuzz
