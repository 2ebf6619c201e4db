#include "support/headless_chromium.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tovak::testing {
namespace {

// The page's only script runs under a policy that allows nothing else: no other script, no
// connection, images and sounds only from data: URIs.
std::string LockedPage(const std::string& body, const std::string& script) {
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(script), QCryptographicHash::Sha256);
  return "<!doctype html><html><head><meta charset=\"utf-8\">"
         "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
         "script-src 'sha256-" +
         hash.toBase64().toStdString() +
         "'; img-src data:; media-src data:; style-src 'unsafe-inline'\">"
         "</head><body style=\"margin:0\">" +
         body + "<script>" + script + "</script></body></html>";
}

// Half a second of a 440 Hz tone, 16-bit mono at 8 kHz, as a WAV data URI.
std::string ToneDataUri() {
  constexpr uint32_t kRate = 8000, kSamples = kRate / 2;
  std::vector<uint8_t> wav;
  auto put = [&wav](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) wav.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  auto tag = [&wav](const char* text) { wav.insert(wav.end(), text, text + 4); };
  tag("RIFF");
  put(36 + kSamples * 2, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(kRate, 4);
  put(kRate * 2, 4);
  put(2, 2);
  put(16, 2);
  tag("data");
  put(kSamples * 2, 4);
  for (uint32_t i = 0; i < kSamples; ++i)
    put(static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 2 * M_PI * 440 / kRate))),
        2);
  const QByteArray bytes(reinterpret_cast<const char*>(wav.data()),
                         static_cast<qsizetype>(wav.size()));
  return "data:audio/wav;base64," + bytes.toBase64().toStdString();
}

class HeadlessChromiumTest : public ::testing::Test {
 protected:
  void SetUp() override {
    executable_ = HeadlessChromium::FindChromium();
    if (!executable_) GTEST_SKIP() << "no Chromium found: install chromium or set TOVAK_CHROMIUM";
    browser = std::make_unique<HeadlessChromium>(*executable_);
  }

  // Writes the page to a file and loads it; its file: URL.
  std::string Open(const std::string& html) {
    const std::string path = dir.File("page.html");
    std::ofstream(path) << html;
    const std::string url = "file://" + path;
    browser->Navigate(url);
    return url;
  }

  TempDir dir;
  std::optional<std::string> executable_;
  std::unique_ptr<HeadlessChromium> browser;
};

TEST_F(HeadlessChromiumTest, ReportsPolicyViolationsConsoleErrorsAndUncaughtExceptions) {
  const std::string url = Open(LockedPage(
      "<img id=\"dot\" src=\"data:image/gif;base64,R0lGODlhAQABAAAAACw=\">", "window.ran = 1;"));
  EXPECT_EQ(browser->Evaluate("window.ran").toInt(), 1);
  EXPECT_EQ(browser->Errors(), std::vector<std::string>{});
  EXPECT_EQ(browser->RequestsOtherThan(url), std::vector<std::string>{});

  EXPECT_EQ(browser
                ->Evaluate("fetch('http://127.0.0.1:9/voice.mp3').then(() => 'fetched', "
                           "e => 'refused')")
                .toString(),
            "refused");
  browser->Evaluate(
      "console.error('the', 2, 'voices'); setTimeout(() => { throw new "
      "Error('late'); })");
  ASSERT_TRUE(browser->WaitFor("new Promise(r => setTimeout(() => r(true), 50))", 5000));

  const std::vector<std::string> errors = browser->Errors();
  auto mentions = [&errors](const std::string& text) {
    for (const std::string& e : errors)
      if (e.find(text) != std::string::npos) return true;
    return false;
  };
  EXPECT_TRUE(mentions("security error: Connecting to 'http://127.0.0.1:9/voice.mp3' violates"))
      << ::testing::PrintToString(errors);
  EXPECT_TRUE(mentions("console error: the 2 voices")) << ::testing::PrintToString(errors);
  EXPECT_TRUE(mentions("uncaught Error: late")) << ::testing::PrintToString(errors);
}

