#include "app/result_actions.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <QCoreApplication>
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <iterator>
#include <new>

#include "app/desktop_services.h"
#include "app/zip_archive.h"
#include "common/paths.h"
#include "support/temp_dir.h"

namespace tovak {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;
using Args = std::vector<std::string>;

struct FakeState : ResultState {
  std::string OutputFile() const override { return output; }
  std::string SlideshowPath() const override { return path; }
  bool SlideshowSaved() const override { return saved; }
  void MarkSaved(const std::string& p) override { path = p, saved = true; }
  bool Building() const override { return building; }
  bool Outdated() const override { return outdated; }
  std::string output, path;
  bool saved = false, building = false, outdated = false;
};

struct FakeAsker : ResultAsker {
  bool AskYesNo(const std::string& text) override {
    asked.push_back(text);
    const bool yes = answers.empty() || answers.front();
    if (!answers.empty()) answers.pop_front();
    return yes;
  }
  void Tell(Kind, const std::string& text) override { told.push_back(text); }
  void Report(const std::string& text) override { reported.push_back(text); }
  bool AskSaveName(std::string& name, int& filter) override {
    ++nameQuestions;
    name = saveName, filter = saveFilter;
    return true;
  }
  // The work runs here and now; its reports are noted as "title: text percent%", and the
  // answer turns to stop once stopAfter reports were made.
  void RunWithProgress(const std::string& title, const Work& work) override {
    work([&](const std::string& text, int percent) {
      reports.push_back(title + ": " + text + " " + std::to_string(percent) + "%");
      return static_cast<int>(reports.size()) < stopAfter;
    });
  }
  std::deque<bool> answers;
  Args asked, told, reports, reported;
  std::string saveName;
  int saveFilter = 0, nameQuestions = 0, stopAfter = 1000;
};

// Notes every call as "what path" or "run program args...".
struct FakeDesktop : ResultDesktop {
  bool StartDetached(const std::string& p, const Args& args) override {
    std::string call = "start " + p;
    for (const std::string& arg : args) call += " " + arg;
    return Note(call);
  }
  bool OpenWithDesktop(const std::string& p) override { return Note("open " + p) && opens; }
  bool ShowInFileManager(const std::string& p) override { return Note("show " + p) && shows; }
  bool SendMail(const std::string& p) override { return Note("mail " + p) && mailWorks; }
  std::optional<int> RunAndWait(const std::string& program, const Args& args) override {
    std::string call = "run " + program;
    for (const std::string& arg : args) call += " " + arg;
    Note(call);
    if (onRun) onRun(args);
    if (outOfMemory) throw std::bad_alloc();
    return 0;
  }
  bool Note(const std::string& call) {
    calls.push_back(call);
    return true;
  }
  Args calls;
  std::function<void(const Args&)> onRun;
  bool mailWorks = true, outOfMemory = false, opens = true, shows = true;
};

// The smallest whole slideshow: an engine, one picture with an empty voice, message and link
// menu, the index table and the trailer.
std::vector<uint8_t> SmallPackage(uint8_t mark) {
  std::vector<uint8_t> bytes = {'E', 'L', 'F', mark, 2, 3, 0, 4, 0xFF, 0xD8, 0xFF, 0xD9};
  for (const uint32_t value : {8u, 4u, 12u, 0u, 12u, 0u, 12u, 0u, 0u, 1u, 3u, 1u})
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(value >> shift));
  return bytes;
}
const std::vector<uint8_t> kPackage = SmallPackage(1);
const std::vector<uint8_t> kDamaged = {'E', 'L', 'F', 1, 2, 3, 0, 4};
const std::vector<uint8_t> kOld = {'o', 'l', 'd'};

// "name mode" of each entry, with its bytes compared to kPackage.
Args ZipEntries(const std::string& path) {
  Args entries;
  zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, nullptr);
  if (!zip) return entries;
  for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
    std::vector<uint8_t> bytes(64);
    zip_file_t* file = zip_fopen_index(zip, i, 0);
    bytes.resize(static_cast<size_t>(zip_fread(file, bytes.data(), bytes.size())));
    zip_fclose(file);
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    zip_file_get_external_attributes(zip, i, 0, &system, &attributes);
    char mode[8];
    snprintf(mode, sizeof mode, "%o", system == ZIP_OPSYS_UNIX ? (attributes >> 16) & 0777 : 0);
    entries.push_back(std::string(zip_get_name(zip, i, 0)) + " " + mode +
                      (bytes == kPackage ? "" : " (other bytes)"));
  }
  zip_discard(zip);
  return entries;
}

