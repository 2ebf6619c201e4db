// The editor's responsiveness with camera photos (4000 x 3000 JPEGs with sensor-like grain):
// from a click on an entry to its preview painted, and the import of 200 such photos with the
// header check of every one. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "components/jpeg_codec.h"
#include "components/picture_file.h"
#include "editor/editor_session.h"
#include "editor/ui/picture_view.h"
#include "editor/ui/preview_loader.h"
#include "support/fake_wave_device.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace {

using tovak::testing::TempDir;

std::vector<uint8_t> CameraPhoto(uint32_t seed) {
  return tovak::EncodeJpeg(tovak::testing::CameraLike(seed), 92);
}

struct Photos {
  TempDir dir;
  std::vector<std::string> paths;  // two different photos
  Photos() {
    for (uint32_t i = 0; i < 2; ++i) {
      paths.push_back(dir.File("photo" + std::to_string(i) + ".jpg"));
      tovak::testing::WriteBytes(paths.back(), CameraPhoto(i + 1));
    }
  }
};

const Photos& SamplePhotos() {
  static const Photos photos;
  return photos;
}

// Loads each photo in turn with load and paints it, as the editor does for a newly selected
// entry; repaint() paints at once.
template <typename Load>
void ClickThroughPhotos(benchmark::State& state, Load load) {
  const Photos& photos = SamplePhotos();
  tovak::PictureView view;
  view.resize(122, 82);
  view.show();
  size_t next = 0;
  for (auto _ : state) {
    view.SetPicture(load(photos.paths[next++ % photos.paths.size()], view));
    view.repaint();
  }
  state.counters["file_MB"] = double(std::filesystem::file_size(photos.paths[0])) / 1e6;
}

void BM_ClickToPreviewPainted(benchmark::State& state) {
  ClickThroughPhotos(state, [](const std::string& path, const tovak::PictureView& view) {
    return tovak::LoadPreviewImage(path, view.size(), view.devicePixelRatioF());
  });
}
BENCHMARK(BM_ClickToPreviewPainted)->Unit(benchmark::kMillisecond);

// The same through a full decode and a scale, for comparison.
void BM_ClickToPreviewPaintedFullDecode(benchmark::State& state) {
  ClickThroughPhotos(state, [](const std::string& path, const tovak::PictureView& view) {
    return tovak::LoadPicture(path).scaled(view.size(), Qt::KeepAspectRatio,
                                           Qt::SmoothTransformation);
  });
}
BENCHMARK(BM_ClickToPreviewPaintedFullDecode)->Unit(benchmark::kMillisecond);

class QuietAsker : public tovak::EditorAsker {
 public:
  bool AskYesNo(Kind, const std::string&) override { return true; }
  void Tell(Kind, const std::string&) override {}
};

// 200 distinct paths (links to the two photos), imported as the editor's Add button does.
void BM_Import200Photos(benchmark::State& state) {
  const Photos& photos = SamplePhotos();
  TempDir links;
  std::vector<std::string> paths;
  for (int i = 0; i < 200; ++i) {
    paths.push_back(links.File("p" + std::to_string(i) + ".jpg"));
    std::filesystem::create_symlink(photos.paths[i % 2], paths.back());
  }
  tovak::testing::FakeWaveIn mic;
  tovak::testing::FakeWaveOut speaker;
  QuietAsker asker;
  for (auto _ : state) {
    std::vector<std::string> pictures, messages, voices;
    tovak::EditorSession session(pictures, messages, voices, links.File("work"), mic, speaker,
                                 asker, [](int) {});
    session.Import(paths);
    if (pictures.size() != paths.size()) state.SkipWithError("photos were skipped");
  }
}
BENCHMARK(BM_Import200Photos)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
