#include "editor/slideshow_opener.h"

#include <filesystem>
#include <system_error>

#include "builder/package_reader.h"
#include "common/atomic_file.h"
#include "common/files.h"
#include "components/jpeg_codec.h"
#include "editor/working_files.h"

namespace fs = std::filesystem;

namespace tovak {

namespace {

// Deletes what an interrupted opening wrote, unless it was handed over.
class WrittenFiles {
 public:
  ~WrittenFiles() {
    if (!keep_)
      for (const std::string& path : paths_) DeleteFileIfExists(path);
  }
  void Keep() { keep_ = true; }

  // Writes bytes under a new working file name; "" for no bytes.
  std::string Write(const std::string& folder, const std::string& extension,
                    const std::vector<uint8_t>& bytes, const std::vector<std::string>& inUse,
                    std::time_t when) {
    if (bytes.empty()) return {};
    return Write(NewWorkingFileName(folder, extension, Taken(inUse), when), bytes);
  }
  // Writes picture number's JPEG under the name that marks it as taken out of a slideshow.
  std::string WritePicture(const std::string& folder, int number, const std::vector<uint8_t>& bytes,
                           const std::vector<std::string>& inUse) {
    return Write(NewOpenedPictureName(folder, number, Taken(inUse)), bytes);
  }

 private:
  std::vector<std::string> Taken(const std::vector<std::string>& inUse) const {
    std::vector<std::string> taken = inUse;
    taken.insert(taken.end(), paths_.begin(), paths_.end());
    return taken;
  }
  std::string Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string error;
    if (!WriteFileAtomically(path, bytes.data(), static_cast<int64_t>(bytes.size()), &error))
      throw EOpenSlideshowError(path + " : " + error);
    paths_.push_back(path);
    return path;
  }

  std::vector<std::string> paths_;
  bool keep_ = false;
};

}  // namespace

void CheckSlideshowFile(const std::string& package) {
  const std::string name = fs::path(package).filename().string();
  std::error_code ec;
  if (fs::is_directory(package, ec))
    throw EOpenSlideshowError(name + " is a folder, not a slideshow.");
  try {
    PackageReader reader;
    reader.Open(package);
  } catch (const Exception& e) {
    throw EOpenSlideshowError(name + " cannot be opened as a slideshow: " + e.Message());
  }
}

bool IsSlideshowToOpen(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return false;
  return UpperExtension(path) == ".EXE" || HasPackageData(path);
}

ProjectLists OpenSlideshow(const std::string& package, const std::string& workFolder,
                           const std::vector<std::string>& inUse, std::time_t when) {
  CheckSlideshowFile(package);
  const std::string name = fs::path(package).filename().string();
  std::error_code ec;

  ProjectLists lists;
  WrittenFiles written;
  try {
    PackageReader reader;
    reader.Open(package);
    fs::create_directories(workFolder, ec);
    for (int i = 0; i < reader.PictureCount(); ++i) {
      const std::vector<uint8_t> picture = reader.Image(i);
      // A picture the builder could not read was stored empty, and the show plays its message
      // and voice without one: it comes back as an empty file, which a build stores empty again.
      // A stored picture the player could not show is refused.
      try {
        if (!picture.empty()) DecodeJpeg(picture.data(), picture.size(), 1, 1);
      } catch (const Exception& e) {
        throw EOpenSlideshowError("picture " + std::to_string(i + 1) + " cannot be decoded (" +
                                  e.Message() + ")");
      }
      const std::vector<uint8_t> wav = ExpandVoiceRecord(reader.VoiceContainer(i));
      const std::vector<uint8_t> message = reader.Read(reader.MessageRecord(i));
      lists.pictures.push_back(written.WritePicture(workFolder, i + 1, picture, inUse));
      lists.messages.push_back(written.Write(workFolder, ".txt", message, inUse, when));
      lists.voices.push_back(written.Write(workFolder, ".wav", wav, inUse, when));
    }
  } catch (const Exception& e) {
    throw EOpenSlideshowError(name + " cannot be opened as a slideshow: " + e.Message());
  }
  written.Keep();
  return lists;
}

}  // namespace tovak
