#pragma once

#include <optional>

#include "components/picture_formats/picture_decoder.h"

namespace tovak {

// A format Qt has a reader for. GraphicsMagick, with the format's name as its coder, takes the
// files whose headers Qt's reader rejects.
class QtFormat : public PictureDecoder {
 public:
  enum class Pages { One, Counted };

  QtFormat(PictureFormat format, const char* name, const char* qtFormat, Pages pages)
      : PictureDecoder(format, name), qtFormat_(qtFormat), pages_(pages) {}

  void ReadInfo(PictureSource& source, PictureInfo& info,
                const KeepWaiting& keepWaiting) const override;
  void CheckDeclaredSize(Bytes data, const KeepWaiting& keepWaiting) const override;
  QImage Decode(Bytes data, const KeepWaiting& keepWaiting) const override;

 protected:
  // The colour depth the file itself declares, where its header says so plainly; otherwise
  // the depth of what Qt's reader would decode.
  virtual std::optional<int> DeclaredBits(Bytes /*head*/) const { return std::nullopt; }

 private:
  const char* qtFormat_;
  Pages pages_;
};

}  // namespace tovak
