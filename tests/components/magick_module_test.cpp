#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "components/magick_decoder.h"
#include "components/picture_error.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

std::string FailureOf(const std::string& path) {
  try {
    CheckMagickModule(path);
  } catch (const EPictureError& e) {
    return e.what();
  }
  return "";
}

TEST(MagickModule, MissingOrForeignModulesAreClearErrors) {
  EXPECT_EQ(FailureOf(TOVAK_MAGICK_MODULE_PATH), "");

  const std::string missing = FailureOf("/nonexistent/libtovak_magick.so");
  EXPECT_NE(missing.find("picture module cannot be loaded"), std::string::npos) << missing;

  // A library that is not the module: the C library itself.
  Dl_info info;
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&strlen), &info), 0);
  const std::string foreign = FailureOf(info.dli_fname);
  EXPECT_NE(foreign.find("not this program's picture module"), std::string::npos) << foreign;

  testing::TempDir dir;
  std::ofstream(dir.File("libtovak_magick.so")) << "not a library\n";
  EXPECT_NE(FailureOf(dir.File("libtovak_magick.so")), "");
}

}  // namespace
}  // namespace tovak
