#include "engine-win32/engine_window.h"

#include <algorithm>
#include <exception>
#include <new>

#include "engine-win32/wide_text.h"
#include "platform/native_file.h"
#include "player/link_address.h"
#include "player/show_keys.h"

#include <windows.h>
// After <windows.h>, which they need.
#include <shellapi.h>
#include <windowsx.h>

namespace tovak {

namespace {

constexpr wchar_t kClassName[] = L"TovakSlideshowEngine";
constexpr UINT_PTR kBarTimer = 2;
constexpr UINT_PTR kNoticeTimer = 3;
constexpr UINT_PTR kPointerTimer = 4;
constexpr int kBarMs = 2500;      // the position stays this long after a change
constexpr int kNoticeMs = 1200;   // a volume change is brief
constexpr int kPointerMs = 2000;  // a still pointer hides in full screen after this
constexpr int kPlayAgainId = 101;
constexpr int kCloseId = 102;
constexpr UINT kCloseMenuId = 1;
constexpr UINT kFirstLinkId = 100;

std::wstring Wide(const std::u16string& text) {
  return std::wstring(text.begin(), text.end());
}

}  // namespace

std::string CurrentFailure() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return "there is not enough memory for it";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an unexpected failure";
  }
}

EngineWindow::EngineWindow(SlideshowContent& content, PackageReader& records, int language)
    : content_(content),
      records_(records),
      language_(language),
      sequence_(content.Count(), voice_, timer_, [this](int index) { return Sound(index); }) {
  sequence_.Shown = [this](int index) { Show(index); };
  sequence_.Ended = [this] { ShowEnd(); };
  windowed_.length = sizeof windowed_;
}

EngineWindow::~EngineWindow() {
  voice_.Stop();
  if (scaled_) DeleteObject(scaled_);
  for (HFONT font : fonts_) {
    if (font) DeleteObject(font);
  }
  if (buttonFont_) DeleteObject(buttonFont_);
  if (linkMenu_) DestroyMenu(linkMenu_);
}

HFONT EngineWindow::Font(int pixels, bool bold) {
  const int slot = bold ? 1 : 0;
  if (!fonts_[slot] || fontPixels_[slot] != pixels) {
    if (fonts_[slot]) DeleteObject(fonts_[slot]);
    fonts_[slot] = CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Segoe UI");
    fontPixels_[slot] = pixels;
  }
  return fonts_[slot];
}

int EngineWindow::Run(bool fullScreen) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = &Proc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  // Windowed, the show takes 1024 x 768 in the middle of the primary monitor.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = std::min<int>(1024, work.right - work.left);
  const int height = std::min<int>(768, work.bottom - work.top);
  window_ = CreateWindowExW(0, kClassName, Widen(platform::FileNameOf(content_.Path())).c_str(),
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            work.left + (work.right - work.left - width) / 2,
                            work.top + (work.bottom - work.top - height) / 2, width, height,
                            nullptr, nullptr, instance, this);
  if (!window_) return 1;
  voice_.Attach(window_);
  timer_.Attach(window_);
  again_ = CreateWindowExW(0, L"BUTTON", Widen(texts_.Text(kPlayAgain)).c_str(),
                           WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 10, 10, window_,
                           HMENU(INT_PTR(kPlayAgainId)), instance, nullptr);
  close_ = CreateWindowExW(0, L"BUTTON", Widen(texts_.Text(kEndClose)).c_str(),
                           WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 10, 10, window_,
                           HMENU(INT_PTR(kCloseId)), instance, nullptr);
  if (fullScreen) {
    SetFullScreen(true);
  } else {
    ShowWindow(window_, SW_SHOWNORMAL);
  }
  UpdateWindow(window_);
  voice_.SetVolume(volume_.Gain());
  sequence_.Start();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (ForwardButtonKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return int(message.wParam);
}

