#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/audio_events.h"
#include "editor/editor_asker.h"
#include "editor/editor_state.h"
#include "editor/slideshow_project.h"
#include "editor/voice_session.h"
#include "editor/working_folder.h"

namespace tovak {

// The single-screen editor without its window: owns the project being edited and the voice
// session, performs every user operation and says after each one what the window shows (State).
// The message box and a recording in flight belong to entries, not to places in the list, so
// no move, removal or clear can hand a message or a take to another picture.
class EditorSession {
 public:
  // The three lists belong to the owner (the main window) and are edited in place. post carries
  // the devices' notifications back to HandleDeviceMessage on the owner's thread; when empty the
  // session receives them itself through the event loop.
  EditorSession(std::vector<std::string>& pictureFiles, std::vector<std::string>& messageFiles,
                std::vector<std::string>& voiceFiles, std::string workFolder, WaveInDevice& input,
                WaveOutDevice& output, EditorAsker& asker, PostMessage post = {});
  ~EditorSession();

  // Takes the lists as they are now (the owner may have changed them) and starts afresh.
  void Load(bool manualModeAsDefault);
  // The window is shown: selects the first picture.
  void Shown();

  const EditorState& State() const { return state_; }
  // The language changed: describes the state again in the new one.
  void Retranslate() { Refresh(); }
  SlideshowProject& Project() { return project_; }

  // The list's selection changed (a click, the keyboard); current is the focused row. During a
  // recording, leaving its picture asks first and a No puts the selection back.
  void Select(std::vector<int> selected, int current);
  void SelectAll();
  // The message box's text as the user left it.
  void EditMessage(const std::string& text);
  void InsertShortFileName();
  void InsertLongFileName();

  // Imports picture files; progress(index, count) runs before each. Warns about skipped files,
  // after done has run (the window puts its buttons back first).
  void Import(const std::vector<std::string>& paths,
              const std::function<void(int, int)>& progress = {},
              const std::function<void()>& done = {});
  void Remove();
  void MoveUp();
  void MoveDown();
  void Erase();
  void Record();
  void Stop();
  void Listen();
  // The size estimate's timer tick (every second while recording).
  void Tick();
  // The level meter's tick (about ten times a second while recording).
  void MeterTick();
  // Records from the microphone at this index of State().inputDevices from now on (0: the
  // system's default).
  void ChooseInputDevice(int index);
  // The chosen microphone by name, for the settings file; empty for the system's default.
  const std::string& InputDevice() const { return voice_.InputDevice(); }
  void SetInputDevice(const std::string& name);
  // Go!: true when the window may close with OK.
  bool Go();
  // Close: saves the message; true when the window may close (not while recording).
  bool Close();
  void Clear();

  // One of the devices' notifications (WM_RECORDER_OPENED ... WM_PLAYER_FINISHED).
  void HandleDeviceMessage(int message);

  // Runs after a change the window did not ask for (a take saved, a playback ended).
  std::function<void()> Changed;
  // Keeps the project's journal in folder from now on: rewritten after every change of the lists,
  // so a crash loses no recording. A failed write is told once, until one succeeds again.
  void KeepJournalIn(WorkingFolder& folder);
  // Translation of every text the session shows; placeholders are filled in afterwards.
  std::function<std::string(const std::string&)> Translate = [](const std::string& s) { return s; };

 private:
  std::string Tr(const std::string& text) const { return Translate(text); }
  void Refresh();
  void SetStatus(const std::string& word);
  void SaveMessage();
  void LoadEntry(int index);
  void Forget();
  bool SavePendingTake();
  void TakeArrived(VoiceTake take);
  void PlaybackEnded(bool deviceLost);
  bool HasVoice(int index) const;
  bool OneSelected() const;
  void NoteProject();
  void Move(bool up);
  std::string RemoveQuestion() const;
  void ListInputDevices();

  std::vector<std::string>& pictureFiles_;
  std::vector<std::string>& messageFiles_;
  std::vector<std::string>& voiceFiles_;
  SlideshowProject project_;
  EditorAsker& asker_;
  std::unique_ptr<AudioEventReceiver> receiver_;
  VoiceSession voice_;

  std::vector<int> selected_;
  int current_ = -1;
  EntryId remembered_ = kNoEntry;  // whose message the box holds
  std::string message_;
  bool messageEdited_ = false;
  std::string statusWord_ = "idle";
  std::string statusNote_;  // replaces the word after an unusual end ("the microphone was lost")
  std::string recordingSize_[2];
  std::unique_ptr<VoiceTake> pendingTake_;  // a take whose file could not be written yet
  bool manualModeAsDefault_ = false;
  std::vector<std::string> inputDevices_;  // as offered: the default first
  WorkingFolder* journal_ = nullptr;
  bool journalFailed_ = false;
  EditorState state_;
};

}  // namespace tovak
