#include "common/byte_order.h"
#include "components/picture_formats/picture_formats.h"
#include "components/picture_formats/qt_format.h"

namespace tovak {

namespace {

using namespace std::literals;

class Ico final : public QtFormat {
 public:
  Ico() : QtFormat(PictureFormat::Ico, "ICO", "ico", Pages::Counted) {}

  // Reserved word, type 1 (icon), and at least one image.
  bool Identify(Bytes head, std::string_view) const override {
    return HasBytes(head, 0, "\0\0\1\0"sv) && head.size() >= 6 && GetLe16(head.data() + 4) > 0;
  }
};

}  // namespace

const PictureDecoder& IcoFormat() {
  static const Ico decoder;
  return decoder;
}

}  // namespace tovak