// Keys typed while a button of the end screen has the focus: Tab and Enter work the buttons,
// Space presses the one in focus, every other key is the show's.
bool EngineWindow::ForwardButtonKey(const MSG& message) {
  if ((message.hwnd != again_ && message.hwnd != close_) ||
      (message.message != WM_KEYDOWN && message.message != WM_CHAR)) {
    return false;
  }
  if (message.message == WM_CHAR) {
    if (message.wParam == L'?') {
      Key(VK_F1);
      return true;
    }
    return message.wParam != L' ';
  }
  switch (message.wParam) {
    case VK_TAB:
      SetFocus(message.hwnd == again_ ? close_ : again_);
      return true;
    case VK_RETURN:
      SendMessageW(message.hwnd, BM_CLICK, 0, 0);
      return true;
    case VK_SPACE:
      return false;
    default:
      return Key(message.wParam);
  }
}

LRESULT CALLBACK EngineWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<EngineWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<EngineWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  // Nothing may be thrown through the system's code: the show stops and says why.
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    const bool first = self->failure_.empty();
    if (first) self->failure_ = CurrentFailure();
    self->voice_.Stop();
    if (first && IsWindow(window)) {
      DestroyWindow(window);
    } else {
      PostQuitMessage(1);
    }
    return 0;
  }
}

