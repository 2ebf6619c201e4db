// The web slideshow played in a real browser: it loads from a file with nothing fetched, knows
// every picture and voice, shows messages as text, and plays and moves like the player.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <memory>
#include <sstream>

#include "audio/wav_reader.h"
#include "builder/package_reader.h"
#include "components/jpeg_codec.h"
#include "player/slideshow_package.h"
#include "support/headless_chromium.h"
#include "support/web_show_fixture.h"
#include "web/web_export.h"
#include "web/web_slideshow.h"

namespace tovak {
namespace {

using testing::HeadlessChromium;

const std::string kMarkup = "<script>window.hacked = 1</script><b>Hi</b> & <img src=x>";

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

class WebSlideshow : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto chromium = HeadlessChromium::FindChromium();
    if (!chromium) GTEST_SKIP() << "no Chromium found: install chromium or set TOVAK_CHROMIUM";
    browser = std::make_unique<HeadlessChromium>(*chromium);
  }

  // Exports a show and opens its page; speed runs the show's timing that many times faster.
  void Open(const std::vector<testing::WebShowFixture::Slide>& slides, int speed) {
    package = fixture.Build(slides);
    ASSERT_FALSE(package.empty()) << fixture.buildOutput;
    const std::string page = fixture.dir.File("show.html");
    ExportWebSlideshow(package, page);
    url = "file://" + page + "?speed=" + std::to_string(speed);
    browser->Navigate(url);
    ASSERT_TRUE(browser->WaitFor("document.body.dataset.state === 'ready'", 20000));
  }
  std::string Body(const std::string& name) {
    return browser->Evaluate("document.body.dataset." + name).toString().toStdString();
  }
  void Key(const std::string& key, const std::string& slide) {
    browser->PressKey(key);
    EXPECT_EQ(Body("slide"), slide) << "after " << key;
  }

  testing::WebShowFixture fixture;
  std::unique_ptr<HeadlessChromium> browser;
  std::string package, url;
};

TEST_F(WebSlideshow, PlaysToTheEndWithEveryPictureVoiceAndMessage) {
  Open(
      {{kMarkup, 2.0, 800, 600}, {"Second\r\nline two", 0, 600, 800}, {"", 1.3}, {"€ – „ok“", 0.6}},
      20);
  EXPECT_EQ(Body("slides"), "4");

  // Each voice is as long as the recording it came from.
  SlideshowPackage show;
  show.Open(package);
  std::stringstream voices(Body("voices"));
  for (int i = 0; i < 4; ++i) {
    std::string length;
    std::getline(voices, length, ',');
    const std::vector<uint8_t> wav = show.ExpandVoice(i);
    if (wav.empty()) {
      EXPECT_EQ(length, "") << i;
    } else {
      EXPECT_NEAR(std::stod(length), ReadWavInfo(wav).Seconds(), 0.1) << i;
    }
  }
  // Each picture decodes at the size it is stored in.
  const QJsonArray sizes =
      browser
          ->Evaluate(
              "Promise.all(JSON.parse(document.getElementById('show-data').textContent).slides"
              ".map((s) => { const i = new Image(); i.src = s.picture;"
              " return i.decode().then(() => i.naturalWidth + 'x' + i.naturalHeight); }))")
          .toArray();
  PackageReader reader;
  reader.Open(package);
  ASSERT_EQ(sizes.size(), 4);
  for (int i = 0; i < 4; ++i) {
    const std::vector<uint8_t> jpeg = reader.Image(i);
    const JpegHeader header = ReadJpegHeader(jpeg.data(), jpeg.size());
    EXPECT_EQ(sizes[i].toString().toStdString(),
              std::to_string(header.width) + "x" + std::to_string(header.height));
  }

  browser->Evaluate(
      "window.seen = []; new MutationObserver(() => seen.push(document.body.dataset.slide))"
      ".observe(document.body, {attributeFilter: ['data-slide']});"
      "window.heard = []; const play = HTMLMediaElement.prototype.play;"
      "HTMLMediaElement.prototype.play = function () {"
      "  this.addEventListener('ended', () => heard.push(document.body.dataset.slide + ':' +"
      "    this.duration.toFixed(1)), {once: true});"
      "  return play.call(this); }");
  browser->Click("#play");
  EXPECT_EQ(Body("state"), "playing");
  // Markup in a message is shown as the characters it is made of.
  EXPECT_EQ(browser->Evaluate("caption.textContent").toString().toStdString(), kMarkup);
  EXPECT_EQ(browser->Evaluate("caption.children.length").toInt(-1), 0);
  EXPECT_TRUE(browser->Evaluate("window.hacked").isUndefined());
  EXPECT_EQ(browser->Evaluate("document.querySelector('#picture-box img').naturalWidth").toInt(),
            ReadJpegHeader(reader.Image(0).data(), reader.Image(0).size()).width);

  ASSERT_TRUE(browser->WaitFor("document.body.dataset.state === 'ended'", 20000));
  EXPECT_EQ(browser->Evaluate("seen.join()").toString(), "1,2,3,4");
  // Each voice was heard to its end on its own picture.
  EXPECT_EQ(browser->Evaluate("heard.join()").toString(), "1:2.0,3:1.3,4:0.6");
  EXPECT_EQ(browser->Evaluate("document.activeElement.id").toString(), "play-again");
  browser->Click("#play-again");
  EXPECT_EQ(Body("state"), "playing");
  EXPECT_EQ(Body("slide"), "1");

  EXPECT_EQ(Join(browser->Errors()), "");
  EXPECT_EQ(Join(browser->RequestsOtherThan(url)), "");
}

