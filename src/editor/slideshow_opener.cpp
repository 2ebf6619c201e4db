#include "editor/slideshow_opener.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

#include "builder/package_format.h"
#include "common/files.h"
#include "components/jpeg_codec.h"
#include "editor/working_files.h"
#include "platform/native_file.h"

namespace fs = std::filesystem;

namespace tovak {

namespace {

std::string SystemError(const std::string& path) {
  return "\"" + path + "\" could not be written (" + std::strerror(errno) + ").";
}

// The window names the slideshow once, so the reason says only why, as a sentence: the
// reader's "NAME : why" loses its name.
std::string Why(std::string message, const std::string& package) {
  for (const std::string& name : {package, fs::path(package).filename().string()}) {
    if (message.starts_with(name + " : ")) {
      message.erase(0, name.size() + 3);
      break;
    }
  }
  if (!message.empty() && message[0] >= 'a' && message[0] <= 'z') message[0] -= 'a' - 'A';
  if (!message.empty() && !message.ends_with('.')) message += '.';
  return message;
}

// The files an opening writes, deleted again unless handed over. Each has a new name that the
// journal already notes and that no project names until the opening is done, so none needs the
// temporary name and the flush to disk that a file of the project takes: a file cut short is
// never read and the next start deletes it. One flush for them all at the end takes a fraction
// of a second where a flush per file takes minutes for a long show.
class WrittenFiles {
 public:
  explicit WrittenFiles(std::string folder) : folder_(std::move(folder)) {}
  ~WrittenFiles() {
    if (!keep_)
      for (const std::string& path : paths_) DeleteFileIfExists(path);
  }
  WrittenFiles(const WrittenFiles&) = delete;
  WrittenFiles& operator=(const WrittenFiles&) = delete;

  // Writes bytes under path; "" for no bytes, unless empty counts as a file. A name that was
  // taken since it was picked is never written over.
  std::string Write(const std::string& path, const std::vector<uint8_t>& bytes,
                    bool evenEmpty = false) {
    if (bytes.empty() && !evenEmpty) return {};
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) throw EOpenSlideshowError(SystemError(path));
    paths_.push_back(path);
    for (size_t done = 0; done < bytes.size();) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        const std::string why = SystemError(path);
        ::close(fd);
        throw EOpenSlideshowError(why);
      }
      done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) throw EOpenSlideshowError(SystemError(path));
    return path;
  }

  // Puts everything written on the disk, before a journal names it as the project.
  void Flush() {
    const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw EOpenSlideshowError(SystemError(folder_));
    const bool flushed = ::syncfs(fd) == 0;
    const std::string why = SystemError(folder_);
    ::close(fd);
    if (!flushed) throw EOpenSlideshowError(why);
  }
  void Keep() { keep_ = true; }

 private:
  std::string folder_;
  std::vector<std::string> paths_;
  bool keep_ = false;
};

// What no player reads is no slideshow worth taking apart: refused before anything is read, so
// a forged size costs neither memory nor time.
void CheckRecordSize(const PackageReader::Record& record, int64_t largest, const char* what,
                     int picture) {
  if (record.size > largest) {
    throw EPackageError("the " + std::string(what) + " of picture " + std::to_string(picture + 1) +
                        " is " + std::to_string(record.size) + " bytes long, more than " +
                        std::to_string(largest) + ", so the slideshow is damaged");
  }
}

}  // namespace

void CheckSlideshowFile(const std::string& package) {
  switch (platform::KindOf(package)) {
    case platform::FileKind::Folder:
      throw EOpenSlideshowError("It is a folder, not a slideshow.");
    case platform::FileKind::Other:
      throw EOpenSlideshowError("It is not a regular file, so it is no slideshow.");
    case platform::FileKind::Missing:
    case platform::FileKind::Regular:
      break;
  }
  try {
    PackageReader reader;
    reader.Open(package);
  } catch (const Exception& e) {
    throw EOpenSlideshowError(Why(e.Message(), package));
  }
}

