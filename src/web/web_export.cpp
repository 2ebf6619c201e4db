#include "web/web_export.h"

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include "builder/package_reader.h"
#include "common/atomic_file.h"
#include "player/slideshow_package.h"
#include "web/mp3_encoder.h"
#include "web/web_slideshow.h"

namespace tovak {

namespace {

std::string VoiceWarning(int index, const std::string& why) {
  return "picture " + std::to_string(index + 1) + ": its voice cannot be used (" + why +
         "); the page shows it without a voice";
}

// The page's words in the program's language. The program has its translator installed; the
// command-line tool has none and writes English.
WebTexts TranslatedTexts() {
  WebTexts texts;
  texts.language = QCoreApplication::translate(
      "tovak::WebSlideshow", "en", "the language code of this translation, for web pages");
  texts.slideshow = QCoreApplication::translate("tovak::WebSlideshow", "Slideshow");
  texts.links = QCoreApplication::translate("tovak::WebSlideshow", "Links");
  texts.play = QCoreApplication::translate("tovak::WebSlideshow", "Play");
  texts.loading = QCoreApplication::translate("tovak::WebSlideshow", "Loading…");
  texts.keys = QCoreApplication::translate(
      "tovak::WebSlideshow",
      "Space or → next · ← back · P pause · F full screen · tap or swipe on a touch screen");
  texts.end = QCoreApplication::translate("tovak::WebSlideshow", "End of the slideshow");
  texts.theEnd = QCoreApplication::translate("tovak::WebSlideshow", "The end");
  texts.playAgain = QCoreApplication::translate("tovak::WebSlideshow", "Play again");
  texts.onePicture = QCoreApplication::translate("tovak::WebSlideshow", "1 picture");
  texts.pictures = QCoreApplication::translate("tovak::WebSlideshow", "%1 pictures");
  texts.pictureOf = QCoreApplication::translate("tovak::WebSlideshow", "Picture %1 of %2");
  texts.paused = QCoreApplication::translate("tovak::WebSlideshow", "paused");
  return texts;
}

}  // namespace

WebExportReport ExportWebSlideshow(const std::string& packagePath, const std::string& outPath,
                                   int language) {
  // The pictures go in as the package stores them, so the page shows exactly the JPEGs that
  // were built; messages and links come as the player reads them.
  SlideshowPackage package;
  package.Open(packagePath);

  WebExportReport report;
  WebShow show;
  show.title = QString::fromStdString(std::filesystem::path(outPath).stem().string());
  show.texts = TranslatedTexts();
  const int count = package.Count();
  for (int index = 0; index < count; ++index) {
    WebSlide slide;
    slide.jpeg = package.StoredPicture(index);
    slide.message = package.Message(index);
    slide.timing = TimeSlide(static_cast<size_t>(slide.message.size()));
    if (!slide.jpeg.empty()) ++report.pictures;
    show.slides.push_back(std::move(slide));
  }
  // Expanding and encoding the voices is most of the work: every core takes voices in turn.
  // Only the reading of the file is shared, so no more than one voice per core is ever held
  // expanded.
  std::vector<std::string> failures(static_cast<size_t>(count));
  std::atomic<int> next{0};
  std::mutex reading;
  auto encode = [&] {
    for (int index; (index = next++) < count;) {
      try {
        std::vector<uint8_t> container;
        {
          const std::lock_guard lock(reading);
          container = package.VoiceContainer(index);
        }
        const std::vector<uint8_t> wav = ExpandVoiceRecord(container);
        if (!wav.empty()) show.slides[index].mp3 = EncodeSpeechMp3(wav);
      } catch (const Exception& e) {
        failures[index] = e.Message();
      }
    }
  };
  std::vector<std::jthread> workers;
  const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
  for (int i = 1; i < std::min(threads, count); ++i) workers.emplace_back(encode);
  encode();
  workers.clear();
  for (int index = 0; index < count; ++index) {
    if (!failures[index].empty()) report.warnings.push_back(VoiceWarning(index, failures[index]));
    if (!show.slides[index].mp3.empty()) ++report.voices;
  }
  for (const SlideshowPackage::Link& link : package.Links(language))
    show.links.push_back({link.caption, link.url});

  const std::string page = RenderWebSlideshow(show);
  std::string error;
  if (!WriteFileAtomically(outPath, page.data(), static_cast<int64_t>(page.size()), &error))
    throw EWebExportError(outPath + ": " + error);
  report.bytes = static_cast<int64_t>(page.size());
  return report;
}

}  // namespace tovak
