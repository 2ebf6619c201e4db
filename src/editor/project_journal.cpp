#include "editor/project_journal.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/atomic_file.h"
#include "common/files.h"
#include "editor/working_files.h"

namespace tovak {

namespace {

constexpr char kFormat[] = "Tovak project journal";
// Version 1 named message and voice files by absolute path; version 2 names them by file name
// alone, so that the journal still fits its files after the folder has moved; version 3 names
// the opened pictures so too and adds the other files the program owns there. An older program
// would read the bare names as relative to wherever it was started, so it is kept out. The
// slideshow a project was opened from is an optional key that older programs pass over: they
// restore the project without its name, which loses nothing, so it needs no new version.
constexpr int kVersion = 3;
constexpr int kOldestVersion = 1;
// Far beyond any real project; a larger file is not a journal and is not read into memory.
constexpr int64_t kMaxJournalBytes = 64 << 20;

// JSON holds text only: a name that is not UTF-8 would come back as a different name.
bool ToJson(const std::vector<std::string>& list, QJsonArray* out, std::string* bad) {
  for (const std::string& item : list) {
    const QString text = QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size()));
    const QByteArray back = text.toUtf8();
    if (std::string(back.constData(), static_cast<size_t>(back.size())) != item) {
      *bad = item;
      return false;
    }
    out->append(text);
  }
  return true;
}

std::vector<std::string> FromJson(const QJsonObject& root, const char* key, const std::string& path,
                                  bool optional = false) {
  const QJsonValue value = root.value(QLatin1String(key));
  if (optional && value.isUndefined()) return {};
  if (!value.isArray())
    throw EProjectJournalError("The project journal \"" + path + "\" has no list of " + key + ".");
  std::vector<std::string> list;
  for (const QJsonValue& item : value.toArray()) {
    if (!item.isString())
      throw EProjectJournalError("The project journal \"" + path + "\" has a damaged list of " +
                                 key + ".");
    list.push_back(item.toString().toStdString());
  }
  return list;
}

// Message and voice files always lie in the journal's own folder.
std::string NameOnly(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::vector<std::string> NamesOnly(const std::vector<std::string>& paths) {
  std::vector<std::string> names;
  for (const std::string& path : paths) names.push_back(NameOnly(path));
  return names;
}

// Whatever folder a name came with (an older journal's absolute path, or a damaged one's
// "../.."), the file is looked for in the journal's folder and nowhere else.
void InFolder(std::vector<std::string>& list, const std::filesystem::path& folder) {
  for (std::string& entry : list) {
    const std::string name = NameOnly(entry);
    entry = name.empty() || name == "." || name == ".." ? std::string() : (folder / name).string();
  }
}

// An opened picture is named as it lies in the journal's folder; any other picture by the path
// it came with, save that a bare name that could pass for such a picture is made absolute, so
// that it is never looked for in the folder.
std::vector<std::string> PicturesToNote(const std::vector<std::string>& pictures,
                                        const std::filesystem::path& folder) {
  std::vector<std::string> noted;
  noted.reserve(pictures.size());
  for (const std::string& picture : pictures) {
    const std::filesystem::path file(picture);
    if (!IsOpenedPictureName(file.filename().string())) {
      noted.push_back(picture);
    } else if (IsOpenedPicture(picture, folder.string())) {
      noted.push_back(file.filename().string());
    } else if (picture != file.filename().string()) {
      noted.push_back(picture);
    } else {
      std::error_code code;
      const std::filesystem::path absolute = std::filesystem::absolute(file, code);
      noted.push_back(code ? picture : absolute.string());
    }
  }
  return noted;
}

// The reverse of PicturesToNote. Older journals noted opened pictures by full path: one that is
// no longer there but lies in the journal's folder was moved with it.
void PicturesInFolder(std::vector<std::string>& pictures, const std::filesystem::path& folder,
                      int version) {
  for (std::string& picture : pictures) {
    const std::filesystem::path file(picture);
    const std::string name = file.filename().string();
    if (!IsOpenedPictureName(name)) continue;
    if (version >= 3) {
      if (picture == name) picture = (folder / name).string();
    } else if (file.is_absolute() && !FileExists(picture) && FileExists((folder / name).string())) {
      picture = (folder / name).string();
    }
  }
}

}  // namespace

bool WriteProjectJournal(const std::string& path, const ProjectLists& lists,
                         const std::set<std::string>& owned, const std::string& slideshow,
                         std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (lists.messages.size() != lists.pictures.size() ||
      lists.voices.size() != lists.pictures.size())
    return fail("the picture, message and voice lists differ in length");
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  QJsonArray pictures, messages, voices, others;
  std::string bad;
  if (!ToJson(PicturesToNote(lists.pictures, folder), &pictures, &bad) ||
      !ToJson(NamesOnly(lists.messages), &messages, &bad) ||
      !ToJson(NamesOnly(lists.voices), &voices, &bad) ||
      !ToJson(NamesOnly({owned.begin(), owned.end()}), &others, &bad))
    return fail("the file name \"" + bad + "\" is not UTF-8");
  QJsonObject root;
  root.insert("format", QLatin1String(kFormat));
  root.insert("version", kVersion);
  root.insert("pictures", pictures);
  root.insert("messages", messages);
  root.insert("voices", voices);
  if (!others.isEmpty()) root.insert("owned", others);
  // Only the name is lost with a path JSON cannot hold, so the journal is written without it.
  if (QJsonArray opened; !slideshow.empty() && ToJson({slideshow}, &opened, &bad))
    root.insert("slideshow", opened.first());
  const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Compact);
  return WriteFileAtomically(path, bytes.constData(), bytes.size(), error);
}

ProjectLists ReadProjectJournal(const std::string& path, std::vector<std::string>* owned,
                                std::string* slideshow) {
  const int64_t size = FileSize(path);
  if (size < 0) throw EProjectJournalError("The project journal \"" + path + "\" is missing.");
  if (size > kMaxJournalBytes)
    throw EProjectJournalError("The project journal \"" + path + "\" is too large.");
  std::ifstream in(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in && !in.eof())
    throw EProjectJournalError("The project journal \"" + path + "\" cannot be read.");

  QJsonParseError parse;
  const QJsonDocument document = QJsonDocument::fromJson(
      QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())), &parse);
  if (parse.error != QJsonParseError::NoError || !document.isObject() ||
      document.object().value("format").toString() != QLatin1String(kFormat))
    throw EProjectJournalError("\"" + path + "\" is not a project journal or is damaged.");
  const QJsonObject root = document.object();
  const QJsonValue version = root.value("version");
  if (!version.isDouble() || version.toDouble() < kOldestVersion || version.toDouble() > kVersion ||
      version.toDouble() != version.toInt())
    throw EProjectJournalError("The project journal \"" + path +
                               "\" was written by another version of the program.");

  ProjectLists lists{FromJson(root, "pictures", path), FromJson(root, "messages", path),
                     FromJson(root, "voices", path)};
  if (lists.messages.size() != lists.pictures.size() ||
      lists.voices.size() != lists.pictures.size())
    throw EProjectJournalError("The project journal \"" + path +
                               "\" is damaged: its lists differ in length.");
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  InFolder(lists.messages, folder);
  InFolder(lists.voices, folder);
  PicturesInFolder(lists.pictures, folder, version.toInt());
  if (owned) {
    *owned = FromJson(root, "owned", path, true);
    InFolder(*owned, folder);
    std::erase(*owned, std::string());
  }
  if (slideshow) *slideshow = root.value("slideshow").toString().toStdString();
  return lists;
}

}  // namespace tovak
