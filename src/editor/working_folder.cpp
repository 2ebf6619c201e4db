#include "editor/working_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QLockFile>
#include <QString>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "common/atomic_file.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/placeholders.h"
#include "editor/working_files.h"

namespace tovak {

namespace fs = std::filesystem;

namespace {

constexpr char kJournalName[] = "project.journal";
constexpr char kLockName[] = "project.lock";
constexpr char kSetAsideName[] = "project.journal.unreadable";

std::string Tr(const char* text) {
  return QCoreApplication::translate("tovak::WorkingFolder", text).toStdString();
}

// The names of everything in folder but its subfolders. Collected before anything is deleted, and
// without exceptions: an entry that vanishes or cannot be examined is simply not listed.
std::vector<fs::path> FilesIn(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code code;
  for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
    std::error_code ignored;
    if (!it->is_directory(ignored)) files.push_back(it->path());
  }
  return files;
}

constexpr char kNotHeld[] = "the working folder is not held by this copy of the program";

// Files only the program names so: the unsaved result, and what a write cut short left.
bool LeftOver(const std::string& name) {
  return name == kTemporarySlideshowName || IsAtomicTemporaryName(name);
}

// Why nothing can be written in folder, or empty when a file can be made there. A lock that
// cannot be taken says no more than that; this says why.
std::string WriteProblem(const std::string& folder) {
  const std::string probe =
      (fs::path(folder) / (".tovak-" + std::to_string(::getpid()) + "-probe.tmp")).string();
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return errno == EEXIST ? std::string() : std::strerror(errno);
  ::close(fd);
  ::unlink(probe.c_str());
  return {};
}

}  // namespace

WorkingFolder::WorkingFolder(std::string folder) : folder_(std::move(folder)) {}

WorkingFolder::~WorkingFolder() = default;

std::string WorkingFolder::JournalPath() const {
  return (fs::path(folder_) / kJournalName).string();
}

std::string WorkingFolder::LockPath() const {
  return (fs::path(folder_) / kLockName).string();
}

bool WorkingFolder::Claim(std::string* error) {
  if (Claimed()) return true;
  auto fail = [&](const char* text, const std::string& why) {
    if (error) *error = FillPlaceholders(Tr(text), {folder_, why});
    return false;
  };
  std::error_code code;
  fs::create_directories(folder_, code);
  if (!fs::is_directory(folder_, code)) {
    return fail(QT_TRANSLATE_NOOP("tovak::WorkingFolder",
                                  "The working folder \"%s\" cannot be created (%s)."),
                code ? code.message() : std::strerror(ENOTDIR));
  }
  if (const std::string why = WriteProblem(folder_); !why.empty()) {
    return fail(QT_TRANSLATE_NOOP("tovak::WorkingFolder",
                                  "The working folder \"%s\" cannot be written (%s)."),
                why);
  }
  auto lock = std::make_unique<QLockFile>(QString::fromStdString(LockPath()));
  // Age alone never makes the lock stale: a copy left open for days still owns its folder. Only
  // an owner that is no longer running gives it up.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) {
    if (lock->error() == QLockFile::LockFailedError) {
      return fail(QT_TRANSLATE_NOOP("tovak::WorkingFolder",
                                    "Another copy of the program is using the working folder "
                                    "\"%s\"."),
                  "");
    }
    return fail(
        QT_TRANSLATE_NOOP("tovak::WorkingFolder",
                          "The working folder \"%s\" cannot be locked (%s)."),
        lock->error() == QLockFile::PermissionError ? std::strerror(EACCES) : std::strerror(EIO));
  }
  lock_ = std::move(lock);
  // Found now, so the user hears of it before the folder is touched.
  if (FileExists(JournalPath())) {
    ProjectLists ignored;
    ReadJournal(&ignored, nullptr);
  }
  return true;
}

bool WorkingFolder::Claimed() const {
  return lock_ && lock_->isLocked();
}

bool WorkingFolder::HasUnfinishedProject() const {
  if (!Claimed() || !FileExists(JournalPath())) return false;
  try {
    return !ReadProjectJournal(JournalPath()).pictures.empty();
  } catch (const EProjectJournalError&) {
    return true;
  }
}

bool WorkingFolder::ReadJournal(ProjectLists* lists, std::vector<std::string>* owned,
                                std::string* slideshow) {
  try {
    *lists = ReadProjectJournal(JournalPath(), owned, slideshow);
    return true;
  } catch (const EProjectJournalError&) {
    SetAside();
    return false;
  }
}

void WorkingFolder::SetAside() {
  keepOld_ = true;
  std::error_code code;
  std::string aside = (fs::path(folder_) / kSetAsideName).string();
  for (int n = 2; fs::exists(fs::symlink_status(aside, code)); ++n)
    aside = (fs::path(folder_) / (kSetAsideName + std::string("-") + std::to_string(n))).string();
  fs::rename(JournalPath(), aside, code);
  if (code) aside = JournalPath();
  note_ = FillPlaceholders(
      Tr(QT_TRANSLATE_NOOP("tovak::WorkingFolder",
                           "The list of the slideshow you were working on could not be read, so "
                           "nothing was deleted from its folder. Your recordings and messages are "
                           "in \"%s\"; the list was kept as \"%s\".")),
      {folder_, aside});
}