TEST_F(WebSlideshow, KeysAndTouchMoveTheShowAsThePlayerDoes) {
  Open({{"one"}, {"two"}, {"three"}, {"four"}}, 1);
  browser->PressKey("Enter");  // the Play button has the focus
  EXPECT_EQ(Body("state"), "playing");
  Key("ArrowRight", "2");
  EXPECT_EQ(browser->Evaluate("position.textContent").toString(), "2 / 4");
  Key(" ", "3");
  Key("ArrowLeft", "2");
  Key("Backspace", "1");
  Key("End", "4");
  Key("Home", "1");
  browser->PressKey("p");
  EXPECT_EQ(Body("state"), "paused");
  browser->PressKey("p");
  EXPECT_EQ(Body("state"), "playing");
  browser->Swipe("#stage", -200, 0);
  EXPECT_EQ(Body("slide"), "2");
  browser->Swipe("#stage", 200, 0);
  EXPECT_EQ(Body("slide"), "1");
  browser->Tap("#stage");
  EXPECT_EQ(Body("slide"), "2");
  browser->Click("#stage");
  EXPECT_EQ(Body("slide"), "3");
  browser->PressKey("Escape");
  EXPECT_EQ(Body("state"), "ended");
  Key("ArrowLeft", "4");
  EXPECT_EQ(Body("state"), "playing");
  EXPECT_EQ(Join(browser->Errors()), "");
}

// A show of many pictures holds only the few around the one shown; a message too long for its
// band ends in "…" with a mark that there is more, and opens whole to be read.
TEST_F(WebSlideshow, HoldsAFewPicturesAndShowsThatALongMessageGoesOn) {
  // Counts the pictures given to images, from before the page's own script runs.
  browser->Command(
      "Page.addScriptToEvaluateOnNewDocument",
      {{"source",
        "window.given = []; const src = Object.getOwnPropertyDescriptor("
        "HTMLImageElement.prototype, 'src'); Object.defineProperty(HTMLImageElement.prototype,"
        " 'src', {get: src.get, configurable: true, set(value) {"
        " if (String(value).startsWith('data:image')) given.push(this);"
        " src.set.call(this, value); }})"}});
  std::string message;
  for (int i = 1; i <= 40; ++i) message += "Line " + std::to_string(i) + " of the day\n";
  message.pop_back();
  std::vector<testing::WebShowFixture::Slide> slides(12, {"Hi"});
  slides[1].message = message;
  slides[2].message = "\n \n";
  Open(slides, 1);
  const std::string held = "given.filter((image) => image.getAttribute('src')).length";
  EXPECT_LE(browser->Evaluate(held).toInt(), 4);
  browser->Click("#play");
  Key("ArrowRight", "2");
  EXPECT_EQ(browser->Evaluate("caption.textContent").toString().toStdString(), message);
  EXPECT_EQ(browser->Evaluate("band.className").toString().toStdString(), "cut");
  // Cut by whole lines, the last of them ending in "…", with the mark in view.
  EXPECT_EQ(browser->Evaluate("getComputedStyle(caption).webkitLineClamp").toString(),
            browser->Evaluate("caption.style.getPropertyValue('--lines')").toString());
  EXPECT_GT(browser->Evaluate("caption.scrollHeight - caption.clientHeight").toInt(), 0);
  EXPECT_EQ(browser->Evaluate("getComputedStyle(more).display").toString(), "block");
  browser->PressKey("ArrowDown");
  EXPECT_TRUE(browser->Evaluate("band.classList.contains('open')").toBool());
  EXPECT_EQ(Body("state"), "paused");
  browser->PressKey("ArrowDown");
  EXPECT_GT(browser->Evaluate("caption.scrollTop").toInt(), 0);
  browser->PressKey("Escape");
  EXPECT_EQ(Body("state"), "playing");
  browser->Tap("#caption");  // on a phone a tap opens it, and the next tap closes it
  EXPECT_TRUE(browser->Evaluate("band.classList.contains('open')").toBool());
  browser->Tap("#caption");
  EXPECT_EQ(Body("state"), "playing");
  Key("ArrowRight", "3");
  EXPECT_EQ(browser->Evaluate("band.hidden").toBool(), true);  // blank lines draw no band
  for (int i = 0; i < 8; ++i) browser->PressKey("ArrowRight");
  EXPECT_EQ(Body("slide"), "11");
  EXPECT_LE(browser->Evaluate(held).toInt(), 4);
  EXPECT_TRUE(browser->Evaluate("document.querySelector('#picture-box img').complete").toBool());
  EXPECT_EQ(Join(browser->Errors()), "");
}

TEST_F(WebSlideshow, OnlyWebAndMailAddressesBecomeLinks) {
  WebShow show;
  show.title = "Links";
  show.slides.push_back({{}, "", {}, TimeSlide(0)});
  show.links = {{"Our <b>site</b>", "https://example.org/"},
                {"Run me", "javascript:window.hacked=1"},
                {"Write", "mailto:gran@example.org"}};
  const std::string page = fixture.dir.File("links.html");
  testing::WriteBytes(page, [&] {
    const std::string text = RenderWebSlideshow(show);
    return std::vector<uint8_t>(text.begin(), text.end());
  }());
  url = "file://" + page;
  browser->Navigate(url);
  ASSERT_TRUE(browser->WaitFor("document.body.dataset.state === 'ready'", 20000));
  browser->Click("#play");
  browser->Click("#links-button");
  EXPECT_EQ(browser
                ->Evaluate("[...document.querySelectorAll('#links-menu li')]"
                           ".map((li) => li.firstChild.tagName + ' ' + li.textContent).join('|')")
                .toString(),
            "A Our <b>site</b>|SPAN Run me|A Write");
  EXPECT_EQ(browser->Evaluate("document.activeElement.href").toString(), "https://example.org/");
  EXPECT_EQ(Join(browser->Errors()), "");
}

}  // namespace
}  // namespace tovak