class ResultActionsTest : public ::testing::Test {
 protected:
  ResultActionsTest() : paths_(dir_.File("prog"), dir_.File("settings")) {
    fs::create_directories(paths_.WorkFolder());
    state_.output = state_.path = paths_.OutputFile();
    WriteBytes(state_.output, kPackage);
    fs::permissions(state_.output, fs::perms(0755));
  }
  std::string At(const std::string& name) const { return dir_.File(name); }

  testing::TempDir dir_;
  Paths paths_;
  FakeState state_;
  FakeAsker asker_;
  FakeDesktop desktop_;
  ResultActions actions_{paths_, state_, asker_, desktop_};
};

TEST_F(ResultActionsTest, ZipFilterSavesAnArchiveHoldingARunnablePackage) {
  asker_.saveName = At("Trip.exe");
  asker_.saveFilter = SaveDialogData::kZipFilter;
  actions_.SaveAs();
  EXPECT_FALSE(fs::exists(At("Trip.exe")));
  EXPECT_EQ(ZipEntries(At("Trip.zip")), Args{"Trip.exe 755"});
  EXPECT_TRUE(state_.saved);
  EXPECT_EQ(SlideshowTitle(state_.path), "[Trip.zip]");
  EXPECT_TRUE(asker_.asked.empty());

  // Saved again without the question, the archive keeps what else it holds.
  WriteBytes(At("notes.txt"), kOld);
  AddToZipArchive(At("Trip.zip"), At("notes.txt"), "notes.txt", false);
  actions_.SaveMenu();
  EXPECT_EQ(ZipEntries(At("Trip.zip")), (Args{"Trip.exe 755", "notes.txt 755 (other bytes)"}));
  // Confirmed overwriting replaces it whole.
  actions_.SaveAs();
  EXPECT_EQ(asker_.asked.size(), 1u);
  EXPECT_EQ(ZipEntries(At("Trip.zip")), Args{"Trip.exe 755"});
}

TEST_F(ResultActionsTest, DeclinedOverwriteWritesNothingAndKeepsTheEarlierName) {
  WriteBytes(At("Trip.exe"), kOld);
  asker_.saveName = At("Trip.exe");
  asker_.answers = {false};
  actions_.SaveAs();
  EXPECT_EQ(asker_.asked,
            Args{"File exists (" + At("Trip.exe") + ") - Do you want to overwrite it?"});
  EXPECT_EQ(ReadBytes(At("Trip.exe")), kOld);
  EXPECT_FALSE(state_.saved);
  EXPECT_EQ(state_.path, state_.output);
}

TEST_F(ResultActionsTest, FailedCopyIsReportedKeepsTheOldFileAndStaysUnsaved) {
  fs::create_directory(At("Dir.exe"));
  for (const std::string& name : {At("gone%s/Trip.exe"), At("Dir.exe")}) {
    asker_.saveName = name;
    EXPECT_FALSE(actions_.SaveSlideshow(true, true)) << name;
  }
  EXPECT_TRUE(fs::is_directory(At("Dir.exe")));
  EXPECT_EQ(asker_.told.at(0).find("The slideshow could not be saved as " + At("gone%s/Trip.exe") +
                                   ":\rSave : "),
            0u);
  // Overwriting confirmed, but the package has gone: the old file must survive.
  WriteBytes(At("Old.exe"), kOld);
  fs::remove(state_.output);
  asker_.saveName = At("Old.exe");
  actions_.SaveAs();
  EXPECT_EQ(ReadBytes(At("Old.exe")), kOld);
  EXPECT_FALSE(state_.saved);
  ASSERT_EQ(asker_.told.size(), 3u);
  EXPECT_NE(asker_.told[2].find(At("Old.exe")), std::string::npos);
}

