#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>

#include "builder/package_reader.h"
#include "support/full_disk.h"
#include "support/web_show_fixture.h"
#include "web/web_export.h"
#include "web/web_slideshow.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
  const size_t from = text.find(open);
  if (from == std::string::npos) return {};
  const size_t to = text.find(close, from + open.size());
  return to == std::string::npos ? std::string()
                                 : text.substr(from + open.size(), to - from - open.size());
}

QJsonObject PageData(const std::string& page) {
  const std::string json =
      Between(page, "<script type=\"application/json\" id=\"show-data\">", "</script>");
  return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
}

std::string Hash(const std::string& text) {
  return "'sha256-" +
         QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256)
             .toBase64()
             .toStdString() +
         "'";
}

size_t Count(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

TEST(WebPage, TextsStayTextAndOnlyThePagesOwnScriptAndStyleMayRun) {
  WebShow show;
  show.title = "<b>Trip</b> & 'co'";
  const QString message = "</script><script>alert(1)</script> {{DATA}} <img src=x onerror=1>";
  show.slides.push_back({{}, message, {}, TimeSlide(10)});
  show.links = {{"bad", "javascript:alert(1)"},
                {"web", "https://example.org/a?b=1"},
                {"mail", "mailto:gran@example.org"},
                {"file", "file:///etc/passwd"},
                {"<i>x</i>", "HTTP://EXAMPLE.ORG"}};
  const std::string page = RenderWebSlideshow(show);

  EXPECT_EQ(Count(page, "</script>"), 2u);
  EXPECT_EQ(Count(page, "<script"), 2u);
  EXPECT_NE(page.find("<title>&lt;b&gt;Trip&lt;/b&gt; &amp; &#39;co&#39;</title>"),
            std::string::npos);
  const QJsonObject data = PageData(page);
  EXPECT_EQ(data["title"].toString(), show.title);
  EXPECT_EQ(data["slides"][0]["message"].toString(), message);
  std::vector<std::string> urls;
  for (const QJsonValue link : data["links"].toArray())
    urls.push_back(link["url"].toString().toStdString());
  EXPECT_EQ(urls, (std::vector<std::string>{"", "https://example.org/a?b=1",
                                            "mailto:gran@example.org", "", "HTTP://EXAMPLE.ORG"}));

  // The policy names exactly the script and style the page holds, and nothing from elsewhere.
  const std::string script = Between(page, "<script>", "</script>");
  const std::string style = Between(page, "<style>", "</style>");
  const std::string policy = Between(page, "Content-Security-Policy\" content=\"", "\"");
  EXPECT_NE(policy.find("default-src 'none'; script-src " + Hash(script) + "; style-src " +
                        Hash(style) + "; img-src data:; media-src data:"),
            std::string::npos)
      << policy;
  for (const char* unsafe : {"eval(", "new Function", "innerHTML", "outerHTML", "document.write",
                             "insertAdjacentHTML", "unsafe-"})
    EXPECT_EQ(page.find(unsafe), std::string::npos) << unsafe;
}

TEST(WebPage, IsWrittenInPiecesThatAddUpToTheWholePage) {
  WebShow show;
  show.title = "Big";
  const std::vector<uint8_t> picture(1 << 20, 0xA5);
  const std::vector<uint8_t> voice(300000, 0x5A);
  show.slides = {{picture, "One <", voice, TimeSlide(5)}, {{}, "", {}, TimeSlide(0)}};
  show.links = {{"Site", "https://example.org/"}};
  std::string page;
  size_t largest = 0;
  WebPageWriter writer(show.title, show.texts, show.links, [&](std::string_view piece) {
    largest = std::max(largest, piece.size());
    page += piece;
  });
  writer.Begin();
  for (const WebSlide& slide : show.slides) writer.Slide(slide);
  writer.End();
  EXPECT_LT(largest, size_t(200000));  // no picture or voice is ever held as text whole
  EXPECT_EQ(page, RenderWebSlideshow(show));
  const QJsonObject data = PageData(page);
  EXPECT_EQ(QByteArray::fromBase64(data["slides"][0]["picture"].toString().mid(23).toLatin1()),
            QByteArray(reinterpret_cast<const char*>(picture.data()), qsizetype(picture.size())));
  EXPECT_EQ(data["slides"][0]["voice"].toString().size(), 23 + 400000);
  EXPECT_EQ(data["slides"][0]["message"].toString(), "One <");
  EXPECT_EQ(data["slides"][1]["picture"].toString(), "");
  EXPECT_EQ(data["links"][0]["url"].toString(), "https://example.org/");
}

TEST(WebExport, APackageBecomesOnePageWithItsOwnPicturesVoicesAndTiming) {
  testing::WebShowFixture fixture;
  const std::string package =
      fixture.Build({{"Hello Gran!\r\n", 2.0}, {"", 0}, {"A long day at the sea.", 1.5}});
  ASSERT_FALSE(package.empty()) << fixture.buildOutput;
  const std::string out = fixture.dir.File("Trip.html");
  const WebExportReport report = ExportWebSlideshow(package, out);
  EXPECT_EQ(report.pictures, 3);
  EXPECT_EQ(report.voices, 2);
  EXPECT_TRUE(report.warnings.empty());
  EXPECT_EQ(report.bytes, static_cast<int64_t>(fs::file_size(out)));

  const std::vector<uint8_t> bytes = testing::ReadBytes(out);
  const QJsonObject data = PageData(std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(data["title"].toString(), "Trip");
  const QJsonArray slides = data["slides"].toArray();
  ASSERT_EQ(slides.size(), 3);
  PackageReader reader;
  reader.Open(package);
  for (int i = 0; i < 3; ++i) {
    const QString picture = slides[i]["picture"].toString();
    ASSERT_TRUE(picture.startsWith("data:image/jpeg;base64,"));
    const QByteArray jpeg = QByteArray::fromBase64(picture.mid(23).toLatin1());
    EXPECT_EQ(std::vector<uint8_t>(jpeg.begin(), jpeg.end()), reader.Image(i)) << i;
    const size_t length = slides[i]["message"].toString().size();
    EXPECT_EQ(slides[i]["afterVoiceMs"].toInt(), TimeSlide(length).afterVoiceMs);
    EXPECT_EQ(slides[i]["withoutVoiceMs"].toInt(), TimeSlide(length).withoutVoiceMs);
  }
  EXPECT_EQ(slides[0]["message"].toString(), "Hello Gran!");
  EXPECT_TRUE(slides[0]["voice"].toString().startsWith("data:audio/mpeg;base64,"));
  EXPECT_EQ(slides[1]["voice"].toString(), "");

  // A page that cannot be written leaves nothing, and an old page stays whole.
  EXPECT_THROW(ExportWebSlideshow(package, fixture.dir.File("gone/Trip.html")), EWebExportError);
  fs::copy_file(package, fixture.dir.File("cut.exe"));
  fs::resize_file(fixture.dir.File("cut.exe"), fs::file_size(package) - 50);
  EXPECT_THROW(ExportWebSlideshow(fixture.dir.File("cut.exe"), out), EPackageError);
  EXPECT_EQ(testing::ReadBytes(out), bytes);
  {
    const testing::FullDisk full(bytes.size() / 2);  // the page breaks off while it is written
    EXPECT_THROW(ExportWebSlideshow(package, out), EWebExportError);
  }
  EXPECT_EQ(testing::ReadBytes(out), bytes);
  for (const fs::directory_entry& entry : fs::directory_iterator(fixture.dir.Path()))
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

// The command line writes the page under a name of its own until it is whole; the page is still
// titled (tab, Play screen, data) by the name it was asked for.
TEST(WebExport, TheCommandLineTitlesThePageByTheNameGiven) {
  testing::WebShowFixture fixture;
  const std::string package = fixture.Build({{"Hi", 0}});
  ASSERT_FALSE(package.empty()) << fixture.buildOutput;
  const testing::CommandResult run = testing::RunCommand(
      "cd " + testing::Quote(fixture.dir.Path().string()) + " && " + TOVAK_CLI_PATH +
      " export-html " + testing::Quote(package) + " Fest.html");
  ASSERT_EQ(run.status, 0) << run.output;
  const std::vector<uint8_t> bytes = testing::ReadBytes(fixture.dir.File("Fest.html"));
  const std::string page(bytes.begin(), bytes.end());
  EXPECT_NE(page.find("<title>Fest</title>"), std::string::npos);
  EXPECT_EQ(PageData(page)["title"].toString(), "Fest");
}

}  // namespace
}  // namespace tovak
