#pragma once

#include <set>
#include <string>
#include <vector>

#include "common/exception.h"

namespace tovak {

// A journal that cannot be read back: not ours, from a newer version, cut short or altered.
class EProjectJournalError : public Exception {
 public:
  using Exception::Exception;
};

// The project as the main window holds it: entry i of each list belongs to picture i; messages
// and voices are full paths of files in the working folder, "" where the picture has none.
struct ProjectLists {
  std::vector<std::string> pictures, messages, voices;

  bool Empty() const { return pictures.empty() && messages.empty() && voices.empty(); }
  bool operator==(const ProjectLists&) const = default;
};

// The lists are kept only in memory, so a crash would leave the recordings in the working folder
// with nothing to say which picture they belong to. The journal is rewritten after every change,
// replacing the old one whole, so the next start finds either the old or the new project.
// Message and voice files, and the pictures taken out of an opened slideshow, are noted by file
// name alone: they live in the journal's folder, wherever that has been moved to. owned names
// every file of that folder the program made and has yet to delete, those of the lists and
// others (a picture removed from the project, the files an opening is about to write), so that
// a crash leaves none of them behind for good. Lists of unequal length are refused (false, with the
// reason in error).
// slideshow, when not empty, is the full path of the slideshow the project was opened from, so
// that a restored project keeps its name; a path that is not UTF-8 is left out.
bool WriteProjectJournal(const std::string& path, const ProjectLists& lists,
                         const std::set<std::string>& owned, const std::string& slideshow,
                         std::string* error = nullptr);
inline bool WriteProjectJournal(const std::string& path, const ProjectLists& lists,
                                const std::set<std::string>& owned, std::string* error = nullptr) {
  return WriteProjectJournal(path, lists, owned, {}, error);
}
inline bool WriteProjectJournal(const std::string& path, const ProjectLists& lists,
                                std::string* error = nullptr) {
  return WriteProjectJournal(path, lists, {}, {}, error);
}

// The lists with every message and voice file and every opened picture in the journal's folder,
// also for a journal of older versions that noted full paths; owned, when given, gets the full
// paths of the other files the journal names, and slideshow the slideshow it was opened from
// ("" when none). Throws EProjectJournalError when the file is missing, unreadable or not a
// journal this version understands.
ProjectLists ReadProjectJournal(const std::string& path, std::vector<std::string>* owned = nullptr,
                                std::string* slideshow = nullptr);

}  // namespace tovak