TEST_F(ResultActionsTest, NamesAreJudgedByTheirExtensionInAnyLetterCase) {
  WriteBytes(At("Trip.txt"), kOld);
  asker_.saveName = At("Trip.txt");
  EXPECT_FALSE(actions_.SaveSlideshow(true, false));
  EXPECT_EQ(ReadBytes(At("Trip.txt")), kOld);
  EXPECT_FALSE(state_.saved);
  ASSERT_EQ(asker_.told.size(), 1u);
  EXPECT_NE(asker_.told[0].find(At("Trip.txt")), std::string::npos);

  asker_.saveName = At("Trip.ZIP");
  EXPECT_TRUE(actions_.SaveSlideshow(true, true));
  EXPECT_EQ(ZipEntries(At("Trip.ZIP")), Args{"Trip.exe 755"});
  // A name without an extension gets the filter's; the copy stays a program.
  asker_.saveName = At("Trip");
  EXPECT_TRUE(actions_.SaveSlideshow(true, true));
  EXPECT_EQ(ReadBytes(At("Trip.exe")), kPackage);
  EXPECT_EQ(fs::status(At("Trip.exe")).permissions(), fs::perms(0755));
}

TEST_F(ResultActionsTest, WebFilterNamesAPageAndADamagedPackageWritesNone) {
  // A package that is no slideshow: the page cannot be made, and nothing is left behind.
  WriteBytes(state_.output, kDamaged);
  for (const char* chosen : {"Trip.exe", "Trip", "Trip.htm"}) {
    asker_.saveName = At(chosen);
    asker_.saveFilter = SaveDialogData::kHtmlFilter;
    EXPECT_FALSE(actions_.SaveSlideshow(true, true)) << chosen;
  }
  ASSERT_EQ(asker_.told.size(), 3u);
  EXPECT_EQ(asker_.told[0].find("The slideshow could not be saved as " + At("Trip.html")), 0u);
  EXPECT_EQ(asker_.told[2].find("The slideshow could not be saved as " + At("Trip.htm")), 0u);
  EXPECT_FALSE(fs::exists(At("Trip.html")));
  for (const auto& entry : fs::directory_iterator(dir_.File("")))
    EXPECT_EQ(entry.path().filename().string().find("Trip"), std::string::npos) << entry.path();
  EXPECT_FALSE(state_.saved);
}

TEST_F(ResultActionsTest, SendAdvisesZipForPackagesOnlyAndActionsFollowTheSave) {
  asker_.answers = {false, true};
  actions_.Send();  // declined
  actions_.Button(ResultActions::kSend);
  ASSERT_EQ(asker_.asked.size(), 2u);
  EXPECT_EQ(asker_.asked[0],
            "It's recommended to send Tovak! slideshows as \".zip\" files.\rSome mail servers "
            "will automatically remove \".exe\" attachments.\r\rWould you like to e-mail your "
            "slideshow anyway?");
  actions_.Button(ResultActions::kPreview);
  EXPECT_EQ(desktop_.calls,
            (Args{"mail " + paths_.WorkFolder() + "~TalkingPlimo.exe",
                  "start " + paths_.ProgramFolder() + "tovak-player " + state_.output}));

  asker_.saveName = At("Trip.zip");
  actions_.SaveAs();
  desktop_.calls.clear();
  desktop_.mailWorks = false;
  actions_.Send();
  actions_.Preview();
  actions_.OpenFolder();
  EXPECT_EQ(asker_.asked.size(), 2u);
  const std::string zip = At("Trip.zip");
  EXPECT_EQ(desktop_.calls, (Args{"mail " + zip, "show " + zip, "open " + zip, "show " + zip}));
  ASSERT_EQ(asker_.told.size(), 1u);  // the mail that could not be sent
  EXPECT_NE(asker_.told[0].find(zip), std::string::npos);
}

// The package in the working folder is gone at exit: without a mail program it is saved first,
// never pointed at; and a result older than the project is used only when the user says so.
TEST_F(ResultActionsTest, UnsentResultIsSavedFirstAndAnOutdatedOneIsUsedOnlyOnAYes) {
  desktop_.mailWorks = false;
  asker_.answers = {true, false};  // mail the package anyway, but do not save it
  actions_.Send();
  EXPECT_EQ(asker_.asked.size(), 2u);
  EXPECT_NE(asker_.asked[1].find("Save it now"), std::string::npos);
  EXPECT_TRUE(asker_.told.empty());
  EXPECT_EQ(desktop_.calls, (Args{"mail " + state_.output}));

  state_.outdated = true;
  asker_.asked.clear();
  asker_.answers = {false};
  actions_.Preview();
  actions_.SaveButton();  // the default Yes: saved all the same
  ASSERT_EQ(asker_.asked.size(), 2u);
  EXPECT_NE(asker_.asked[0].find("does not show the changes"), std::string::npos);
  EXPECT_EQ(asker_.nameQuestions, 1);
  EXPECT_FALSE(fs::exists(At("Kept.exe")));  // no name was given: nothing saved

  state_.outdated = false;
  asker_.asked.clear();
  asker_.saveName = At("Kept.exe");
  desktop_.calls.clear();
  actions_.Send();  // both questions answered Yes
  ASSERT_EQ(asker_.asked.size(), 2u);
  EXPECT_EQ(ReadBytes(At("Kept.exe")), kPackage);
  EXPECT_EQ(desktop_.calls, (Args{"mail " + state_.output, "show " + At("Kept.exe")}));
}

