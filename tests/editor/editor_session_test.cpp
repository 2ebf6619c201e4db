#include "editor/editor_session.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "audio/wav_reader.h"
#include "support/fake_wave_device.h"
#include "support/package_fixture.h"
#include "support/scripted_asker.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using Kind = EditorAsker::Kind;

using ScriptedAsker = testing::ScriptedAsker<>;

class Editor : public ::testing::Test, protected testing::PackageFixture {
 protected:
  Editor()
      : session(pictures, messages, voices, paths.WorkFolder(), mic, speaker, asker,
                [this](int m) { posted.push_back(m); }) {
    session.Project().Now = [] { return std::time_t{1700000000}; };
  }

  void Dispatch() {
    while (!posted.empty()) {
      const int message = posted.front();
      posted.pop_front();
      session.HandleDeviceMessage(message);
    }
  }

  void Import(int count) {
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) files.push_back(Picture("p" + std::to_string(i) + ".jpg"));
    session.Import(files);
  }

  void Click(int i) {
    session.Select({i}, i);
    Dispatch();
  }

  // Records bytes of sound on the current entry and stops.
  void RecordTake(size_t bytes, uint8_t value) {
    session.Record();
    Dispatch();
    mic.Capture(bytes, value);
    session.Stop();
    Dispatch();
  }

  std::vector<uint8_t> VoiceOf(int i) {
    std::vector<uint8_t> bytes;
    const WavInfo info = ReadWavFile(voices.at(i), bytes);
    return {bytes.begin() + static_cast<std::ptrdiff_t>(info.dataOffset), bytes.end()};
  }

  const EditorState& State() { return session.State(); }

  std::vector<std::string> pictures, messages, voices;
  testing::FakeWaveIn mic;
  testing::FakeWaveOut speaker;
  ScriptedAsker asker;
  std::deque<int> posted;
  EditorSession session;
};

// The whole road of a family slideshow, with a recording left behind by a change of picture.
TEST_F(Editor, EveryMessageAndVoiceStaysWithItsPicture) {
  Import(5);
  ASSERT_EQ(State().items.size(), 5u);
  EXPECT_EQ(State().current, 0);
  for (int i = 0; i < 5; ++i) {
    Click(i);
    session.EditMessage("message for p" + std::to_string(i));
  }
  Click(2);
  session.Record();
  Dispatch();
  mic.Capture(40000, 0x22);
  EXPECT_TRUE(State().listLocked);
  EXPECT_FALSE(State().go || State().clear || State().close);

  session.Select({4}, 4);  // leaving the recording's picture asks, Yes stops it
  ASSERT_EQ(asker.asked.back(), "This will stop the recording.  Do you want to stop?");
  Dispatch();
  EXPECT_EQ(State().current, 4);
  EXPECT_FALSE(State().listLocked);
  ASSERT_FALSE(voices[2].empty());
  EXPECT_EQ(VoiceOf(2), std::vector<uint8_t>(40000, 0x22));  // nothing after Stop is dropped
  EXPECT_EQ(State().message, "message for p4");

  Click(0);
  RecordTake(100, 0x00);
  session.Select({2, 3}, 3);
  session.MoveUp();  // p0 p2 p3 p1 p4
  session.Select({3}, 3);
  session.Remove();  // p1 goes
  Dispatch();
  ASSERT_EQ(State().items, (std::vector<std::string>{"p0.jpg", "p2.jpg", "p3.jpg", "p4.jpg"}));
  const int number[] = {0, 2, 3, 4};
  for (int i = 0; i < 4; ++i) {
    Click(i);
    EXPECT_EQ(State().message, "message for p" + std::to_string(number[i]));
  }
  EXPECT_EQ(VoiceOf(0), std::vector<uint8_t>(100, 0x00));
  EXPECT_EQ(VoiceOf(1), std::vector<uint8_t>(40000, 0x22));
  EXPECT_EQ(State().voiceMarks, (std::vector<bool>{true, true, false, false}));
}

