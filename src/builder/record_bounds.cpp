#include "builder/record_bounds.h"

#include <algorithm>
#include <cstdlib>

#include "builder/package_format.h"
#include "builder/package_reader.h"
#include "common/file_stream.h"
#include "common/files.h"
#include "common/text_lines.h"

namespace tovak {

namespace {

// The bytes a message file is stored as: its lines, each ended by CR LF. Never fewer than the
// file holds, nor more than twice as many and a line end, so only a file between the two is read.
int64_t StoredMessageSize(const std::string& path, int64_t fileSize) {
  if (fileSize > package::kLargestMessage || 2 * fileSize + 2 <= package::kLargestMessage)
    return fileSize;
  std::vector<std::string> lines;
  try {
    ReadTextLines(path, lines);
  } catch (const Exception&) {
    return fileSize;  // the build itself says what is wrong with it
  }
  return static_cast<int64_t>(JoinLinesCrLf(lines).size());
}

// The bytes a voice expands to in the show. A WAV file that players cannot play as it is goes
// in as 16-bit PCM, one or two channels, at its rate.
int64_t StoredVoiceSize(const WavHead& wav, int64_t fileSize) {
  const bool plays = wav.format == 1 && (wav.bits == 8 || wav.bits == 16) &&
                     (wav.channels == 1 || wav.channels == 2);
  const int64_t frame = int64_t{wav.channels} * wav.bits / 8;
  if (wav.state != WavHead::State::kFound || plays || frame == 0) return fileSize;
  constexpr int64_t kPlainHeader = 44;
  return wav.dataBytes / frame * std::min<int64_t>(wav.channels, 2) * 2 + kPlainHeader;
}

std::string VoiceProblem(const std::string& path, int64_t fileSize) {
  std::vector<uint8_t> head(64 << 10);
  TFileStream file;
  int64_t got = 0;
  if (file.Open(path, TFileStream::Mode::Read))
    got = file.Read(head.data(), static_cast<int64_t>(head.size()));
  const WavHead wav =
      ReadWavHead(head.data(), static_cast<size_t>(std::max<int64_t>(got, 0)), fileSize);
  if (wav.state == WavHead::State::kFound &&
      wav.Seconds() > double(package::kLongestVoiceSeconds)) {
    return "The voice is longer than " + std::to_string(package::kLongestVoiceSeconds / 3600) +
           " hours, more than a slideshow plays: " + path;
  }
  if (StoredVoiceSize(wav, fileSize) > package::kLargestVoice) {
    return "The voice is larger than " + std::to_string(package::kLargestVoice >> 30) +
           " GiB, more than a slideshow plays: " + path;
  }
  return {};
}

}  // namespace

std::string RecordBoundsProblem(const std::vector<std::string>& messages,
                                const std::vector<std::string>& voices) {
  for (const std::string& path : messages) {
    const int64_t size = path.empty() ? -1 : FileSize(path);
    if (size >= 0 && StoredMessageSize(path, size) > package::kLargestMessage) {
      return "The message is larger than " + std::to_string(package::kLargestMessage >> 20) +
             " MiB, more than a slideshow shows: " + path;
    }
  }
  for (const std::string& path : voices) {
    const int64_t size = path.empty() ? -1 : FileSize(path);
    if (size < 0) continue;
    if (std::string problem = VoiceProblem(path, size); !problem.empty()) return problem;
  }
  return {};
}

bool LinkMenuFitsAShow(const std::vector<std::string>& list) {
  const auto count = [&](size_t k) {
    return k < list.size() ? std::strtoll(list[k].c_str(), nullptr, 10) : 0;
  };
  return count(0) <= package::kMostLinkLanguages && count(1) <= package::kMostLinks &&
         static_cast<int64_t>(JoinLinesCrLf(list).size()) <= package::kLargestLinkMenu;
}

}  // namespace tovak
