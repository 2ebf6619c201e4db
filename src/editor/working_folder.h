#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "editor/project_journal.h"

class QLockFile;

namespace tovak {

// The folder of the project's message and voice files, held by one running copy of the program
// at a time. Emptying it is what loses recordings, so only the holder ever empties it, and only
// at a normal exit or a fresh start; a copy that ended without releasing it leaves the files and
// the journal behind for the next start to restore. The folder may also hold files the program
// did not make (a slideshow the user saved there, a picture kept there): only the program's own
// files are ever deleted.
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

  // Creates the folder when missing and takes it. False, with what is wrong with which folder in
  // error, when another running copy holds it or the folder cannot be made or written; the lock
  // of a copy that is gone is taken over. A journal that cannot be read is set aside here (see
  // SetAsideNote).
  bool Claim(std::string* error = nullptr);
  bool Claimed() const;

  // A run that did not end normally left a journal naming at least one picture. A journal that
  // became unreadable after Claim() counts too, so that Restore() tells the user about it.
  bool HasUnfinishedProject() const;
  // The journal's lists, with each message and voice looked up by name in this folder and ""
  // where the file is gone. Only the program's own half-written temporaries are deleted; a name
  // that does not resolve costs no file. Throws EProjectJournalError for a folder this object
  // does not hold, and for an unreadable journal, which is then set aside with the message
  // saying where everything is.
  ProjectLists Restore();

  // Not empty once an unreadable journal (damaged, or from another version) was set aside: the
  // translated text that tells the user where the journal and the recordings are. Nothing the
  // program did not make in this run is deleted from the folder then.
  const std::string& SetAsideNote() const { return note_; }

  // Records the project after a change, with every other file of the folder the program still
  // owns; with neither, the journal is removed.
  bool SaveJournal(const ProjectLists& lists, std::string* error = nullptr);
  // Notes files about to be written in this folder as the program's own, in the journal before
  // they exist, so that a crash while they are written leaves none unnamed. False, with the
  // reason in error, when the journal cannot be written: nothing should be written then.
  bool NoteComing(const std::vector<std::string>& files, std::string* error = nullptr);
  // Takes back NoteComing for files that were not kept (they are gone, or never were made).
  void ForgetComing(const std::vector<std::string>& files);
  // Makes lists the project in place of the one before, whose files go with the old result (but
  // not the files of keep): the journal names the new project before anything old is deleted
  // and the old files until they are gone, so a crash at any point loses nothing either way.
  bool ReplaceProject(const ProjectLists& lists, const std::vector<std::string>& keep,
                      std::string* error = nullptr);

  // Deletes what the program made in the folder: the message and voice files of the project
  // (those of this run and of the journal), the pictures taken out of opened slideshows, the
  // journal, the temporary slideshow and the program's own temporaries; never the lock,
  // subfolders, the files of keep or anything else. Does nothing unless this object holds the
  // folder. Files that cannot be deleted are skipped.
  void Empty(const ProjectLists& keep = {});
  // Notes the message and voice files and the opened pictures of lists that lie in this folder
  // as the program's own, to be deleted by Empty(). Only names noted so, or named by the journal
  // of an earlier run, are ever taken for the program's: a file of the user's that merely looks
  // like one of ours stays.
  void Adopt(const ProjectLists& lists);
  // The slideshow the project was opened from ("" for none), named by every journal written
  // from now on; Restore() brings back the one an earlier run named, Empty() forgets it.
  void SetSlideshow(std::string path) { slideshow_ = std::move(path); }
  const std::string& Slideshow() const { return slideshow_; }
  // A normal exit: Empty(), then let go of the folder.
  void Release();

 private:
  // The journal's lists, or false after setting an unreadable journal aside; owned, when given,
  // gets the other files of the program it names.
  bool ReadJournal(ProjectLists* lists, std::vector<std::string>* owned,
                   std::string* slideshow = nullptr);
  void SetAside();
  // Notes those of files that lie in this folder as ours.
  void AdoptFiles(const std::vector<std::string>& files);
  // Writes the journal of journaled_ and ours_, or removes it when there is nothing to name.
  bool WriteJournal(std::string* error);

  std::string folder_;
  std::unique_ptr<QLockFile> lock_;
  std::set<std::string> ours_;  // names of the files the program made here
  ProjectLists journaled_;      // the project as the journal names it
  std::string slideshow_;       // the slideshow it was opened from
  bool keepOld_ = false;        // an unreadable journal was set aside in this run
  std::string note_;
};

}  // namespace tovak
