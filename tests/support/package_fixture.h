#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/paths.h"
#include "components/jpeg_codec.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tovak::testing {

// A program folder with a stand-in engine, a settings folder and a few pictures, all in a
// temporary folder.
class PackageFixture {
 public:
  PackageFixture() : paths(dir.File("program"), dir.File("settings")) {
    std::filesystem::create_directories(dir.File("program"));
    engine = std::vector<uint8_t>(1000, 0x90);
    engine[0] = 0x7F;
    WriteBytes(paths.EngineFile(), engine);
    std::filesystem::permissions(paths.EngineFile(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
  }

  std::string Picture(const std::string& name, int width = 64, int height = 48) {
    const std::string path = dir.File(name);
    WriteBytes(path, EncodeJpeg(PhotoLike(width, height), 85));
    return path;
  }

  std::string Text(const std::string& name, const std::string& text) {
    const std::string path = dir.File(name);
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    return path;
  }

  TempDir dir;
  Paths paths;
  std::vector<uint8_t> engine;
};

}  // namespace tovak::testing