LRESULT EngineWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window_, &paint);
      RECT client;
      GetClientRect(window_, &client);
      Paint(dc, client);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_SIZE:
      LayoutButtons();
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {320, 240};
      return 0;
    case WM_DPICHANGED:
      if (!fullScreen_) {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    case WM_TIMER:
      switch (wParam) {
        case WindowTimer::kId:
          timer_.OnTimer();
          break;
        case kBarTimer:
          KillTimer(window_, kBarTimer);
          if (!sequence_.Paused()) barShown_ = false;
          InvalidateRect(window_, nullptr, FALSE);
          break;
        case kNoticeTimer:
          KillTimer(window_, kNoticeTimer);
          noticeShown_ = false;
          InvalidateRect(window_, nullptr, FALSE);
          break;
        case kPointerTimer:
          KillTimer(window_, kPointerTimer);
          if (fullScreen_) {
            pointerHidden_ = true;
            SetCursor(nullptr);
          }
          break;
      }
      return 0;
    case kVoiceDoneMessage:
      voice_.OnDone(wParam);
      return 0;
    case WM_KEYDOWN:
      keyClosedHelp_ = helpShown_;
      if (helpShown_) {
        ShowHelp(false);
        return 0;
      }
      if (Key(wParam)) return 0;
      break;
    case WM_CHAR:
      // "?" has no key of its own on most layouts: it comes as a character. The key that just
      // closed the list does not open it again.
      if (wParam == L'?' && !keyClosedHelp_) Key(VK_F1);
      return 0;
    case WM_LBUTTONDOWN:
      if (helpShown_) {
        ShowHelp(false);
      } else if (!ended_) {
        sequence_.Next();
      }
      return 0;
    case WM_MOUSEMOVE: {
      // Windows also sends a move when nothing moved (a window appearing under the pointer).
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (at.x != lastPointer_.x || at.y != lastPointer_.y) {
        lastPointer_ = at;
        ShowPointer();
      }
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && HWND(wParam) == window_) {
        SetCursor(pointerHidden_ ? nullptr : LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_CONTEXTMENU: {
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (at.x == -1 && at.y == -1) {  // from the keyboard: at the window's corner
        at = {0, 0};
        ClientToScreen(window_, &at);
      }
      LinkMenu(at);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kPlayAgainId) sequence_.First();
      if (LOWORD(wParam) == kCloseId) DestroyWindow(window_);
      return 0;
    case WM_CTLCOLORBTN:
      return LRESULT(GetStockObject(BLACK_BRUSH));
    case WM_DESTROY:
      sequence_.Shown = nullptr;
      sequence_.Ended = nullptr;
      voice_.Stop();
      timer_.Stop();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void EngineWindow::Show(int index) {
  picture_ = WicPictures::Picture();
  try {
    if (content_.HasPicture(index)) wic_.Decode(content_.StoredPicture(index), picture_);
  } catch (const std::exception&) {
    // A picture that cannot be read, or not held, leaves its slide black; its message and voice
    // still play.
  }
  if (scaled_) DeleteObject(scaled_);
  scaled_ = nullptr;
  message_.SetText(Wide(content_.ShownMessage(index)));
  if (ended_) HideEnd();
  ShowBar();
}

SlideSound EngineWindow::Sound(int index) {
  // The picture is on the screen before its voice is read: a long voice never keeps it waiting.
  UpdateWindow(window_);
  SlideSound sound;
  sound.messageLength = message_.Length();
  try {
    const PackageReader::Record voice = records_.VoiceRecord(index);
    sound.hasVoice = voice_.Prepare(content_.Path(), voice.offset, voice.size, sound.format);
  } catch (const Exception&) {
    // A voice whose place cannot be read is left out, as a damaged one is.
  }
  return sound;
}

void EngineWindow::ShowBar() {
  barShown_ = true;
  SetTimer(window_, kBarTimer, kBarMs, nullptr);
  InvalidateRect(window_, nullptr, FALSE);
}

void EngineWindow::ShowEnd() {
  ended_ = true;
  LayoutButtons();
  if (!helpShown_) {
    ShowWindow(again_, SW_SHOW);
    ShowWindow(close_, SW_SHOW);
    SetFocus(again_);
  }
  InvalidateRect(window_, nullptr, FALSE);
}

void EngineWindow::HideEnd() {
  ended_ = false;
  ShowWindow(again_, SW_HIDE);
  ShowWindow(close_, SW_HIDE);
  SetFocus(window_);
  InvalidateRect(window_, nullptr, FALSE);
}

// The key list covers everything, the end screen's buttons too, and takes the keys while shown.
void EngineWindow::ShowHelp(bool on) {
  helpShown_ = on;
  if (ended_) {
    ShowWindow(again_, on ? SW_HIDE : SW_SHOW);
    ShowWindow(close_, on ? SW_HIDE : SW_SHOW);
  }
  SetFocus(ended_ && !on ? again_ : window_);
  InvalidateRect(window_, nullptr, FALSE);
}

void EngineWindow::LayoutButtons() {
  if (!again_) return;
  RECT client;
  GetClientRect(window_, &client);
  const int height = client.bottom;
  const int pixels = std::max(16, height / 36);
  if (buttonFont_) DeleteObject(buttonFont_);
  buttonFont_ = CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                            DEFAULT_PITCH | FF_SWISS, L"Segoe UI");
  // Wide enough for the longer caption, which in some languages is twice the English one.
  int widest = 0;
  const HDC dc = GetDC(window_);
  const HGDIOBJ old = SelectObject(dc, buttonFont_);
  for (HWND button : {again_, close_}) {
    wchar_t caption[128];
    const int length = GetWindowTextW(button, caption, int(std::size(caption)));
    SIZE size{};
    GetTextExtentPoint32W(dc, caption, length, &size);
    widest = std::max<int>(widest, size.cx);
  }
  SelectObject(dc, old);
  ReleaseDC(window_, dc);
  const int gap = pixels * 2;
  const int buttonWidth =
      std::min(std::max(pixels * 9, widest + pixels * 2), std::max(1, int(client.right) - gap) / 2);
  const int buttonHeight = pixels * 2 + pixels / 2;
  const int left = (client.right - 2 * buttonWidth - gap) / 2;
  const int top = height / 2 + pixels;
  for (HWND button : {again_, close_}) SendMessageW(button, WM_SETFONT, WPARAM(buttonFont_), TRUE);
  MoveWindow(again_, left, top, buttonWidth, buttonHeight, TRUE);
  MoveWindow(close_, left + buttonWidth + gap, top, buttonWidth, buttonHeight, TRUE);
}

bool EngineWindow::Key(WPARAM key) {
  switch (key) {
    case VK_SPACE:
    case VK_RIGHT:
    case VK_NEXT:
      sequence_.Next();
      return true;
    case VK_LEFT:
    case VK_BACK:
    case VK_PRIOR:
      sequence_.Previous();
      return true;
    case 'P':
      sequence_.TogglePause();
      ShowBar();
      return true;
    case 'R':
      sequence_.Replay();
      return true;
    case VK_HOME:
      sequence_.First();
      return true;
    case VK_END:
      sequence_.Last();
      return true;
    case VK_UP:
    case VK_ADD:
    case VK_OEM_PLUS:  // "=" and "+" share a key on many keyboards
      ChangeVolume(&EngineVolume::Up);
      return true;
    case VK_DOWN:
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
      ChangeVolume(&EngineVolume::Down);
      return true;
    case 'M':
      ChangeVolume(&EngineVolume::ToggleMute);
      return true;
    case 'F':
      SetFullScreen(!fullScreen_);
      return true;
    case VK_F1:
      ShowHelp(true);
      return true;
    case VK_ESCAPE:
      DestroyWindow(window_);
      return true;
    default:
      return false;
  }
}

void EngineWindow::ChangeVolume(void (EngineVolume::*change)()) {
  (volume_.*change)();
  voice_.SetVolume(volume_.Gain());
  notice_ = volume_.Text(texts_);
  noticeShown_ = true;
  SetTimer(window_, kNoticeTimer, kNoticeMs, nullptr);
  InvalidateRect(window_, nullptr, FALSE);
}

void EngineWindow::SetFullScreen(bool on) {
  if (on == fullScreen_ && IsWindowVisible(window_)) return;
  if (on) {
    if (IsWindowVisible(window_)) GetWindowPlacement(window_, &windowed_);
    // The monitor the window is on; at the start, the primary one.
    const HMONITOR monitor = IsWindowVisible(window_)
                                 ? MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY)
                                 : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    SetWindowLongPtrW(window_, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    SetWindowPos(window_, HWND_TOP, info.rcMonitor.left, info.rcMonitor.top,
                 info.rcMonitor.right - info.rcMonitor.left,
                 info.rcMonitor.bottom - info.rcMonitor.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    fullScreen_ = true;
    pointerHidden_ = true;
    SetCursor(nullptr);
  } else {
    SetWindowLongPtrW(window_, GWL_STYLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN);
    SetWindowPlacement(window_, &windowed_);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    fullScreen_ = false;
    KillTimer(window_, kPointerTimer);
    pointerHidden_ = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  }
  SetForegroundWindow(window_);
  SetFocus(ended_ ? again_ : window_);
}

void EngineWindow::ShowPointer() {
  if (pointerHidden_) {
    pointerHidden_ = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  }
  if (fullScreen_) SetTimer(window_, kPointerTimer, kPointerMs, nullptr);
}

HMENU EngineWindow::BuildLinkMenu() {
  const HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  const std::vector<SlideshowContent::Link> links = content_.Links(language_);
  for (size_t k = 0; k < links.size(); ++k) {
    std::wstring caption;
    for (const char16_t c : links[k].caption) {
      if (c == u'&') caption += L'&';  // a literal ampersand, not a mnemonic
      caption += wchar_t(c);
    }
    // The same rule as every player's: a program or file address would start on the viewer's
    // machine without a word, so its entry shows but cannot be chosen.
    const bool openable = !OpenableLinkAddress(ToUtf8(links[k].url)).empty();
    AppendMenuW(menu, MF_STRING | (openable ? 0 : MF_GRAYED), kFirstLinkId + k, caption.c_str());
    linkUrls_.push_back(links[k].url);
  }
  if (!links.empty()) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kCloseMenuId, Widen(texts_.Text(kMenuClose)).c_str());
  return menu;
}

void EngineWindow::LinkMenu(POINT at) {
  if (!linkMenu_) linkMenu_ = BuildLinkMenu();
  if (!linkMenu_) return;
  KillTimer(window_, kPointerTimer);
  pointerHidden_ = false;
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  const UINT chosen = UINT(
      TrackPopupMenu(linkMenu_, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr));
  ShowPointer();
  if (chosen == kCloseMenuId) {
    DestroyWindow(window_);
  } else if (chosen >= kFirstLinkId && chosen - kFirstLinkId < linkUrls_.size()) {
    const std::string url = OpenableLinkAddress(ToUtf8(linkUrls_[chosen - kFirstLinkId]));
    if (!url.empty()) {
      ShellExecuteW(window_, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
  }
}

}  // namespace tovak
