#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/tfm_plimo_main_screen.h"
#include "editor/working_folder.h"
#include "support/fake_wave_device.h"
#include "support/package_fixture.h"

namespace tovak::testing {

// The program's main window over a claimed working folder in a temporary program folder, with
// fake sound devices and the test's asker answering every question and dialog.
template <typename Asker>
class MainWindowFixture : public ::testing::Test, protected PackageFixture {
 protected:
  ~MainWindowFixture() override {
    window.reset();
    folder.reset();
  }

  // Opens the window afresh, as a new start of the program would.
  void Open() {
    window.reset();
    folder.reset();
    folder = std::make_unique<WorkingFolder>(paths.WorkFolder());
    ASSERT_TRUE(folder->Claim());
    window = std::make_unique<TfmPlimoMainScreen>(paths, *folder, mic, speaker, &asker);
    window->show();
  }

  FakeWaveIn mic;
  FakeWaveOut speaker;
  Asker asker;
  std::unique_ptr<WorkingFolder> folder;
  std::unique_ptr<TfmPlimoMainScreen> window;
};

}  // namespace tovak::testing
