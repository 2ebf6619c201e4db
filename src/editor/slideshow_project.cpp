#include "editor/slideshow_project.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "common/atomic_file.h"
#include "common/files.h"
#include "common/text_lines.h"
#include "components/picture_file.h"
#include "editor/working_files.h"

namespace tovak {

namespace fs = std::filesystem;

namespace {

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

std::string FileName(const std::string& path) {
  return fs::path(path).filename().string();
}

std::set<int> Sorted(const std::vector<int>& selected, int count) {
  std::set<int> set;
  for (int i : selected)
    if (i >= 0 && i < count) set.insert(i);
  return set;
}

void DeleteIfExists(const std::string& path) {
  if (!path.empty() && FileExists(path)) DeleteFileIfExists(path);
}

}  // namespace

SlideshowProject::SlideshowProject(std::vector<std::string>& pictureFiles,
                                   std::vector<std::string>& messageFiles,
                                   std::vector<std::string>& voiceFiles, std::string workFolder)
    : pictureFiles_(pictureFiles),
      messageFiles_(messageFiles),
      voiceFiles_(voiceFiles),
      workFolder_(std::move(workFolder)) {
  CheckPicture = [](const std::string& path) { GetFileInfo(path); };
  Load();
}

void SlideshowProject::Load() {
  // The lists are the owner's; keep them in step however they arrive.
  messageFiles_.resize(pictureFiles_.size());
  voiceFiles_.resize(pictureFiles_.size());
  displayItems_.clear();
  ids_.clear();
  for (const std::string& path : pictureFiles_) {
    displayItems_.push_back(FileName(path));
    ids_.push_back(nextId_++);
  }
}

int SlideshowProject::IndexOf(EntryId id) const {
  const auto it = std::find(ids_.begin(), ids_.end(), id);
  return id == kNoEntry || it == ids_.end() ? -1 : static_cast<int>(it - ids_.begin());
}

void SlideshowProject::Append(const std::string& path) {
  displayItems_.push_back(FileName(path));
  pictureFiles_.push_back(path);
  messageFiles_.emplace_back();
  voiceFiles_.emplace_back();
  ids_.push_back(nextId_++);
}

std::string SlideshowProject::ImportFiles(const std::vector<std::string>& paths) {
  const std::string patterns = Upper(ImportPatterns);
  std::string skipped;
  for (const std::string& path : paths) {
    const std::string ext = UpperExtension(path);
    if (ext.empty() || patterns.find(ext) == std::string::npos) {
      skipped += path + "\r";
      continue;
    }
    try {
      const bool duplicate = std::any_of(
          pictureFiles_.begin(), pictureFiles_.end(),
          [&](const std::string& known) { return strcasecmp(known.c_str(), path.c_str()) == 0; });
      if (duplicate) continue;
      // GIF files are decoded only when shown, but one that is not there is no picture. Nor is
      // a FIFO or a device, which is never opened: reading one waits for a writer, or forever.
      if (!FileExists(path)) throw EProjectError("Project : no such file " + path);
      if (ext != ".GIF") CheckPicture(path);
      Append(path);
    } catch (const std::exception&) {
      skipped += path + "\r";
    }
  }
  return skipped;
}

void SlideshowProject::RemoveSelected(const std::vector<int>& selected) {
  const std::set<int> set = Sorted(selected, Count());
  for (auto it = set.rbegin(); it != set.rend(); ++it) {
    const int i = *it;
    pictureFiles_.erase(pictureFiles_.begin() + i);
    DeleteIfExists(messageFiles_[i]);
    messageFiles_.erase(messageFiles_.begin() + i);
    DeleteIfExists(voiceFiles_[i]);
    voiceFiles_.erase(voiceFiles_.begin() + i);
    displayItems_.erase(displayItems_.begin() + i);
    ids_.erase(ids_.begin() + i);
  }
}

void SlideshowProject::Swap(int a, int b) {
  std::swap(pictureFiles_[a], pictureFiles_[b]);
  std::swap(messageFiles_[a], messageFiles_[b]);
  std::swap(voiceFiles_[a], voiceFiles_[b]);
  std::swap(displayItems_[a], displayItems_[b]);
  std::swap(ids_[a], ids_[b]);
}

std::vector<int> SlideshowProject::MoveUp(const std::vector<int>& selected) {
  const std::set<int> set = Sorted(selected, Count());
  if (set.empty() || *set.begin() == 0) return {set.begin(), set.end()};
  std::vector<int> moved;
  for (int i : set) {
    Swap(i, i - 1);
    moved.push_back(i - 1);
  }
  return moved;
}

std::vector<int> SlideshowProject::MoveDown(const std::vector<int>& selected) {
  const std::set<int> set = Sorted(selected, Count());
  if (set.empty() || *set.rbegin() == Count() - 1) return {set.begin(), set.end()};
  std::vector<int> moved;
  for (auto it = set.rbegin(); it != set.rend(); ++it) {
    Swap(*it, *it + 1);
    moved.insert(moved.begin(), *it + 1);
  }
  return moved;
}

std::vector<std::string> SlideshowProject::PathsInUse() const {
  std::vector<std::string> paths = messageFiles_;
  paths.insert(paths.end(), voiceFiles_.begin(), voiceFiles_.end());
  return paths;
}

void SlideshowProject::EnsureWorkFolder() const {
  std::error_code ignored;
  fs::create_directories(workFolder_, ignored);
}

void SlideshowProject::SaveMessage(int t, const std::string& text) {
  if (t < 0 || t >= Count()) return;
  const std::vector<std::string> lines = SplitLines(text);
  if (lines.empty()) {
    DeleteIfExists(messageFiles_[t]);
    messageFiles_[t].clear();
    return;
  }
  std::string path = messageFiles_[t];
  if (path.empty() || !FileExists(path)) {
    path = NewWorkingFileName(workFolder_, ".txt", PathsInUse(), Now());
  }
  EnsureWorkFolder();
  // Written over the old file in one step: a full disk keeps the earlier message.
  std::string error;
  if (!WriteMessageFile(path, lines, &error)) {
    throw EProjectError("Project : the message could not be saved (" + error + ") " + path);
  }
  messageFiles_[t] = path;
}

std::string SlideshowProject::LoadMessage(int i) const {
  if (i < 0 || i >= Count() || messageFiles_[i].empty() || !FileExists(messageFiles_[i])) {
    return {};
  }
  try {
    std::string text;
    const std::vector<std::string> lines = ReadMessageFile(messageFiles_[i]);
    for (size_t k = 0; k < lines.size(); ++k) {
      if (k > 0) text += '\n';
      text += lines[k];
    }
    return text;
  } catch (const std::exception&) {
    return {};
  }
}

void SlideshowProject::SaveRecording(int i, const std::vector<uint8_t>& samples,
                                     const TWaveFormatEx& format) {
  if (i < 0 || i >= Count()) {
    throw EProjectError("Project : there is no picture " + std::to_string(i) +
                        " for the recording");
  }
  TWavStream wav;
  wav.SetFormat(format);
  wav.Write(samples.data(), static_cast<int64_t>(samples.size()));
  const std::string path = NewWorkingFileName(workFolder_, ".wav", PathsInUse(), Now());
  DeleteIfExists(path);
  EnsureWorkFolder();
  wav.SaveToFile(path);
  // The take it replaces was the user's to give up (they were asked before recording).
  if (voiceFiles_[i] != path) DeleteIfExists(voiceFiles_[i]);
  voiceFiles_[i] = path;
}

void SlideshowProject::EraseVoice(const std::vector<int>& selected) {
  for (int i : Sorted(selected, Count())) {
    if (!voiceFiles_[i].empty() && FileExists(voiceFiles_[i])) {
      DeleteFileIfExists(voiceFiles_[i]);
      voiceFiles_[i].clear();
    }
  }
}

void SlideshowProject::Clear() {
  for (const std::string& voice : voiceFiles_) DeleteIfExists(voice);
  for (const std::string& message : messageFiles_) DeleteIfExists(message);
  displayItems_.clear();
  ids_.clear();
  pictureFiles_.clear();
  messageFiles_.clear();
  voiceFiles_.clear();
}

}  // namespace tovak