TEST_F(ResultActionsTest, SaveMenuAsksForANameOnlyUntilThereIsOne) {
  asker_.saveName = At("Trip.exe");
  actions_.SaveMenu();
  EXPECT_EQ(asker_.nameQuestions, 1);
  EXPECT_TRUE(state_.saved);

  WriteBytes(state_.output, SmallPackage(2));  // a later build
  state_.saved = false;
  actions_.SaveMenu();
  EXPECT_EQ(asker_.nameQuestions, 1);
  EXPECT_EQ(ReadBytes(At("Trip.exe")), SmallPackage(2));
  // The button asks while the result is unsaved, and not once it is saved.
  state_.saved = false;
  actions_.SaveButton();
  actions_.SaveButton();
  EXPECT_EQ(asker_.nameQuestions, 2);
}

TEST_F(ResultActionsTest, InstalledMailProgramAndArchiverGetExactArguments) {
  const std::string mailer = paths_.ProgramFolder() + "QXmapi.exe";
  const std::string archiver = paths_.ProgramFolder() + "fbzip.exe";
  WriteBytes(mailer, {});
  WriteBytes(archiver, {});
  desktop_.onRun = [](const Args& args) {
    if (args.size() == 3) WriteBytes(args[1], kPackage);
  };
  actions_.Send();
  asker_.saveName = At("Trip.zip");
  actions_.SaveAs();
  EXPECT_EQ(desktop_.calls,
            (Args{"run " + mailer + " " + state_.output,
                  "run " + archiver + " -a " + At("Trip.zip") + " " + state_.output}));
  EXPECT_TRUE(state_.saved);

  // An archiver that leaves no archive saves nothing, and the archive it was to replace stays.
  WriteBytes(At("Old.zip"), kOld);
  desktop_.onRun = nullptr;
  state_.saved = false;
  asker_.saveName = At("Old.zip");
  EXPECT_FALSE(actions_.SaveSlideshow(true, true));
  EXPECT_EQ(ReadBytes(At("Old.zip")), kOld);
  // Nor does a lack of memory during the wait.
  desktop_.outOfMemory = true;
  EXPECT_FALSE(actions_.SaveSlideshow(true, true));
  EXPECT_EQ(ReadBytes(At("Old.zip")), kOld);
  EXPECT_NE(asker_.told.back().find("not enough memory"), std::string::npos);
}

// A package the builder is still writing has no trailer yet.
TEST_F(ResultActionsTest, NothingTakesAnUnfinishedPackage) {
  WriteBytes(At("Trip.exe"), kOld);
  state_.path = At("Trip.exe");  // saved under this name after an earlier build
  WriteBytes(state_.output, std::vector<uint8_t>(kPackage.begin(), kPackage.end() - 16));
  actions_.SaveMenu();
  actions_.Send();
  actions_.Preview();
  actions_.OpenFolder();
  EXPECT_EQ(ReadBytes(At("Trip.exe")), kOld);
  EXPECT_FALSE(state_.saved);
  EXPECT_TRUE(desktop_.calls.empty());
  EXPECT_TRUE(asker_.asked.empty());
  ASSERT_EQ(asker_.told.size(), 4u);
  EXPECT_NE(asker_.told[0].find("not a complete slideshow"), std::string::npos);
  EXPECT_EQ(asker_.told[1].find("The slideshow is not complete, so it cannot be used:\r"), 0u);

  // While a build runs, not even a whole-looking package is taken, and no name is asked.
  WriteBytes(state_.output, kPackage);
  state_.building = true;
  actions_.SaveAs();
  actions_.Button(ResultActions::kPreview);
  EXPECT_EQ(asker_.nameQuestions, 0);
  EXPECT_TRUE(desktop_.calls.empty());
  EXPECT_EQ(asker_.told.back(),
            "The slideshow is still being created. Please wait until it is finished.");
}

