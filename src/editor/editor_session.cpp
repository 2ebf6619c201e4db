#include "editor/editor_session.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "common/files.h"
#include "common/placeholders.h"

namespace tovak {

namespace {

// Peaks up to this share of full scale are hiss, not a voice.
constexpr int kNoiseFloor = 3;

std::string MinutesAndSeconds(int seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
  return text;
}

// Whole kilobytes, a started one counting, so a short take never reads as nothing.
std::string Kilobytes(int64_t bytes) {
  return std::to_string(bytes <= 0 ? 0 : (bytes + 1023) / 1024);
}

// The length of a recording from its header's byte rate; 0 when the header cannot be read.
int RecordingSeconds(const std::string& path, int64_t size) {
  constexpr int kHeaderSize = 44;
  std::ifstream in(path, std::ios::binary);
  unsigned char header[kHeaderSize];
  if (!in.read(reinterpret_cast<char*>(header), kHeaderSize)) return 0;
  const uint32_t rate =
      header[28] | header[29] << 8 | header[30] << 16 | static_cast<uint32_t>(header[31]) << 24;
  return rate ? static_cast<int>((size - kHeaderSize) / rate) : 0;
}

}  // namespace

EditorSession::EditorSession(std::vector<std::string>& pictureFiles,
                             std::vector<std::string>& messageFiles,
                             std::vector<std::string>& voiceFiles, std::string workFolder,
                             WaveInDevice& input, WaveOutDevice& output, EditorAsker& asker,
                             PostMessage post)
    : pictureFiles_(pictureFiles),
      messageFiles_(messageFiles),
      voiceFiles_(voiceFiles),
      project_(pictureFiles, messageFiles, voiceFiles, std::move(workFolder)),
      asker_(asker),
      receiver_(post ? nullptr : std::make_unique<AudioEventReceiver>([this](int message) {
        HandleDeviceMessage(message);
      })),
      voice_(input, output, post ? post : receiver_->Poster()) {
  voice_.OnTake = [this](VoiceTake take) { TakeArrived(std::move(take)); };
  voice_.OnPlaybackEnded = [this](bool deviceLost) { PlaybackEnded(deviceLost); };
  ListInputDevices();
  Refresh();
}

EditorSession::~EditorSession() {
  voice_.OnTake = nullptr;
  voice_.OnPlaybackEnded = nullptr;
  voice_.Shutdown();
}

void EditorSession::Load(bool manualModeAsDefault) {
  project_.Load();
  selected_.clear();
  current_ = -1;
  Forget();
  manualModeAsDefault_ = manualModeAsDefault;
  statusNote_.clear();
  Refresh();
}

void EditorSession::Shown() {
  statusNote_.clear();
  // A playback that the closing of the window cut short never said that it ended.
  if (voice_.IsIdle()) statusWord_ = "idle";
  ListInputDevices();
  if (project_.Count() > 0) {
    Select({0}, 0);
  } else {
    Refresh();
  }
}

bool EditorSession::HasVoice(int index) const {
  return index >= 0 && index < project_.Count() && !voiceFiles_[index].empty() &&
         FileExists(voiceFiles_[index]);
}

bool EditorSession::OneSelected() const {
  return selected_.size() == 1 && current_ >= 0;
}

void EditorSession::Forget() {
  remembered_ = kNoEntry;
  message_.clear();
  messageEdited_ = false;
}

void EditorSession::SaveMessage() {
  const int index = project_.IndexOf(remembered_);
  // A box that was never loaded for an entry, or left as it was loaded, writes nothing.
  if (index < 0 || !messageEdited_) return;
  try {
    project_.SaveMessage(index, message_);
    messageEdited_ = false;
    NoteProject();
  } catch (const Exception& e) {
    asker_.Tell(EditorAsker::Kind::Error,
                Tr("The message could not be saved.") + "\n" + e.Message());
  }
}

void EditorSession::LoadEntry(int index) {
  remembered_ = project_.IdAt(index);
  message_ = project_.LoadMessage(index);
  messageEdited_ = false;
}

void EditorSession::Select(std::vector<int> selected, int current) {
  SaveMessage();
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  std::erase_if(selected, [&](int i) { return i < 0 || i >= project_.Count(); });
  if (current < 0 || current >= project_.Count()) {
    selected_ = std::move(selected);
    current_ = -1;
    Refresh();
    return;
  }
  if (project_.IdAt(current) != remembered_ && voice_.IsRecording()) {
    if (!asker_.AskYesNo(EditorAsker::Kind::Information,
                         Tr("This will stop the recording.  Do you want to stop?"))) {
      Refresh();  // the window puts its selection back to what State says
      return;
    }
    Stop();
  }
  selected_ = std::move(selected);
  if (std::find(selected_.begin(), selected_.end(), current) == selected_.end()) {
    selected_.insert(std::upper_bound(selected_.begin(), selected_.end(), current), current);
  }
  current_ = current;
  if (project_.IdAt(current) != remembered_) LoadEntry(current);
  Refresh();
}

void EditorSession::SelectAll() {
  std::vector<int> all(project_.Count());
  for (int i = 0; i < project_.Count(); ++i) all[i] = i;
  Select(all, current_ >= 0 ? current_ : (all.empty() ? -1 : 0));
}

void EditorSession::EditMessage(const std::string& text) {
  if (project_.IndexOf(remembered_) < 0 || !OneSelected() || text == message_) return;
  message_ = text;
  messageEdited_ = true;
}

void EditorSession::InsertShortFileName() {
  if (!OneSelected()) return;
  EditMessage(project_.DisplayItems()[current_] + "\n" + message_);
  Refresh();
}

void EditorSession::InsertLongFileName() {
  if (!OneSelected()) return;
  EditMessage(pictureFiles_[current_] + "\n" + message_);
  Refresh();
}

void EditorSession::Import(const std::vector<std::string>& paths,
                           const std::function<void(int, int)>& progress,
                           const std::function<void()>& done) {
  std::string skipped;
  const int count = static_cast<int>(paths.size());
  for (int i = 0; i < count; ++i) {
    if (progress) progress(i, count);
    skipped += project_.ImportFiles({paths[i]});
  }
  if (progress) progress(count, count);
  NoteProject();
  if (project_.Count() > 0 && selected_.empty()) {
    Select({0}, 0);
  } else {
    Refresh();
  }
  if (done) done();
  if (!skipped.empty()) {
    asker_.Tell(
        EditorAsker::Kind::Warning,
        FillPlaceholders(Tr("The following files were not supported or invalid.  They've been "
                            "skipped.\r%s"),
                         skipped));
  }
}

void EditorSession::Remove() {
  if (selected_.empty() || !state_.remove) return;
  if (!asker_.AskBeforeDeleting(EditorAsker::Kind::Information, RemoveQuestion())) return;
  SaveMessage();
  const int first = selected_.front();
  project_.RemoveSelected(selected_);
  // The box's entry may be gone: nothing of its text may reach another entry.
  if (project_.IndexOf(remembered_) < 0) Forget();
  selected_.clear();
  current_ = -1;
  NoteProject();
  if (project_.Count() > 0) {
    const int next = std::min(first, project_.Count() - 1);
    Select({next}, next);
  } else {
    Refresh();
  }
}

// Names what goes, so that the user sees whether the selection is the one meant.
std::string EditorSession::RemoveQuestion() const {
  const std::vector<std::string>& names = project_.DisplayItems();
  if (selected_.size() == 1) {
    return FillPlaceholders(Tr("Remove \"%s\" from the talking slideshow?\rIts recorded voice "
                               "and message are deleted with it."),
                            names[selected_.front()]);
  }
  constexpr size_t kNamesShown = 8;
  std::string list;
  for (size_t i = 0; i < selected_.size() && i < kNamesShown; ++i) {
    list += names[selected_[i]] + "\r";
  }
  if (selected_.size() > kNamesShown) list += "...\r";
  return FillPlaceholders(Tr("Remove these %s pictures from the talking slideshow?\r%sTheir "
                             "recorded voices and messages are deleted with them."),
                          {std::to_string(selected_.size()), list});
}

void EditorSession::MoveUp() {
  if (state_.moveUp) Move(true);
}

void EditorSession::MoveDown() {
  if (state_.moveDown) Move(false);
}

void EditorSession::Move(bool up) {
  SaveMessage();
  const EntryId focused = project_.IdAt(current_);
  selected_ = up ? project_.MoveUp(selected_) : project_.MoveDown(selected_);
  current_ = project_.IndexOf(focused);
  NoteProject();
  Refresh();
}

void EditorSession::Erase() {
  if (current_ < 0 || !state_.erase) return;
  if (!asker_.AskBeforeDeleting(EditorAsker::Kind::Information,
                                Tr("Remove the sound from selected image(s)?"))) {
    return;
  }
  project_.EraseVoice(selected_);
  NoteProject();
  Refresh();
}

void EditorSession::Record() {
  if (!OneSelected() || !voice_.IsIdle()) return;
  if (!SavePendingTake()) return;
  if (HasVoice(current_) &&
      !asker_.AskBeforeDeleting(EditorAsker::Kind::Warning,
                                Tr("This file already has a sound file attached to it.\rDo you "
                                   "want to continue?"))) {
    return;
  }
  std::string error;
  if (!voice_.Record(project_.IdAt(current_), error)) {
    asker_.Tell(EditorAsker::Kind::Error, Tr(error));
    Refresh();
    return;
  }
  if (voice_.InputDeviceMissing()) {
    const std::string missing = voice_.InputDevice();
    voice_.SetInputDevice({});
    asker_.Tell(
        EditorAsker::Kind::Information,
        FillPlaceholders(Tr("The microphone \"%s\" is not there any more. The system's default "
                            "microphone is used instead."),
                         missing));
  }
  ListInputDevices();
  statusNote_.clear();
  recordingSize_[0] = recordingSize_[1] = "0";
  SetStatus("recording...");
}

void EditorSession::Stop() {
  if (!voice_.IsRecording()) return;
  voice_.Stop();
  SetStatus("idle");
}

void EditorSession::Listen() {
  if (voice_.IsPlaying()) {
    voice_.StopListening();
    SetStatus("idle");
    return;
  }
  if (!OneSelected() || !HasVoice(current_) || !voice_.IsIdle()) return;
  std::string error;
  if (!voice_.Listen(voiceFiles_[current_], error)) {
    asker_.Tell(EditorAsker::Kind::Error, Tr(error));
    Refresh();
    return;
  }
  statusNote_.clear();
  SetStatus("listening...");
}

void EditorSession::Tick() {
  if (!voice_.IsRecording()) return;
  const auto [kilobytes, estimate] = VoiceRecorder::SizeEstimate(voice_.RecordedBytes());
  recordingSize_[0] = std::to_string(kilobytes);
  recordingSize_[1] = std::to_string(estimate);
  Refresh();
}

void EditorSession::MeterTick() {
  if (!voice_.IsRecording()) return;
  Refresh();
}

void EditorSession::ListInputDevices() {
  inputDevices_ = {"System default"};
  for (const std::string& name : voice_.InputDeviceNames()) inputDevices_.push_back(name);
}

void EditorSession::ChooseInputDevice(int index) {
  if (index < 0 || index >= static_cast<int>(inputDevices_.size())) return;
  voice_.SetInputDevice(index == 0 ? std::string() : inputDevices_[index]);
  Refresh();
}

void EditorSession::SetInputDevice(const std::string& name) {
  voice_.SetInputDevice(name);
  Refresh();
}

bool EditorSession::Go() {
  if (!state_.go) return false;
  SaveMessage();
  if (!SavePendingTake()) return false;
  if (project_.Count() == 0) {
    asker_.Tell(EditorAsker::Kind::Information, Tr("You must select files first!"));
    return false;
  }
  voice_.Shutdown();
  return true;
}

bool EditorSession::Close() {
  if (!state_.close) return false;
  SaveMessage();
  SavePendingTake();
  voice_.Shutdown();
  return true;
}

void EditorSession::Clear() {
  if (!state_.clear) return;
  // The settings stay: only the project goes.
  if (!asker_.AskBeforeDeleting(EditorAsker::Kind::Information,
                                Tr("This removes all pictures with their messages and recordings "
                                   "from the slideshow. Are you sure?"))) {
    return;
  }
  voice_.Shutdown();
  pendingTake_.reset();
  project_.Clear();
  selected_.clear();
  current_ = -1;
  Forget();
  manualModeAsDefault_ = false;
  statusNote_.clear();
  NoteProject();
  SetStatus("idle");
}

void EditorSession::HandleDeviceMessage(int message) {
  voice_.Handle(message);
  Refresh();
  if (Changed) Changed();
}

void EditorSession::TakeArrived(VoiceTake take) {
  // A take that never rose above the noise floor is most likely a muted or unplugged microphone.
  if (PeakLevel(take.samples.data(), take.samples.size()) <= kNoiseFloor &&
      !asker_.AskYesNo(EditorAsker::Kind::Warning,
                       Tr("No sound was recorded. Check that your microphone is connected and not "
                          "muted.") +
                           "\r" + Tr("Keep the recording anyway?"))) {
    return;
  }
  pendingTake_ = std::make_unique<VoiceTake>(std::move(take));
  if (SavePendingTake()) NoteProject();
}

// A take is the user's voice: until its file is written it is kept, and nothing new is
// recorded over it.
bool EditorSession::SavePendingTake() {
  if (!pendingTake_) return true;
  const VoiceTake& take = *pendingTake_;
  const int index = project_.IndexOf(take.target);
  if (index < 0) {
    // The user removed its picture while the take waited for room on the disk.
    pendingTake_.reset();
    return true;
  }
  try {
    project_.SaveRecording(index, take.samples, take.format);
  } catch (const Exception& e) {
    asker_.Tell(EditorAsker::Kind::Error,
                Tr("The recording could not be saved.") + "\n" + e.Message());
    return false;
  }
  const double seconds =
      take.format.nAvgBytesPerSec ? double(take.samples.size()) / take.format.nAvgBytesPerSec : 0;
  if (take.deviceLost) {
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.1f", seconds);
    statusNote_ = FillPlaceholders(Tr("microphone lost, %s s saved"), figure);
  }
  pendingTake_.reset();
  return true;
}

void EditorSession::PlaybackEnded(bool deviceLost) {
  statusWord_ = "idle";
  if (deviceLost) statusNote_ = Tr("sound output lost");
}

void EditorSession::SetStatus(const std::string& word) {
  statusWord_ = word;
  Refresh();
}

void EditorSession::KeepJournalIn(WorkingFolder& folder) {
  journal_ = &folder;
  NoteProject();
}

void EditorSession::NoteProject() {
  if (!journal_) return;
  std::string error;
  if (journal_->SaveJournal({pictureFiles_, messageFiles_, voiceFiles_}, &error)) {
    journalFailed_ = false;
  } else if (!journalFailed_) {
    journalFailed_ = true;
    asker_.Tell(
        EditorAsker::Kind::Warning,
        FillPlaceholders(
            Tr("The slideshow could not be noted down for a restart after a crash (%s)."), error));
  }
}

void EditorSession::Refresh() {
  EditorState s;
  const int count = project_.Count();
  s.items = project_.DisplayItems();
  for (int i = 0; i < count; ++i) s.voiceMarks.push_back(HasVoice(i));
  s.selected = selected_;
  s.current = current_;
  const bool recording = voice_.IsRecording();
  const bool saving = voice_.CurrentPhase() == VoiceSession::Phase::SavingTake;
  const bool playing = voice_.IsPlaying();
  const bool idle = voice_.IsIdle();
  const bool one = OneSelected();
  const bool anySelected = !selected_.empty();

  s.listLocked = recording || saving;
  s.remove = count > 0 && anySelected && !s.listLocked;
  // Nothing may reorder or add pictures under a recording's feet.
  s.add = !s.listLocked;
  s.moveUp = anySelected && selected_.front() > 0 && !s.listLocked;
  s.moveDown = anySelected && selected_.back() < count - 1 && !s.listLocked;
  s.record = one && idle && !pendingTake_;
  s.stop = recording;
  s.listen = playing ? voice_.CurrentPhase() == VoiceSession::Phase::Playing
                     : one && idle && HasVoice(current_);
  s.listenCaption = Tr(playing ? "Stop Lis&tening" : "Lis&ten");
  s.listening = playing;
  s.erase = idle && current_ >= 0 &&
            std::any_of(selected_.begin(), selected_.end(), [&](int i) { return HasVoice(i); });
  s.clear = s.go = s.close = !s.listLocked;
  s.messageEnabled = one && project_.IndexOf(remembered_) == current_;
  s.insertFileName = s.messageEnabled;
  s.message = message_;
  const int shown = project_.IndexOf(remembered_);
  if (shown >= 0 && FileExists(pictureFiles_[shown])) s.previewPicture = pictureFiles_[shown];

  // Both labels in one unit, whether they show a take in progress or a saved one.
  const std::string kilobytes = Tr("%s kB");
  if (recording || saving) {
    s.sizeBefore = FillPlaceholders(kilobytes, recordingSize_[0]);
    s.sizeAfter = FillPlaceholders(kilobytes, recordingSize_[1]);
  } else if (one && HasVoice(current_)) {
    const int64_t size = FileSize(voiceFiles_[current_]);
    s.sizeBefore = FillPlaceholders(kilobytes, Kilobytes(size));
    s.sizeAfter = FillPlaceholders(kilobytes, Kilobytes(static_cast<int64_t>(size * 0.2)));
    s.elapsed = MinutesAndSeconds(RecordingSeconds(voiceFiles_[current_], size));
  } else {
    s.sizeBefore = s.sizeAfter = FillPlaceholders(kilobytes, "0");
  }
  s.timerRunning = recording;
  if (recording) {
    s.inputLevel = voice_.InputLevel();
    s.elapsed = MinutesAndSeconds(static_cast<int>(voice_.RecordedSeconds()));
  }
  const std::string word = statusNote_.empty() || !idle ? Tr(statusWord_) : statusNote_;
  s.status = FillPlaceholders(Tr("Status: %s"), word);
  s.manualModeAsDefault = manualModeAsDefault_;
  s.inputDevices = inputDevices_;
  if (!s.inputDevices.empty()) s.inputDevices[0] = Tr("System default");
  const auto chosen = std::find(inputDevices_.begin() + 1, inputDevices_.end(), InputDevice());
  s.inputDevice = InputDevice().empty() || chosen == inputDevices_.end()
                      ? 0
                      : static_cast<int>(chosen - inputDevices_.begin());
  state_ = std::move(s);
}

}  // namespace tovak
