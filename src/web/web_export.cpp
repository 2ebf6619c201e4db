#include "web/web_export.h"

#include <filesystem>

#include "builder/package_reader.h"
#include "common/atomic_file.h"
#include "player/slideshow_package.h"
#include "web/mp3_encoder.h"
#include "web/web_slideshow.h"

namespace tovak {

WebExportReport ExportWebSlideshow(const std::string& packagePath, const std::string& outPath,
                                   int language, const std::function<void(int, int)>& progress) {
  // Messages, voices and links come as the player reads them; the pictures are copied as the
  // package stores them, so the page shows exactly the JPEGs that were built.
  SlideshowPackage package;
  package.Open(packagePath);
  PackageReader stored;
  stored.Open(packagePath);

  WebExportReport report;
  WebShow show;
  show.title = QString::fromStdString(std::filesystem::path(outPath).stem().string());
  const int count = package.Count();
  for (int index = 0; index < count; ++index) {
    WebSlide slide;
    slide.jpeg = stored.Image(index);
    slide.message = package.Message(index);
    slide.timing = TimeSlide(static_cast<size_t>(slide.message.size()));
    try {
      const std::vector<uint8_t> wav = package.ExpandVoice(index);
      if (!wav.empty()) slide.mp3 = EncodeSpeechMp3(wav);
    } catch (const Exception& e) {
      report.warnings.push_back("picture " + std::to_string(index + 1) +
                                ": its voice cannot be used (" + e.Message() +
                                "); the page shows it without a voice");
    }
    if (!slide.mp3.empty()) ++report.voices;
    if (!slide.jpeg.empty()) ++report.pictures;
    show.slides.push_back(std::move(slide));
    if (progress) progress(index + 1, count);
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