// Only a new name or a regular file outside the working folder, other than the package, is
// written; nothing is offered for overwriting before that is known.
TEST_F(ResultActionsTest, RefusesTargetsThatAreNoPlainFileOfTheUsers) {
  ASSERT_EQ(::mkfifo(At("Pipe.exe").c_str(), 0600), 0);
  fs::create_symlink("/dev/null", At("Null.zip"));
  fs::create_symlink(state_.output, At("Link.exe"));
  const std::string inWorkFolder = paths_.WorkFolder() + "Mine.exe";
  for (const std::string& name : {At("Pipe.exe"), At("Null.zip"), At("Link.exe"), inWorkFolder}) {
    asker_.saveName = name;
    EXPECT_FALSE(actions_.SaveSlideshow(true, true)) << name;
  }
  EXPECT_TRUE(asker_.asked.empty());
  ASSERT_EQ(asker_.told.size(), 4u);
  EXPECT_NE(asker_.told[0].find("not a regular file"), std::string::npos);
  EXPECT_NE(asker_.told[1].find("not a regular file"), std::string::npos);
  EXPECT_NE(asker_.told[2].find("the slideshow being saved"), std::string::npos);
  EXPECT_EQ(asker_.told[3], "Slideshows cannot be saved in the working folder " +
                                paths_.WorkFolder() +
                                ", because Quillora Tovak! empties it. Please choose another "
                                "folder.");
  EXPECT_TRUE(fs::is_fifo(At("Pipe.exe")));
  EXPECT_TRUE(fs::is_symlink(At("Null.zip")));
  EXPECT_TRUE(fs::is_symlink(At("Link.exe")));
  EXPECT_FALSE(fs::exists(inWorkFolder));
  EXPECT_FALSE(state_.saved);
}

TEST_F(ResultActionsTest, NamesNearTheLengthLimitSave) {
  const std::string stem(250, 'n');
  asker_.saveName = At(stem + ".exe");
  EXPECT_TRUE(actions_.SaveSlideshow(true, true));
  EXPECT_EQ(ReadBytes(At(stem + ".exe")), kPackage);
  asker_.saveName = At(stem + ".zip");
  EXPECT_TRUE(actions_.SaveSlideshow(true, true));
  actions_.SaveMenu();  // added to the archive that is there
  EXPECT_EQ(ZipEntries(At(stem + ".zip")), Args{stem + ".exe 755"});
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 3);
  EXPECT_TRUE(asker_.told.empty());
}

// A stand-in for the video encoder: notes its call, reports twice, then writes a few bytes
// or fails as told.
struct FakeVideo {
  VideoExportReport operator()(const std::string& package, const std::string& out,
                               const VideoExportOptions& options) {
    calls.push_back(package + " " + out + " " + std::to_string(options.width) + "x" +
                    std::to_string(options.height));
    for (int picture = 1; picture <= 2; ++picture) {
      if (!options.progress(picture, 2, picture * 50)) throw EVideoExportCancelled("stopped");
    }
    if (!failure.empty()) throw EVideoExportError(failure);
    WriteBytes(out, kPackage);
    return report;
  }
  Args calls;
  std::string failure;
  VideoExportReport report;
};

TEST_F(ResultActionsTest, VideoFilterExportsAVideoThatIsSentAndPlayedAsIs) {
  EXPECT_EQ(SaveDialogData::Filters().back(), "Videos (*.mp4)");
  EXPECT_STREQ(SaveDialogData::SuffixOf(SaveDialogData::kVideoFilter), "mp4");
  FakeVideo video;
  video.report.warnings = {"p2.jpg: the voice cannot be read"};
  actions_.ExportVideo = std::ref(video);
  asker_.saveName = At("Trip.exe");
  asker_.saveFilter = SaveDialogData::kVideoFilter;
  EXPECT_TRUE(actions_.SaveSlideshow(true, true));
  EXPECT_EQ(video.calls, Args{state_.output + " " + At("Trip.mp4") + " 1280x720"});
  EXPECT_EQ(asker_.reports, (Args{"Saving the slideshow as a video: Picture 1 of 2 50%",
                                  "Saving the slideshow as a video: Picture 2 of 2 100%"}));
  EXPECT_EQ(SlideshowTitle(state_.path), "[Trip.mp4]");
  EXPECT_EQ(asker_.told, Args{"The video was saved as " + At("Trip.mp4") +
                              ", but some pictures or voices could not be read; they are black "
                              "or silent in it:\rp2.jpg: the voice cannot be read"});

  // Mailed without the advice meant for programs, and played by the desktop.
  actions_.Send();
  actions_.Preview();
  EXPECT_TRUE(asker_.asked.empty());
  EXPECT_EQ(desktop_.calls, (Args{"mail " + At("Trip.mp4"), "open " + At("Trip.mp4")}));

  asker_.saveName = At("Trip.avi");
  asker_.saveFilter = SaveDialogData::kExeFilter;
  EXPECT_FALSE(actions_.SaveSlideshow(true, true));
  EXPECT_EQ(asker_.told.back(),
            "A slideshow can only be saved as a \".exe\", a \".zip\", a \".html\" or a \".mp4\" "
            "file. Nothing was saved as " +
                At("Trip.avi") + ".");
}

