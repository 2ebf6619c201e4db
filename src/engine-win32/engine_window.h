#pragma once

#include <string>
#include <vector>

#include "builder/package_reader.h"
#include "engine-win32/engine_volume.h"
#include "engine-win32/message_layout.h"
#include "engine-win32/wave_out_voice.h"
#include "engine-win32/wic_picture.h"
#include "engine-win32/window_timer.h"
#include "player/show_sequence.h"
#include "player/show_texts.h"
#include "player/slideshow_content.h"

#include <windows.h>

namespace tovak {

// The show's one window: each picture letterboxed on black, its message in a band below that
// never covers it, "n / N" for a while after each change, the volume when it changes, an end
// screen with Play again and Close, a list of the keys, and the package's links on a right click.
// In full screen the pointer hides after two seconds still.
class EngineWindow {
 public:
  // records is the same package as content, for reading voices in pieces.
  EngineWindow(SlideshowContent& content, PackageReader& records, int language);
  ~EngineWindow();
  EngineWindow(const EngineWindow&) = delete;
  EngineWindow& operator=(const EngineWindow&) = delete;

  // Opens the window, plays the show and returns when the window closes.
  int Run(bool fullScreen);
  // Why the show stopped by itself, or empty when whoever watched closed it.
  const std::string& Failure() const { return failure_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void Show(int index);
  SlideSound Sound(int index);
  void ShowEnd();
  void HideEnd();
  void ShowHelp(bool on);
  void LayoutButtons();
  bool Key(WPARAM key);
  bool ForwardButtonKey(const MSG& message);
  void ChangeVolume(void (EngineVolume::*change)());
  void ShowBar();
  void SetFullScreen(bool on);
  void ShowPointer();
  void LinkMenu(POINT at);
  HMENU BuildLinkMenu();
  void Paint(HDC target, const RECT& client);
  void PaintPicture(HDC dc, const RECT& area);
  void PaintBox(HDC dc, const RECT& box, const std::wstring& text);
  void PaintHelp(HDC dc, const RECT& client);
  int CaptionHeight(HDC dc, const RECT& client);
  HFONT Font(int pixels, bool bold = false);

  SlideshowContent& content_;
  PackageReader& records_;
  int language_;
  std::string failure_;
  HWND window_ = nullptr;
  HWND again_ = nullptr;
  HWND close_ = nullptr;
  WicPictures wic_;
  WicPictures::Picture picture_;
  HBITMAP scaled_ = nullptr;
  SIZE scaledSize_{};
  MessageLayout message_;
  // Built on the first right click and kept, with the addresses its entries open.
  HMENU linkMenu_ = nullptr;
  std::vector<std::u16string> linkUrls_;
  WaveOutVoice voice_;
  WindowTimer timer_;
  ShowSequence sequence_;
  EngineVolume volume_;
  // In the language of whoever watches, not of whoever built the show.
  ShowTexts texts_{BuiltInShowTranslations(), GetUserDefaultUILanguage()};
  std::wstring notice_;
  bool barShown_ = false;
  bool noticeShown_ = false;
  bool helpShown_ = false;
  bool keyClosedHelp_ = false;
  bool ended_ = false;
  bool fullScreen_ = false;
  bool pointerHidden_ = false;
  POINT lastPointer_{-1, -1};
  WINDOWPLACEMENT windowed_{};
  HFONT fonts_[2] = {};
  int fontPixels_[2] = {};
  HFONT buttonFont_ = nullptr;
};

// Why the exception being handled was thrown, in words for whoever made the show.
std::string CurrentFailure();

}  // namespace tovak
