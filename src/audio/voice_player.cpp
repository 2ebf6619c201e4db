#include "audio/voice_player.h"

#include <algorithm>

#include "audio/wav_reader.h"

namespace tovak {

VoicePlayer::VoicePlayer(WaveOutDevice& device, WaveBuffers& buffers,
                         TMemoryStream& recordingStream, PostMessage post)
    : device_(device), buffers_(buffers), stream_(recordingStream), post_(std::move(post)) {}

VoicePlayer::~VoicePlayer() {
  post_ = nullptr;
  OnFinished();
}

bool VoicePlayer::Busy() {
  if (PlayState == psClosed) return false;
  DeviceError = "A playback is still running";
  return true;
}

bool VoicePlayer::Listen(const std::string& path) {
  if (Busy()) return false;
  std::vector<uint8_t> bytes;
  WavInfo info;
  try {
    // The file's own format and only its sound: its header played as samples would be noise.
    info = ReadWavFile(path, bytes);
  } catch (const EWavStreamError& e) {
    DeviceError = e.Message();
    return false;
  }
  return Play(std::vector<uint8_t>(
                  bytes.begin() + static_cast<std::ptrdiff_t>(info.dataOffset),
                  bytes.begin() + static_cast<std::ptrdiff_t>(info.dataOffset + info.dataSize)),
              info.format);
}

bool VoicePlayer::Play(const std::vector<uint8_t>& samples, const TWaveFormatEx& format) {
  // The stream and the flags belong to the running playback until it has closed.
  if (Busy()) return false;
  stream_.Clear();
  stream_.Write(samples.data(), static_cast<int64_t>(samples.size()));
  PlaybackFormat = format;
  StopRequested = false;
  DeviceLost = false;
  lost_ = false;
  if (!OpenDevice()) {
    if (DeviceError.empty()) DeviceError = "Could not open the sound output";
    return false;
  }
  if (!StartPlayback()) {
    OnFinished();
    return false;
  }
  return true;
}

bool VoicePlayer::OpenDevice() {
  DeviceError.clear();
  WaveCaps caps;
  bool found = false;
  const unsigned chosen = ChooseWaveDevice(device_, caps, found, LastResult);
  if (device_.GetNumDevs() == 0) return false;
  LastResult = device_.Open(chosen, PlaybackFormat,
                            [this](WaveMessage m, WaveHeader* h) { Callback(m, h); });
  if (LastResult != WAVERR_NONE) {
    DeviceError = device_.GetErrorText(LastResult).substr(0, 128);
    return false;
  }
  PlayState = psExhausted;  // open, nothing playing yet
  return true;
}

uint32_t VoicePlayer::Refill(WaveHeader& header) {
  const int64_t size = stream_.Size();
  if (size <= ReadPosition) {
    PlayState = psExhausted;
    return 0;
  }
  const int64_t n = std::min<int64_t>(size - ReadPosition, kWaveBufferSize);
  const int64_t got = stream_.Read(header.lpData, n);
  ReadPosition = stream_.Position();
  return static_cast<uint32_t>(std::max<int64_t>(got, 0));
}

bool VoicePlayer::StartPlayback() {
  stream_.Seek(0, TStream::soFromBeginning);
  ReadPosition = 0;
  PlayState = psPlaying;
  LastResult = device_.Pause();  // nothing sounds until both buffers are queued
  for (int i = 0; i < 2; ++i) {
    buffers_.Initialise(i);
    WaveHeader& header = buffers_.headers[i];
    header.dwBufferLength = Refill(header);
    LastResult = device_.PrepareHeader(&header);
    if (LastResult != WAVERR_NONE) {
      DeviceError = "Could not prepare header";
      return false;
    }
    LastResult = device_.Write(&header);
    if (LastResult != WAVERR_NONE) {
      PlayState = psWriteFailed;
      DeviceError = device_.GetErrorText(LastResult).substr(0, 128);
      return false;
    }
  }
  LastResult = device_.Restart();
  return true;
}

void VoicePlayer::Callback(WaveMessage message, WaveHeader* header) {
  switch (message) {
    case WaveMessage::Open:
      if (post_) post_(WM_PLAYER_OPENED);
      break;
    case WaveMessage::Close:
      if (post_) post_(WM_PLAYER_CLOSED);
      break;
    case WaveMessage::Lost:
      lost_ = true;
      DeviceLost = true;
      break;
    case WaveMessage::Data:
      if (closing_) break;  // our own reset: the playback is over already
      if (PlayState == psPlaying && !StopRequested && !lost_) {
        header->dwBufferLength = Refill(*header);
        LastResult = device_.PrepareHeader(header);
        LastResult = device_.Write(header);
        if (LastResult == WAVERR_DEVICEFAILED) {
          lost_ = true;
          DeviceLost = true;
        }
        if (LastResult != WAVERR_NONE && post_) post_(WM_PLAYER_FINISHED);
      } else if (post_) {
        post_(WM_PLAYER_FINISHED);
      }
      break;
  }
}

void VoicePlayer::OnFinished() {
  if (PlayState == psClosed) return;
  closing_ = true;
  LastResult = device_.Reset();
  closing_ = false;
  for (WaveHeader& header : buffers_.headers) LastResult = device_.UnprepareHeader(&header);
  LastResult = device_.Close();
  PlayState = psClosed;
}

}  // namespace tovak
