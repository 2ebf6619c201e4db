#include "player/slideshow_package.h"

#include "components/jpeg_codec.h"
#include "components/picture_error.h"

namespace tovak {

QImage SlideshowPackage::Picture(int index) {
  try {
    const std::vector<uint8_t> jpeg = content_.StoredPicture(index);
    if (jpeg.empty()) return {};
    return DecodeJpeg(jpeg.data(), jpeg.size());
  } catch (const Exception&) {
    return {};
  }
}

std::vector<SlideshowPackage::Link> SlideshowPackage::Links(int language) {
  std::vector<Link> links;
  for (const SlideshowContent::Link& link : content_.Links(language)) {
    links.push_back({QString::fromStdU16String(link.caption), QString::fromStdU16String(link.url)});
  }
  return links;
}

}  // namespace tovak