TEST_F(HeadlessChromiumTest, AClickLetsAudioPlayToItsEndInRealTime) {
  Open(
      LockedPage("<button id=\"play\" style=\"width:200px;height:80px\">Play</button><audio "
                 "id=\"voice\" src=\"" +
                     ToneDataUri() + "\"></audio>",
                 "const voice = document.getElementById('voice');"
                 "voice.onended = () => { window.took = performance.now() - window.started; };"
                 "document.getElementById('play').onclick = () => {"
                 "  window.started = performance.now(); voice.play(); };"));
  // Without a gesture the browser keeps its autoplay rule, as it does for a person.
  EXPECT_EQ(browser->Evaluate("voice.play().then(() => 'played', e => e.name)").toString(),
            "NotAllowedError");

  browser->Click("#play");
  ASSERT_TRUE(browser->WaitFor("window.took !== undefined", 20000));
  EXPECT_DOUBLE_EQ(browser->Evaluate("voice.duration").toDouble(), 0.5);
  EXPECT_GE(browser->Evaluate("window.took").toDouble(), 450);
  EXPECT_EQ(browser->Errors(), std::vector<std::string>{});
}

TEST_F(HeadlessChromiumTest, KeysAndTouchesReachThePageAsAPersonsWould) {
  Open(LockedPage("<div id=\"pad\" style=\"width:300px;height:200px\"></div>",
                  "window.seen = [];"
                  "addEventListener('keydown', e => seen.push(e.key + '/' + e.code));"
                  "const pad = document.getElementById('pad');"
                  "pad.addEventListener('touchstart', e => seen.push('start'));"
                  "pad.addEventListener('touchend', e => seen.push('end ' + "
                  "Math.round(e.changedTouches[0].clientX)));"));
  for (const char* key :
       {" ", "ArrowRight", "ArrowLeft", "Backspace", "p", "Home", "End", "Escape", "7"})
    browser->PressKey(key);
  EXPECT_TRUE(browser->Evaluate("navigator.userActivation.hasBeenActive").toBool());
  EXPECT_THROW(browser->PressKey("Hyper"), BrowserError);

  browser->Tap("#pad");
  browser->Swipe("#pad", -100, 0);
  ASSERT_TRUE(browser->WaitFor("seen.length == 13", 5000));
  EXPECT_EQ(browser->Evaluate("seen.join()").toString().toStdString(),
            " /Space,ArrowRight/ArrowRight,ArrowLeft/ArrowLeft,Backspace/Backspace,p/KeyP,"
            "Home/Home,End/End,Escape/Escape,7/Digit7,start,end 150,start,end 50");
}

TEST_F(HeadlessChromiumTest, FailuresSayWhatWasWaitedForInsteadOfHanging) {
  Open(LockedPage("", ""));
  const ::testing::AssertionResult waited = browser->WaitFor("window.app.ready", 200);
  EXPECT_FALSE(waited);
  EXPECT_STREQ(waited.message(),
               "timed out after 200 ms waiting for `window.app.ready`; it last threw TypeError: "
               "Cannot read properties of undefined (reading 'ready')");
  EXPECT_THROW(browser->Evaluate("Promise.reject(new Error('no'))"), BrowserError);
  EXPECT_THROW(browser->Click("#missing"), BrowserError);
  EXPECT_THROW(browser->Navigate("file://" + dir.File("missing.html")), BrowserError);

  // A page or a whole browser that ends under a command is reported, not waited for.
  try {
    browser->Command("Page.crash", {}, 20000);
    FAIL() << "the page did not crash";
  } catch (const BrowserError& e) {
    EXPECT_STREQ(e.what(), "the page crashed while waiting for the reply to Page.crash");
  }
  try {
    browser->Command("Browser.crash", {}, 20000, false);
    FAIL() << "the browser did not crash";
  } catch (const BrowserError& e) {
    EXPECT_NE(std::string(e.what()).find("while waiting for the reply to Browser.crash"),
              std::string::npos)
        << e.what();
  }
  browser.reset();

  try {
    HeadlessChromium missing(dir.File("no-such-browser"));
    FAIL() << "a browser that cannot start was taken as started";
  } catch (const BrowserError& e) {
    EXPECT_NE(std::string(e.what()).find("exited with status 127"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace tovak::testing
