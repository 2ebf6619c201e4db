// A slideshow package as the player and the command line read it: the whole file, then every
// record, message, voice and the link menu.

#include <cstdint>
#include <string>
#include <vector>

#include "builder/package_reader.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = tovak::fuzz::ScratchFile("show.exe");
  tovak::fuzz::WriteInput(path, data, size);
  tovak::PackageReader reader;
  try {
    reader.Open(path);
  } catch (const tovak::EPackageError&) {
    return 0;
  }
  if (reader.PictureCount() < 1) tovak::fuzz::Fail("package: opened without pictures");
  for (int picture = 0; picture < reader.PictureCount(); ++picture) {
    try {
      if (reader.Image(picture).size() != size_t(reader.ImageRecord(picture).size)) {
        tovak::fuzz::Fail("package: an image record read short");
      }
      reader.MessageLines(picture);
      tovak::ExpandVoiceRecord(reader.VoiceContainer(picture));
    } catch (const tovak::EPackageError&) {
    }
  }
  try {
    reader.LinkMenu();
  } catch (const tovak::EPackageError&) {
  }
  return 0;
}