TEST_F(ResultActionsTest, FailedOrStoppedVideoLeavesTheOldFileWholeAndStaysUnsaved) {
  FakeVideo video;
  actions_.ExportVideo = std::ref(video);
  WriteBytes(At("Old.mp4"), kOld);
  asker_.saveName = At("Old.MP4");
  video.failure = "the disk is full";
  EXPECT_FALSE(actions_.SaveSlideshow(true, false));
  EXPECT_EQ(asker_.told, Args{"The slideshow could not be saved as " + At("Old.MP4") +
                              ":\rSave : the disk is full - " + At("Old.MP4")});
  // Stopped by the user: nothing to tell.
  video.failure.clear();
  asker_.stopAfter = 1;
  EXPECT_FALSE(actions_.SaveSlideshow(true, false));
  EXPECT_EQ(asker_.told.size(), 1u);
  EXPECT_EQ(ReadBytes(At("Old.mp4")), kOld);
  EXPECT_FALSE(state_.saved);
  EXPECT_EQ(state_.path, state_.output);
}

// A desktop that cannot open the result or show its folder is reported with what to do, and
// every save, even one that asks nothing, says where it went.
TEST_F(ResultActionsTest, FailedOpeningIsToldAndEverySaveIsReported) {
  asker_.saveName = At("Trip.zip");
  asker_.saveFilter = SaveDialogData::kZipFilter;
  ASSERT_TRUE(actions_.SaveSlideshow(true, true));
  actions_.SaveMenu();
  EXPECT_EQ(asker_.reported, (Args{"Saved: " + At("Trip.zip"), "Saved: " + At("Trip.zip")}));

  desktop_.opens = false;
  desktop_.calls.clear();
  actions_.Preview();
  ASSERT_EQ(asker_.told.size(), 1u);
  EXPECT_NE(asker_.told[0].find("No program on this computer could open " + At("Trip.zip")),
            std::string::npos);
  EXPECT_NE(asker_.told[0].find("\".zip\" files"), std::string::npos);
  EXPECT_EQ(desktop_.calls, (Args{"open " + At("Trip.zip"), "show " + At("Trip.zip")}));

  desktop_.shows = false;
  asker_.told.clear();
  actions_.OpenFolder();
  ASSERT_EQ(asker_.told.size(), 1u);
  EXPECT_NE(asker_.told[0].find("No file manager could be started to show the folder " +
                                fs::path(At("Trip.zip")).parent_path().string()),
            std::string::npos);
}

TEST(DesktopServicesTest, WaitsForAProgramWhileEventsFlow) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  bool eventHandled = false;
  QMetaObject::invokeMethod(
      &app, [&] { eventHandled = true; }, Qt::QueuedConnection);
  DesktopServices desktop;
  EXPECT_EQ(desktop.RunAndWait("sh", {"-c", "sleep 0.1; exit 3"}), 3);
  EXPECT_TRUE(eventHandled);
  EXPECT_EQ(desktop.RunAndWait("/nonexistent/program", {}), std::nullopt);

  // An opener that finds no program for the file fails at once, not after the patience.
  testing::TempDir dir;
  const std::string opener = dir.File("opener");
  WriteBytes(opener, std::vector<uint8_t>{'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n', 'e',
                                          'x', 'i', 't', ' ', '4', '\n'});
  fs::permissions(opener, fs::perms(0755));
  desktop.Opener = opener;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(desktop.OpenWithDesktop(dir.File("Trip.mp4")));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

}  // namespace
}  // namespace tovak
