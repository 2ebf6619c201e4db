#include "editor/working_folder.h"

#include <sys/stat.h>

#include <QLockFile>
#include <QString>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>
#include <vector>

#include "common/files.h"

namespace tovak {

namespace fs = std::filesystem;

namespace {

constexpr char kJournalName[] = "project.journal";
constexpr char kLockName[] = "project.lock";

// A file is known by its device and node, so a journal naming it through another spelling of the
// folder (a link, a doubled separator) still protects it.
using FileId = std::pair<dev_t, ino_t>;

bool IdOf(const std::string& path, FileId* id) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  *id = {info.st_dev, info.st_ino};
  return true;
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

bool IsOurs(const fs::path& file) {
  return file.filename() == kJournalName || file.filename() == kLockName;
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
  std::error_code code;
  fs::create_directories(folder_, code);
  if (!fs::is_directory(folder_, code)) {
    if (error) *error = "The working folder \"" + folder_ + "\" cannot be created.";
    return false;
  }
  auto lock = std::make_unique<QLockFile>(QString::fromStdString(LockPath()));
  // Age alone never makes the lock stale: a copy left open for days still owns its folder. Only
  // an owner that is no longer running gives it up.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) {
    if (error) {
      *error = lock->error() == QLockFile::LockFailedError
                   ? "Another copy of the program is using the working folder \"" + folder_ + "\"."
                   : "The working folder \"" + folder_ + "\" cannot be locked.";
    }
    return false;
  }
  lock_ = std::move(lock);
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

ProjectLists WorkingFolder::Restore() {
  if (!Claimed())
    throw EProjectJournalError("The working folder \"" + folder_ +
                               "\" is in use by another copy of the program.");
  ProjectLists lists = ReadProjectJournal(JournalPath());

  std::set<FileId> named;
  FileId id;
  for (const std::string& picture : lists.pictures)
    if (IdOf(picture, &id)) named.insert(id);
  for (auto* list : {&lists.messages, &lists.voices}) {
    for (std::string& file : *list) {
      if (file.empty()) continue;
      if (FileExists(file) && IdOf(file, &id))
        named.insert(id);
      else
        file.clear();
    }
  }
  for (const fs::path& file : FilesIn(folder_)) {
    if (IsOurs(file) || (IdOf(file.string(), &id) && named.count(id))) continue;
    DeleteFileIfExists(file.string());
  }
  return lists;
}

bool WorkingFolder::SaveJournal(const ProjectLists& lists, std::string* error) {
  if (!Claimed()) {
    if (error) *error = "the working folder is not held by this copy of the program";
    return false;
  }
  if (lists.Empty()) {
    DeleteFileIfExists(JournalPath());
    return true;
  }
  return WriteProjectJournal(JournalPath(), lists, error);
}

void WorkingFolder::Empty() {
  if (!Claimed()) return;
  // The journal goes first: should the program stop halfway, the next start finds no journal
  // naming files that are already gone.
  DeleteFileIfExists(JournalPath());
  for (const fs::path& file : FilesIn(folder_))
    if (file.filename() != kLockName) DeleteFileIfExists(file.string());
}

void WorkingFolder::Release() {
  Empty();
  if (lock_) lock_->unlock();
  lock_.reset();
}

}  // namespace tovak