TEST_F(Editor, ButtonsFollowTheSituation) {
  Import(3);
  // One picture without a voice.
  EXPECT_TRUE(State().record && State().messageEnabled && State().remove && State().moveDown);
  EXPECT_FALSE(State().listen || State().erase || State().stop || State().moveUp);
  RecordTake(5000, 0x40);
  EXPECT_TRUE(State().listen && State().erase);
  EXPECT_EQ(State().sizeBefore, std::to_string((fs::file_size(voices[0]) + 1023) / 1024) + " kB");

  // Two pictures: no voice buttons, no message box; Erase while either has a voice.
  session.Select({0, 1}, 1);
  EXPECT_FALSE(State().record || State().listen || State().stop || State().messageEnabled);
  EXPECT_TRUE(State().erase && State().moveDown);
  EXPECT_FALSE(State().moveUp);  // the first picture cannot go higher

  // Playing: Listen becomes Stop Listening (not a second "Stop"), nothing records or erases.
  Click(0);
  session.Listen();
  Dispatch();
  EXPECT_EQ(State().listenCaption, "Stop Lis&tening");
  EXPECT_EQ(State().status, "Status: listening...");
  EXPECT_FALSE(State().record || State().erase);
  session.Listen();
  speaker.PlayOne();
  Dispatch();
  EXPECT_EQ(State().listenCaption, "Lis&ten");
  EXPECT_TRUE(State().record && State().erase);
}

TEST_F(Editor, RecordingAndPlaybackNeverOverlap) {
  Import(2);
  RecordTake(3000, 0x55);
  session.Listen();
  Dispatch();
  session.Record();  // refused while playing
  EXPECT_FALSE(mic.isOpen);
  speaker.PlayOne();
  speaker.PlayOne();
  Dispatch();

  Click(1);
  session.Record();
  Dispatch();
  mic.Capture(20000, 0x11);
  session.Listen();  // refused while recording: the recording is untouched
  EXPECT_FALSE(speaker.isOpen);
  session.Stop();
  Dispatch();
  EXPECT_EQ(VoiceOf(1), std::vector<uint8_t>(20000, 0x11));
}

TEST_F(Editor, ALostMicrophoneEndsTheRecordingAndKeepsTheTake) {
  Import(1);
  session.Record();
  Dispatch();
  mic.Capture(70000, 0x33);
  mic.Vanish();
  Dispatch();
  EXPECT_FALSE(State().listLocked);
  EXPECT_TRUE(State().go && State().close && State().record);
  ASSERT_FALSE(voices[0].empty());
  EXPECT_EQ(VoiceOf(0).size(), 70000u);
  EXPECT_NE(State().status.find("microphone"), std::string::npos) << State().status;
}

TEST_F(Editor, TheMeterShowsTheMicrophoneAndASilentTakeIsQuestioned) {
  Import(1);
  RecordTake(1000, 0x20);
  const std::string first = voices[0];
  session.Project().Now = [] { return std::time_t{1700000001}; };
  session.Record();
  Dispatch();
  EXPECT_EQ(State().inputLevel, 0);
  mic.Capture(30000, 0xF0);  // loud, still in the first buffer
  session.MeterTick();
  EXPECT_GT(State().inputLevel, 80);
  mic.Capture(88200 * 2, 0x81);  // two seconds of near silence
  session.MeterTick();
  EXPECT_LT(State().inputLevel, 5);
  EXPECT_EQ(State().elapsed, "0:02");
  session.Stop();
  Dispatch();
  const std::string kept = voices[0];  // loud enough at its start: saved without a question
  EXPECT_NE(kept, first);

  asker.answers = {true, false};  // replace the voice? yes; keep the silent take? no
  session.Record();
  Dispatch();
  mic.Capture(50000, 0x81);
  session.Stop();
  Dispatch();
  EXPECT_NE(asker.asked.back().find("No sound was recorded."), std::string::npos);
  EXPECT_EQ(voices[0], kept);
}

TEST_F(Editor, TheChosenMicrophoneAndItsDisappearance) {
  mic.devices = {{"Built-in", true, 2}, {"USB headset", false, 1}};
  session.Shown();
  ASSERT_EQ(State().inputDevices,
            (std::vector<std::string>{"System default", "Built-in", "USB headset"}));
  Import(1);
  session.ChooseInputDevice(2);
  EXPECT_EQ(session.InputDevice(), "USB headset");
  EXPECT_EQ(State().inputDevice, 2);
  RecordTake(100, 0x10);
  EXPECT_EQ(mic.openedDevice, 1u);
  EXPECT_EQ(mic.openedFormat, TWaveFormatEx::Pcm(22050, 1, 8));

  mic.devices.pop_back();  // unplugged
  RecordTake(100, 0x10);
  EXPECT_EQ(mic.openedDevice, 0u);
  EXPECT_NE(asker.told.back().second.find("\"USB headset\" is not there"), std::string::npos);
  EXPECT_EQ(session.InputDevice(), "");
  EXPECT_EQ(State().inputDevice, 0);
}

