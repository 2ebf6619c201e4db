#include "builder/voice_record.h"

#include <cmath>
#include <filesystem>

#include "audio/wav_conversion.h"
#include "builder/plimo.h"
#include "common/files.h"
#include "common/memory_stream.h"
#include "compress/lzrw1_class.h"

namespace tovak {

namespace {

std::string Duration(double seconds) {
  const long minutes = std::lround(seconds / 60);
  if (minutes >= 120) return std::to_string(minutes / 60) + " hours";
  return minutes == 1 ? "1 minute" : std::to_string(minutes) + " minutes";
}

// The reader's sentences follow a colon here.
std::string Lowered(std::string reason) {
  if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z')
    reason[0] = char(reason[0] - 'A' + 'a');
  return reason;
}

}  // namespace

VoiceCheck CheckVoices(const std::vector<std::string>& voices) {
  VoiceCheck check;
  for (size_t i = 0; i < voices.size(); ++i) {
    const std::string& path = voices[i];
    if (path.empty() || !FileExists(path)) continue;
    VoiceFormatPlan plan;
    try {
      plan = PlanVoiceFormat(path);
    } catch (const EWavStreamError&) {
      plan.kind = VoiceFormatPlan::Kind::Refuse;
      plan.reason = "it cannot be read";
    }
    if (plan.kind == VoiceFormatPlan::Kind::Refuse) {
      if (check.refusedFile.empty()) {
        check.refusedFile = path;
        check.refusal = "this voice cannot be stored: " + Lowered(plan.reason);
      }
      continue;
    }
    if (plan.playedBytes > kRiskyVoiceBytes) {
      check.longFiles.push_back(path);
      check.warnings.push_back(
          path + ": this voice lasts " + Duration(plan.seconds) + ", " +
          std::to_string(plan.playedBytes >> 20) +
          " MB of sound when played; on a 32-bit Windows PC the slideshow may stop at picture " +
          std::to_string(i + 1) + " for lack of memory");
    }
  }
  return check;
}

std::vector<uint8_t> PackVoice(const std::string& voicePath, const std::function<void()>& service) {
  TMemoryStream voice;
  if (!voicePath.empty() && FileExists(voicePath)) {
    const std::string refused =
        std::filesystem::path(voicePath).filename().string() + " : this voice cannot be stored: ";
    VoiceFormatPlan plan;
    try {
      plan = PlanVoiceFormat(voicePath);
    } catch (const EWavStreamError&) {
      throw EPlimoError("The voice file cannot be read: " + voicePath);
    }
    if (plan.kind == VoiceFormatPlan::Kind::Refuse)
      throw EPlimoError(refused + Lowered(plan.reason));
    if (plan.kind == VoiceFormatPlan::Kind::Convert) {
      try {
        voice.Bytes() = ConvertVoiceFile(voicePath, plan, service);
      } catch (const EWavStreamError& e) {
        throw EPlimoError(refused + Lowered(e.Message()));
      }
    } else if (!voice.LoadFromFile(voicePath)) {
      throw EPlimoError("The voice file cannot be read: " + voicePath);
    }
  }
  TMemoryStream packed;
  TLzrw1Class compressor;
  compressor.UseStreams = true;
  compressor.Method = cmLzh;
  compressor.InputStream = &voice;
  compressor.OutputStream = &packed;
  compressor.ProcessMessages = service;
  compressor.Compress();
  return packed.Bytes();
}

}  // namespace tovak
