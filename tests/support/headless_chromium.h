#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <QJsonObject>
#include <QJsonValue>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tovak::testing {

// The browser could not be started, died, timed out or refused a command.
class BrowserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the page said on its console, or the browser logged about it; level is the console
// call's type ("log", "error", "warning", ...) or the log entry's ("verbose" to "error").
struct BrowserMessage {
  std::string source;  // "console" for console calls, else the log entry's source ("security"...)
  std::string level;
  std::string text;
};

// A real Chromium, headless, driven over its DevTools pipe: one page that tests navigate, read
// through JavaScript and drive with real mouse, key and touch events, so the page sees user
// gestures as it would from a person.
//
// Found on this machine (Chromium 156, 2 cores), and why the flags are what they are:
//  - Starting the browser and attaching to its page takes about 0.3 s, a small page 0.05 s more,
//    closing it 0.1 s; a test with its own browser costs well under a second.
//  - --headless is the full browser without a window; the older separate headless mode is gone
//    from Chromium, so no variant needs choosing.
//  - Audio from data: URIs (WAV and MP3) plays to `ended` in real time with no sound card. Into a
//    sound server, though, the first sound of a fresh browser holds at currentTime 0 for about
//    a second after `playing` while the output opens; with no server there is no such wait.
//    --disable-audio-output sends every sound to a silent output that keeps real time from the
//    first moment either way, so timings are the same on every machine (and nothing beeps).
//  - Autoplay keeps its default policy: play() before any gesture rejects with NotAllowedError,
//    as it would for a person. After one Click() or PressKey() the page stays activated, and even
//    play() from Evaluate() succeeds. Escape is no gesture. Pass
//    --autoplay-policy=no-user-gesture-required in extraFlags to lift the rule.
//  - An MP3's audio.duration is exact when its first frame holds the encoder's Xing/Info and LAME
//    tag: voices from EncodeSpeechMp3 of 1, 2.5 and 7.3 s report exactly that, and `ended`
//    comes about 0.1 s after the duration has passed. Without the tag (the lame command at
//    22.05 kHz and 32 or 40 kbps has no room for it in a frame) the browser counts whole frames
//    with the encoder's delay and padding: 1 s of sound reports 1.071 s.
//  - A Content-Security-Policy violation comes as a Log entry at level "error", source
//    "security". A resource the policy blocks may still be listed among Requests() (an <img> is;
//    a blocked fetch() is not), so "no request went out" and "no violation" are separate checks.
//  - data: URLs are not reported as requests.
//  - Touch events arrive without touch emulation (pointerType "touch"); the page's
//    'ontouchstart' in window stays false.
class HeadlessChromium {
 public:
  static constexpr int kDefaultTimeoutMs = 30000;

  // Chromium on PATH (chromium, chromium-browser, google-chrome), or $TOVAK_CHROMIUM if set.
  static std::optional<std::string> FindChromium();

  // Starts the browser and attaches to its page. Throws BrowserError. The browser is killed when
  // the thread that made this ends, so make it on the thread that uses it.
  explicit HeadlessChromium(const std::string& executable,
                            const std::vector<std::string>& extraFlags = {});
  // Closes the browser, kills what is left of it and removes its profile.
  ~HeadlessChromium();
  HeadlessChromium(const HeadlessChromium&) = delete;
  HeadlessChromium& operator=(const HeadlessChromium&) = delete;

  // Loads a URL and waits for its load event. Throws BrowserError, also when the URL fails.
  void Navigate(const std::string& url, int timeoutMs = kDefaultTimeoutMs);

  // The expression's value (promises awaited), Undefined for undefined. Throws BrowserError when
  // it throws or rejects.
  QJsonValue Evaluate(const std::string& expression, int timeoutMs = kDefaultTimeoutMs);

  // Polls the expression (promises awaited) until it is truthy, taking a throw as falsy; fails
  // with what was waited for, and what it last threw, on timeout.
  ::testing::AssertionResult WaitFor(const std::string& expression, int timeoutMs);

  // Lets events arrive for a while, e.g. before checking that none were errors.
  void Pump(int ms);

  // A left click at the centre of the first element the selector matches, scrolled into view.
  void Click(const std::string& cssSelector);
  void ClickAt(double x, double y);

  // A key pressed and released: " ", "Enter", "Escape", "Backspace", "Tab", "Home", "End",
  // "PageUp", "PageDown", the arrows ("ArrowLeft"...), a letter or a digit.
  void PressKey(const std::string& key);

  // A finger on the element's centre: lifted again, or moved by (dx, dy) first.
  void Tap(const std::string& cssSelector);
  void Swipe(const std::string& cssSelector, double dx, double dy);

  // A DevTools command to the page, or to the browser itself; its result. Throws BrowserError.
  QJsonObject Command(const std::string& method, const QJsonObject& params = {},
                      int timeoutMs = kDefaultTimeoutMs, bool toPage = true);

  // Everything collected since the start.
  const std::vector<BrowserMessage>& Messages() const { return messages_; }
  const std::vector<std::string>& Exceptions() const { return exceptions_; }
  const std::vector<std::string>& Requests() const { return requests_; }

  // Console errors and assertions, log entries at level "error" (policy violations among them)
  // and uncaught exceptions, one line each.
  std::vector<std::string> Errors() const;
  // The requested URLs other than the given one (the page itself), data: and blob: URLs.
  std::vector<std::string> RequestsOtherThan(const std::string& pageUrl) const;

 private:
  void Launch(const std::string& executable, const std::vector<std::string>& extraFlags);
  void Attach();
  // Reads and handles messages until `done` holds or the deadline passes; whether it holds.
  bool ReadUntil(long long deadlineMs, const std::function<bool()>& done, const std::string& what);
  void Handle(const QJsonObject& message);
  void WriteMessage(const std::string& bytes, long long deadlineMs, const std::string& what);
  bool ReadSome(int waitMs, const std::string& what);
  [[noreturn]] void Died(const std::string& what);
  std::string StderrTail() const;
  void Stop();
  std::pair<double, double> CentreOf(const std::string& cssSelector);
  void Touch(const std::string& type, const std::vector<std::pair<double, double>>& points);

  std::filesystem::path dir_;  // the profile and the browser's stderr, removed at the end
  pid_t pid_ = -1;
  int toBrowser_ = -1;
  int fromBrowser_ = -1;
  std::string received_;
  int nextId_ = 1;
  int awaited_ = 0;  // the call whose reply is wanted
  std::optional<QJsonObject> reply_;
  std::string session_;
  std::set<std::string> loaded_;  // the loaders whose load event has come
  bool crashed_ = false;
  std::vector<BrowserMessage> messages_;
  std::vector<std::string> exceptions_;
  std::vector<std::string> requests_;
};

}  // namespace tovak::testing