bool IsSlideshowToOpen(const std::string& path) {
  switch (platform::KindOf(path)) {
    case platform::FileKind::Folder:
      return false;
    case platform::FileKind::Regular:
      return UpperExtension(path) == ".EXE" || HasPackageData(path);
    case platform::FileKind::Missing:
    case platform::FileKind::Other:
      break;
  }
  // Never opened to look inside; one named as a slideshow is refused as one.
  return UpperExtension(path) == ".EXE";
}

SlideshowOpening::SlideshowOpening(const std::string& package, const std::string& workFolder,
                                   const std::vector<std::string>& inUse, std::time_t when)
    : name_(fs::path(package).filename().string()), folder_(workFolder) {
  CheckSlideshowFile(package);
  try {
    reader_.Open(package);
    std::error_code ec;
    fs::create_directories(workFolder, ec);
    WorkingFileNames names(workFolder, inUse);
    const int count = reader_.PictureCount();
    names_.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      const PackageReader::Record message = reader_.MessageRecord(i);
      const PackageReader::Record voice = reader_.VoiceRecord(i);
      CheckRecordSize(reader_.ImageRecord(i), package::kLargestPicture, "picture", i);
      CheckRecordSize(message, package::kLargestMessage, "message", i);
      CheckRecordSize(voice, package::kLargestVoice, "voice", i);
      // A voice record is never empty: an empty voice's name is picked too, and stays unused.
      Names next;
      next.picture = names.NewOpenedPicture(i + 1);
      if (message.size > 0) next.message = names.NewFile(".txt", when);
      if (voice.size > 0) next.voice = names.NewFile(".wav", when);
      names_.push_back(std::move(next));
    }
  } catch (const Exception& e) {
    throw EOpenSlideshowError(Why(e.Message(), package));
  }
}

std::vector<std::string> SlideshowOpening::Files() const {
  std::vector<std::string> files;
  files.reserve(names_.size() * 3);
  for (const Names& names : names_)
    for (const std::string* file : {&names.picture, &names.message, &names.voice})
      if (!file->empty()) files.push_back(*file);
  return files;
}

ProjectLists SlideshowOpening::Write(const OpenProgress& progress) {
  ProjectLists lists;
  WrittenFiles written(folder_);
  const int count = static_cast<int>(names_.size());
  try {
    for (int i = 0; i < count; ++i) {
      const std::vector<uint8_t> picture = reader_.Image(i);
      // A picture the builder could not read was stored empty, and the show plays its message
      // and voice without one: it comes back as an empty file, which a build stores empty again.
      // A stored picture the player could not show is refused.
      try {
        if (!picture.empty()) DecodeJpeg(picture.data(), picture.size(), 1, 1);
      } catch (const Exception& e) {
        std::string why = e.Message();
        if (why.starts_with("JPEG : ")) why.erase(0, 7);
        throw EOpenSlideshowError("picture " + std::to_string(i + 1) +
                                  " is a damaged JPEG picture (" + why + ")");
      }
      const std::vector<uint8_t> wav = ExpandVoiceRecord(reader_.VoiceContainer(i));
      const std::vector<uint8_t> message = reader_.Read(reader_.MessageRecord(i));
      const Names& names = names_[static_cast<size_t>(i)];
      lists.pictures.push_back(written.Write(names.picture, picture, true));
      lists.messages.push_back(written.Write(names.message, message));
      lists.voices.push_back(wav.empty() ? std::string() : written.Write(names.voice, wav));
      if (progress && !progress(i + 1, count)) throw EOpeningCancelled("cancelled");
    }
    written.Flush();
  } catch (const EOpeningCancelled&) {
    throw;
  } catch (const Exception& e) {
    throw EOpenSlideshowError(Why(e.Message(), name_));
  } catch (const std::bad_alloc&) {
    throw EOpenSlideshowError("There is not enough memory to open it.");
  }
  written.Keep();
  return lists;
}

ProjectLists OpenSlideshow(const std::string& package, const std::string& workFolder,
                           const std::vector<std::string>& inUse, std::time_t when) {
  return SlideshowOpening(package, workFolder, inUse, when).Write();
}

}  // namespace tovak
