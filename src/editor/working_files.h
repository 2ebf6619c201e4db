#pragma once

#include <ctime>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tovak {

// The time of day in the user's long time format with every ':' removed and anything a file
// name cannot hold replaced, e.g. "140327" or "20327 PM".
std::string TimeBasedName(std::time_t when);

// A path in folder for a new file named after the time, with extension (".txt", ".wav"). A name
// that is taken, by a file in the folder or by one of the paths in use, gets a numeric suffix:
// two files made in the same second both survive.
std::string NewWorkingFileName(const std::string& folder, const std::string& extension,
                               const std::vector<std::string>& inUse, std::time_t when);

// Pictures taken out of an opened slideshow are the program's own files in the working folder,
// like messages and voices: their names begin with this, which nothing else the program or the
// user makes there does, so they are found again after a crash and only they are deleted.
inline constexpr char kOpenedPicturePrefix[] = "~opened-";
// "~opened-03.jpg" for picture 3 in folder, with a numeric suffix where the name is taken.
std::string NewOpenedPictureName(const std::string& folder, int number,
                                 const std::vector<std::string>& inUse);
// Whether a file name is one NewOpenedPictureName gives.
bool IsOpenedPictureName(const std::string& name);
// Whether path is such a picture lying in workFolder: a picture that came out of a slideshow.
bool IsOpenedPicture(const std::string& path, const std::string& workFolder);

// Names for many new files in one folder at once, as NewWorkingFileName and NewOpenedPictureName
// give them, in time linear in their number: the folder is listed once, and each name remembers
// the suffix it reached, where asking those functions file after file costs a look at every
// name taken before.
class WorkingFileNames {
 public:
  WorkingFileNames(const std::string& folder, const std::vector<std::string>& inUse);
  std::string NewFile(const std::string& extension, std::time_t when);
  std::string NewOpenedPicture(int number);

 private:
  std::string Pick(const std::string& base, const std::string& extension);

  std::string folder_;
  std::unordered_set<std::string> taken_;      // full paths, in lower case
  std::unordered_map<std::string, int> next_;  // per base and extension: the suffix to try next
};

// Message files hold single-byte text in the system's 8-bit code page where it has one, UTF-8
// otherwise, one line per message line ended by CR LF. Text in the program is UTF-8.
// The file is replaced in one step; on failure the old one is kept and error says why.
bool WriteMessageFile(const std::string& path, const std::vector<std::string>& lines,
                      std::string* error = nullptr);
// Reads a message file back into UTF-8 lines; throws Exception when it cannot be read.
std::vector<std::string> ReadMessageFile(const std::string& path);

// Conversion between the program's UTF-8 and the message files' code page.
std::string ToMessageEncoding(const std::string& utf8);
std::string FromMessageEncoding(const std::string& text);

}  // namespace tovak
