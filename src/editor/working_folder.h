#pragma once

#include <memory>
#include <string>

#include "editor/project_journal.h"

class QLockFile;

namespace tovak {

// The folder of the project's message and voice files, held by one running copy of the program
// at a time. Emptying it is what loses recordings, so only the holder ever empties it, and only
// at a normal exit or a fresh start; a copy that ended without releasing it leaves the files and
// the journal behind for the next start to restore.
class WorkingFolder {
 public:
  explicit WorkingFolder(std::string folder);
  // Unlocks without emptying: an end that did not pass through Release() is treated like a crash.
  ~WorkingFolder();
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

  const std::string& Path() const { return folder_; }
  std::string JournalPath() const;
  std::string LockPath() const;

  // Creates the folder when missing and takes it. False (with the reason in error) when another
  // running copy holds it or the folder cannot be made; the lock of a copy that is gone is taken
  // over.
  bool Claim(std::string* error = nullptr);
  bool Claimed() const;

  // A run that did not end normally left a journal naming at least one picture. A journal that
  // cannot be read counts too, so that the user is asked before its files are emptied away.
  bool HasUnfinishedProject() const;
  // The journal's lists, with messages and voices whose files are gone turned into "". Files the
  // journal does not name are what the crash left half-made and are deleted. Throws
  // EProjectJournalError for a damaged journal or a folder this object does not hold.
  ProjectLists Restore();

  // Records the project after a change; an empty project removes the journal.
  bool SaveJournal(const ProjectLists& lists, std::string* error = nullptr);

  // Deletes every file in the folder except the lock, leaving subfolders alone. Does nothing
  // unless this object holds the folder. Files that cannot be deleted are skipped.
  void Empty();
  // A normal exit: Empty(), then let go of the folder.
  void Release();

 private:
  std::string folder_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace tovak
