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

namespace tovak {

namespace {

constexpr char kFormat[] = "Tovak project journal";
// Version 1 named message and voice files by absolute path; version 2 names them by file name
// alone, so that the journal still fits its files after the folder has moved. An older program
// would read the bare names as relative to wherever it was started, so it is kept out.
constexpr int kVersion = 2;
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

std::vector<std::string> FromJson(const QJsonObject& root, const char* key,
                                  const std::string& path) {
  const QJsonValue value = root.value(QLatin1String(key));
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

}  // namespace

bool WriteProjectJournal(const std::string& path, const ProjectLists& lists, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (lists.messages.size() != lists.pictures.size() ||
      lists.voices.size() != lists.pictures.size())
    return fail("the picture, message and voice lists differ in length");
  QJsonArray pictures, messages, voices;
  std::string bad;
  if (!ToJson(lists.pictures, &pictures, &bad) ||
      !ToJson(NamesOnly(lists.messages), &messages, &bad) ||
      !ToJson(NamesOnly(lists.voices), &voices, &bad))
    return fail("the file name \"" + bad + "\" is not UTF-8");
  QJsonObject root;
  root.insert("format", QLatin1String(kFormat));
  root.insert("version", kVersion);
  root.insert("pictures", pictures);
  root.insert("messages", messages);
  root.insert("voices", voices);
  const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Compact);
  return WriteFileAtomically(path, bytes.constData(), bytes.size(), error);
}

ProjectLists ReadProjectJournal(const std::string& path) {
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
  return lists;
}

}  // namespace tovak
