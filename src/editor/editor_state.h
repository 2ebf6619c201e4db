#pragma once

#include <string>
#include <vector>

namespace tovak {

// Everything the editor window shows, decided by the editor's model after every operation. The
// window renders it and decides nothing; texts are translated already.
struct EditorState {
  // The list: one row per picture, the voice mark of each, the selection and current row.
  std::vector<std::string> items;
  std::vector<bool> voiceMarks;
  std::vector<int> selected;  // ascending
  int current = -1;
  bool listLocked = false;  // while a recording runs or its take is being saved

  // Buttons (the popup items of the same name follow them).
  bool add = true;
  bool remove = false;
  bool moveUp = false;
  bool moveDown = false;
  bool record = false;
  bool stop = false;
  bool listen = false;
  bool erase = false;
  bool clear = true;
  bool go = true;
  bool close = true;
  std::string listenCaption;  // "Lis&ten", or "Stop Lis&tening" while a playback runs
  bool listening = false;     // Listen stops the playback when pressed

  // Popup items beyond the buttons.
  bool insertFileName = false;  // short and long

  // The message box and the preview of the remembered entry.
  bool messageEnabled = false;
  std::string message;
  std::string previewPicture;  // empty: no picture shown

  std::string status;  // "Status: idle"
  std::string sizeBefore = "0 kB";
  std::string sizeAfter = "0 kB";
  bool timerRunning = false;  // the size estimate while recording
  // While recording: how loud the last sound was (0 silence .. 100 full scale) and the time
  // recorded so far ("0:07"), so the user sees that the microphone hears them. Otherwise the
  // length of the selected picture's recording; empty without one.
  int inputLevel = 0;
  std::string elapsed;

  // The microphones to choose from, the system's default first, and the chosen one.
  std::vector<std::string> inputDevices;
  int inputDevice = 0;

  bool manualModeAsDefault = false;

  bool operator==(const EditorState&) const = default;
};

}  // namespace tovak