// With no device, Record! and Listen say what to do; each press looks for a device again.
TEST_F(Editor, NoDeviceIsExplainedAndLookedForAtEveryPress) {
  Import(1);
  const auto devices = mic.devices;
  mic.devices.clear();
  session.Record();
  ASSERT_FALSE(asker.told.empty());
  EXPECT_NE(asker.told.back().second.find("No recording device was found"), std::string::npos);
  EXPECT_NE(asker.told.back().second.find("start it again"), std::string::npos);
  mic.devices = devices;
  RecordTake(100, 0x10);
  EXPECT_EQ(VoiceOf(0), std::vector<uint8_t>(100, 0x10));

  speaker.devices.clear();
  session.Listen();
  EXPECT_NE(asker.told.back().second.find("No sound output was found"), std::string::npos);
}

TEST_F(Editor, ATakeThatCannotBeWrittenIsKeptUntilItIs) {
  Import(1);
  // A file where the working folder should be: every write into it fails.
  const std::string workFolder = fs::path(paths.WorkFolder()).parent_path().string();
  fs::remove_all(workFolder);
  testing::WriteBytes(workFolder, {'x'});
  session.Record();
  Dispatch();
  mic.Capture(1000, 0x44);
  session.Stop();
  Dispatch();
  ASSERT_FALSE(asker.told.empty());
  EXPECT_EQ(asker.told.back().first, Kind::Error);
  EXPECT_TRUE(voices[0].empty());
  EXPECT_FALSE(State().record);  // no new take over an unsaved one

  fs::remove(workFolder);
  EXPECT_TRUE(session.Go());  // saved on the way out
  EXPECT_EQ(VoiceOf(0), std::vector<uint8_t>(1000, 0x44));
}

TEST_F(Editor, MessagesBelongToTheBoxesEntry) {
  Import(3);
  session.EditMessage("first");
  Click(1);
  const std::string file = messages[0];
  ASSERT_TRUE(fs::exists(file));

  // An emptied box deletes the message; a box never loaded for an entry writes nothing.
  Click(0);
  session.EditMessage("");
  Click(1);
  EXPECT_TRUE(messages[0].empty());
  EXPECT_FALSE(fs::exists(file));

  // A removed entry's unsaved text goes nowhere.
  Click(2);
  session.EditMessage("typed, then removed");
  session.Remove();
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(messages[i].empty()) << i;
  EXPECT_EQ(State().current, 1);
  EXPECT_EQ(State().message, "");

  session.InsertShortFileName();
  EXPECT_EQ(State().message, "p1.jpg\n");
  asker.answers = {false};
  session.Clear();
  EXPECT_EQ(State().items.size(), 2u);
  session.Clear();
  EXPECT_TRUE(pictures.empty() && State().items.empty() && fs::is_empty(paths.WorkFolder()));
}

// After a crash the next start finds the project exactly as it was left.
TEST_F(Editor, TheJournalFollowsEveryChange) {
  WorkingFolder folder(paths.WorkFolder());
  ASSERT_TRUE(folder.Claim());
  session.KeepJournalIn(folder);
  Import(3);
  session.EditMessage("hello");
  RecordTake(2000, 0x66);
  session.Select({2}, 2);
  session.MoveUp();
  const ProjectLists expected{pictures, messages, voices};
  ASSERT_FALSE(expected.messages[0].empty());
  EXPECT_TRUE(folder.HasUnfinishedProject());
  EXPECT_EQ(ReadProjectJournal(folder.JournalPath()), expected);

  session.Clear();
  EXPECT_FALSE(folder.HasUnfinishedProject());
  EXPECT_TRUE(asker.told.empty());
}

TEST_F(Editor, GoAndTheWarnings) {
  EXPECT_FALSE(session.Go());
  EXPECT_EQ(asker.told.back().second, "You must select files first!");
  session.Import({Picture("a.jpg"), dir.File("missing.gif"), dir.File("notes.doc")});
  EXPECT_EQ(asker.told.back().second,
            "The following files were not supported or invalid.  They've been skipped.\r" +
                dir.File("missing.gif") + "\r" + dir.File("notes.doc") + "\r");
  EXPECT_TRUE(session.Go());
}

}  // namespace
}  // namespace tovak
