#include "web/web_export.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <mutex>
#include <new>
#include <thread>

#include "builder/package_reader.h"
#include "common/atomic_file.h"
#include "player/slideshow_package.h"
#include "web/mp3_encoder.h"
#include "web/voice_queue.h"
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

WebExportReport Export(const std::string& packagePath, const std::string& outPath, int language,
                       const std::function<bool()>& stopped, const std::string& finalPath) {
  const auto checkpoint = [&] {
    if (stopped && stopped()) throw EWebExportError(outPath + ": stopped");
  };
  // The pictures go in as the package stores them, so the page shows exactly the JPEGs that
  // were built; messages and links come as the player reads them.
  SlideshowPackage package;
  package.Open(packagePath);
  std::vector<WebLink> links;
  for (const SlideshowPackage::Link& link : package.Links(language))
    links.push_back({link.caption, link.url});

  // The page is written as it is made, one slide at a time, so a show of any size needs the
  // memory of a few slides. Expanding and encoding the voices is most of the work: every core
  // takes voices in turn while the page is written in order. Only the reading of the package
  // is shared.
  const int count = package.Count();
  std::mutex reading;
  auto read = [&](auto what) {
    const std::lock_guard lock(reading);
    return what();
  };
  WebExportReport report;
  std::exception_ptr failure;
  std::string error;
  const bool written = WriteFileAtomically(
      outPath,
      [&](TFileStream& file) {
        int code = 0;
        try {
          VoiceQueue voices(
              count, std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8),
              [&](int index) {
                const std::vector<uint8_t> wav =
                    ExpandVoiceRecord(read([&] { return package.VoiceContainer(index); }));
                return wav.empty() ? std::vector<uint8_t>() : EncodeSpeechMp3(wav, stopped);
              });
          WebPageWriter page(
              QString::fromStdString(
                  std::filesystem::path(finalPath.empty() ? outPath : finalPath).stem().string()),
              TranslatedTexts(), std::move(links), [&](std::string_view piece) {
                if (!file.WriteAll(piece.data(), static_cast<int64_t>(piece.size()))) {
                  code = errno;
                  throw EWebExportError("the page could not be written");
                }
                report.bytes += static_cast<int64_t>(piece.size());
              });
          page.Begin();
          for (int index = 0; index < count; ++index) {
            checkpoint();
            WebSlide slide;
            slide.jpeg = read([&] { return package.StoredPicture(index); });
            slide.message = read([&] { return package.Message(index); });
            slide.timing = TimeSlide(static_cast<size_t>(slide.message.size()));
            VoiceQueue::Voice voice = voices.Take();
            checkpoint();
            slide.mp3 = std::move(voice.bytes);
            if (!slide.jpeg.empty()) ++report.pictures;
            if (!slide.mp3.empty()) ++report.voices;
            if (!voice.error.empty()) report.warnings.push_back(VoiceWarning(index, voice.error));
            page.Slide(slide);
          }
          page.End();
          checkpoint();
          return true;
        } catch (...) {
          // A short write keeps its reason; anything else is passed on once the temporary
          // file is gone.
          if (code == 0) failure = std::current_exception();
          errno = code;
          return false;
        }
      },
      &error);
  if (failure) std::rethrow_exception(failure);
  if (!written) throw EWebExportError(outPath + ": " + error);
  return report;
}

}  // namespace

WebExportReport ExportWebSlideshow(const std::string& packagePath, const std::string& outPath,
                                   int language, const std::function<bool()>& stopped,
                                   const std::string& finalPath) {
  // Running out of memory fails this page, not the program that asked for it.
  try {
    return Export(packagePath, outPath, language, stopped, finalPath);
  } catch (const std::bad_alloc&) {
    throw EWebExportError(outPath + ": not enough memory to make the page");
  }
}

}  // namespace tovak
