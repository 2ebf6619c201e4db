#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio/wav_reader.h"

namespace tovak {

// What a voice file needs before every player can play it. Recorders and phones write 24-bit,
// 32-bit and floating-point samples, more than two channels and the extensible header, none of
// which the players take; such sound is made 16-bit PCM at its own rate.
struct VoiceFormatPlan {
  enum class Kind {
    AsItIs,   // the players play it, or it is no WAV file at all: stored byte for byte
    Convert,  // rewritten as `target`
    Refuse,   // cannot be made playable; `reason` says why
  };
  Kind kind = Kind::AsItIs;
  std::string reason;
  WavLayout layout;
  TWaveFormatEx target;
  // The WAV file a player expands from the stored record: the file itself or its conversion.
  uint64_t playedBytes = 0;
  double seconds = 0;
};

// Reads only the chunk headers and the format of the file at path. A file that cannot be opened
// throws EWavStreamError.
VoiceFormatPlan PlanVoiceFormat(const std::string& path);

// The file at path as a WAV file of plan.target (plan.kind is Convert): channels beyond two are
// mixed to one, samples are rounded (floating point clipped) to 16 bits. The file is read a piece
// at a time, so what is held is the result alone; checkpoint runs between pieces and may throw.
std::vector<uint8_t> ConvertVoiceFile(const std::string& path, const VoiceFormatPlan& plan,
                                      const std::function<void()>& checkpoint = {});

}  // namespace tovak
