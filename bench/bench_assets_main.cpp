// Writes the inputs of the build benchmark: a photo-like JPEG, a voice recording (44100 Hz,
// stereo, 8-bit; ten seconds unless told) and a message, each under a given name.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "builder/package_format.h"
#include "components/jpeg_codec.h"
#include "support/sample_data.h"
#include "support/test_pictures.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::vector<uint8_t> StereoWave(const std::vector<uint8_t>& mono) {
  constexpr uint32_t kRate = 44100;
  const uint32_t dataSize = static_cast<uint32_t>(mono.size() * 2);
  std::vector<uint8_t> wav(44);
  auto put = [&](size_t at, uint32_t v) { tovak::PutLe32(&wav[at], v); };
  std::copy_n("RIFF", 4, wav.begin());
  put(4, 36 + dataSize);
  std::copy_n("WAVEfmt ", 8, wav.begin() + 8);
  put(16, 16);
  wav[20] = 1;
  wav[22] = 2;
  put(24, kRate);
  put(28, kRate * 2);
  wav[32] = 2;
  wav[34] = 8;
  std::copy_n("data", 4, wav.begin() + 36);
  put(40, dataSize);
  for (uint8_t sample : mono) {
    wav.push_back(sample);
    wav.push_back(sample);
  }
  return wav;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s BASE [SECONDS]   (writes BASE.jpg, BASE.wav, BASE.txt)\n",
                 argv[0]);
    return 2;
  }
  const std::string base = argv[1];
  const int seconds = argc == 3 ? std::atoi(argv[2]) : 10;
  if (seconds < 1 || seconds > 3600) {
    std::fprintf(stderr, "SECONDS takes 1 to 3600\n");
    return 2;
  }
  const bool ok =
      Write(base + ".jpg", tovak::EncodeJpeg(tovak::testing::PhotoLike(4000, 3000), 90)) &&
      Write(base + ".wav", StereoWave(tovak::sample::VoiceAudio(44100 * seconds, 5))) &&
      Write(base + ".txt", {'H', 'e', 'l', 'l', 'o', '\r', '\n'});
  return ok ? 0 : 1;
}