ProjectLists WorkingFolder::Restore() {
  if (!Claimed()) {
    throw EProjectJournalError("The working folder \"" + folder_ +
                               "\" is in use by another copy of the program.");
  }
  ProjectLists lists;
  std::vector<std::string> owned;
  if (!ReadJournal(&lists, &owned, &slideshow_)) throw EProjectJournalError(note_);
  for (auto* list : {&lists.messages, &lists.voices}) {
    for (std::string& file : *list)
      if (!file.empty() && !FileExists(file)) file.clear();
  }
  Adopt(lists);
  AdoptFiles(owned);
  journaled_ = lists;
  // What a crash cut short in the middle of a write; never a file that holds a recording.
  for (const fs::path& file : FilesIn(folder_))
    if (IsAtomicTemporaryName(file.filename().string())) DeleteFileIfExists(file.string());
  return lists;
}

void WorkingFolder::Adopt(const ProjectLists& lists) {
  AdoptFiles(lists.messages);
  AdoptFiles(lists.voices);
  // A picture the user keeps in this folder stays; only what an opening wrote is ours.
  for (const std::string& file : lists.pictures)
    if (IsOpenedPicture(file, folder_)) ours_.insert(fs::path(file).filename().string());
}

void WorkingFolder::AdoptFiles(const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    if (!file.empty() && SameFile(fs::path(file).parent_path().string(), folder_))
      ours_.insert(fs::path(file).filename().string());
  }
}

bool WorkingFolder::WriteJournal(std::string* error) {
  if (journaled_.Empty() && ours_.empty()) {
    DeleteFileIfExists(JournalPath());
    return true;
  }
  return WriteProjectJournal(JournalPath(), journaled_, ours_, slideshow_, error);
}

bool WorkingFolder::SaveJournal(const ProjectLists& lists, std::string* error) {
  if (!Claimed()) {
    if (error) *error = kNotHeld;
    return false;
  }
  Adopt(lists);
  journaled_ = lists;
  return WriteJournal(error);
}

bool WorkingFolder::NoteComing(const std::vector<std::string>& files, std::string* error) {
  if (!Claimed()) {
    if (error) *error = kNotHeld;
    return false;
  }
  const std::set<std::string> before = ours_;
  AdoptFiles(files);
  if (WriteJournal(error)) return true;
  ours_ = before;
  return false;
}

void WorkingFolder::ForgetComing(const std::vector<std::string>& files) {
  if (!Claimed()) return;
  for (const std::string& file : files) ours_.erase(fs::path(file).filename().string());
  WriteJournal(nullptr);
}

bool WorkingFolder::ReplaceProject(const ProjectLists& lists, const std::vector<std::string>& keep,
                                   std::string* error) {
  if (!Claimed()) {
    if (error) *error = kNotHeld;
    return false;
  }
  Adopt(lists);
  journaled_ = lists;
  const bool noted = WriteJournal(error);
  std::set<std::string> kept;
  for (const auto* list : {&lists.pictures, &lists.messages, &lists.voices, &keep})
    for (const std::string& file : *list) kept.insert(fs::path(file).filename().string());
  for (const fs::path& file : FilesIn(folder_)) {
    const std::string name = file.filename().string();
    if (kept.count(name)) continue;
    if (ours_.count(name) || (LeftOver(name) && !keepOld_)) DeleteFileIfExists(file.string());
  }
  std::erase_if(ours_, [&](const std::string& name) { return !kept.count(name); });
  WriteJournal(nullptr);
  return noted;
}

void WorkingFolder::Empty(const ProjectLists& keep) {
  if (!Claimed()) return;
  std::set<std::string> kept;
  for (const auto* list : {&keep.pictures, &keep.messages, &keep.voices})
    for (const std::string& file : *list) kept.insert(fs::path(file).filename().string());
  // The files of a project not taken back are the program's too; an unreadable journal is set
  // aside instead, and then only what this run made goes.
  if (!keepOld_ && FileExists(JournalPath())) {
    ProjectLists lists;
    std::vector<std::string> owned;
    if (ReadJournal(&lists, &owned)) {
      Adopt(lists);
      AdoptFiles(owned);
    }
  }
  // The journal goes first: should the program stop halfway, the next start finds no journal
  // naming files that are already gone.
  DeleteFileIfExists(JournalPath());
  journaled_ = {};
  slideshow_.clear();
  for (const fs::path& file : FilesIn(folder_)) {
    const std::string name = file.filename().string();
    if (kept.count(name)) continue;
    if (ours_.count(name) || (LeftOver(name) && !keepOld_)) DeleteFileIfExists(file.string());
  }
  ours_.clear();
}

void WorkingFolder::Release() {
  Empty();
  if (lock_) lock_->unlock();
  lock_.reset();
}

}  // namespace tovak
