#include "app/result_actions.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <QCoreApplication>
#include <deque>
#include <filesystem>
#include <functional>

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
  std::string output, path;
  bool saved = false;
};

struct FakeAsker : ResultAsker {
  bool AskYesNo(const std::string& text) override {
    asked.push_back(text);
    const bool yes = answers.empty() || answers.front();
    if (!answers.empty()) answers.pop_front();
    return yes;
  }
  void Tell(Kind, const std::string& text) override { told.push_back(text); }
  bool AskSaveName(std::string& name, int& filter) override {
    ++nameQuestions;
    name = saveName, filter = saveFilter;
    return true;
  }
  std::deque<bool> answers;
  Args asked, told;
  std::string saveName;
  int saveFilter = 0, nameQuestions = 0;
};

// Notes every call as "what path" or "run program args...".
struct FakeDesktop : ResultDesktop {
  bool StartDetached(const std::string& p, const Args& args) override {
    std::string call = "start " + p;
    for (const std::string& arg : args) call += " " + arg;
    return Note(call);
  }
  bool OpenWithDesktop(const std::string& p) override { return Note("open " + p); }
  bool ShowInFileManager(const std::string& p) override { return Note("show " + p); }
  bool SendMail(const std::string& p) override { return Note("mail " + p) && mailWorks; }
  std::optional<int> RunAndWait(const std::string& program, const Args& args) override {
    std::string call = "run " + program;
    for (const std::string& arg : args) call += " " + arg;
    Note(call);
    if (onRun) onRun(args);
    return 0;
  }
  bool Note(const std::string& call) {
    calls.push_back(call);
    return true;
  }
  Args calls;
  std::function<void(const Args&)> onRun;
  bool mailWorks = true;
};

const std::vector<uint8_t> kPackage = {'E', 'L', 'F', 1, 2, 3, 0, 4};
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
  // The stand-in package is no slideshow: the page cannot be made, and nothing is left behind.
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

TEST_F(ResultActionsTest, SaveMenuAsksForANameOnlyUntilThereIsOne) {
  asker_.saveName = At("Trip.exe");
  actions_.SaveMenu();
  EXPECT_EQ(asker_.nameQuestions, 1);
  EXPECT_TRUE(state_.saved);

  WriteBytes(state_.output, kOld);  // a later build
  state_.saved = false;
  actions_.SaveMenu();
  EXPECT_EQ(asker_.nameQuestions, 1);
  EXPECT_EQ(ReadBytes(At("Trip.exe")), kOld);
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
}

}  // namespace
}  // namespace tovak
