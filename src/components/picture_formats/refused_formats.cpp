#include <stdexcept>

#include "components/picture_error.h"
#include "components/picture_formats/picture_formats.h"

namespace tovak {

namespace {

using namespace std::literals;

class Refused final : public PictureDecoder {
 public:
  // Told by the content when signature is given, otherwise by the name.
  Refused(const char* name, bool (*signature)(Bytes))
      : PictureDecoder(PictureFormat::Other, name), signature_(signature) {}

  bool Identify(Bytes head, std::string_view extension) const override {
    if (signature_) return signature_(head);
    return extension.size() > 1 && extension.substr(1) == Name();
  }

  void ReadInfo(PictureSource&, PictureInfo&, const KeepWaiting&) const override { Refuse(); }
  void CheckDeclaredSize(Bytes, const KeepWaiting&) const override { Refuse(); }
  QImage Decode(Bytes, const KeepWaiting&) const override { Refuse(); }

 private:
  [[noreturn]] void Refuse() const {
    throw EPictureError("pictures of this kind ("s + Name() + ") cannot be read");
  }

  bool (*signature_)(Bytes);
};

bool IsEnhancedMetafile(Bytes d) {
  return HasBytes(d, 0, "\x01\0\0\0"sv) && HasBytes(d, 40, " EMF");
}

}  // namespace

const PictureDecoder& EnhancedMetafileFormat() {
  static const Refused decoder("EMF", IsEnhancedMetafile);
  return decoder;
}

const PictureDecoder& RefusedByName(std::string_view extension) {
  static const Refused decoders[] = {
      {"CMS", nullptr}, {"SCM", nullptr}, {"CMP", nullptr}, {"EMF", nullptr}};
  for (const Refused& decoder : decoders) {
    if (decoder.Identify({}, extension)) return decoder;
  }
  throw std::logic_error("no refused kind is called " + std::string(extension));
}

}  // namespace tovak
