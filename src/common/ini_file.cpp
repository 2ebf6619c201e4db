#include "common/ini_file.h"

// The system library is built with ICU conversion; the header must agree with it.
#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <cctype>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "common/atomic_file.h"
#include "common/files.h"

namespace tovak {

struct IniFile::Data {
  std::unique_ptr<CSimpleIniA> ini = Fresh();

  static std::unique_ptr<CSimpleIniA> Fresh() {
    return std::make_unique<CSimpleIniA>(/*isUtf8=*/true, /*multiKey=*/false,
                                         /*multiLine=*/false);
  }
};

namespace {

std::string Trim(const std::string& s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(s[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(s[end - 1]))) --end;
  return s.substr(begin, end - begin);
}

// Only a regular file is read: the library takes a folder's or a device's size at face value
// and asks for an impossible amount of memory, and a FIFO would never end.
bool Load(const std::string& path, CSimpleIniA& ini) {
  return FileExists(path) && ini.LoadFile(path.c_str()) == SI_OK;
}

}  // namespace

bool ParseProfileInteger(const std::string& raw, int32_t& value) {
  const std::string text = Trim(raw);
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
  int base = 10;
  if (pos < text.size() && text[pos] == '$') {
    base = 16;
    ++pos;
  } else if (pos + 1 < text.size() && text[pos] == '0' &&
             (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  }
  if (pos >= text.size()) return false;
  // Unsigned, so that a second sign ("--5", "+-5") is not a number either.
  uint64_t magnitude = 0;
  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, magnitude, base);
  if (error != std::errc() || end != last) return false;
  if (magnitude > (negative ? uint64_t{1} << 31 : uint64_t{INT32_MAX})) return false;
  const int64_t signedValue =
      negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  value = static_cast<int32_t>(signedValue);
  return true;
}

IniFile::IniFile(std::string path) : path_(std::move(path)), data_(std::make_unique<Data>()) {
  loaded_ = Load(path_, *data_->ini);
  if (!loaded_) data_->ini->Reset();
}

IniFile::~IniFile() = default;

bool IniFile::SectionExists(const std::string& section) const {
  return data_->ini->GetSectionSize(section.c_str()) >= 0;
}

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
  return data_->ini->GetValue(section.c_str(), key.c_str()) != nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  const char* value = data_->ini->GetValue(section.c_str(), key.c_str());
  if (!value) return defaultValue;
  std::string text = Trim(value);
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
      text.back() == text.front()) {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                             int32_t defaultValue) const {
  int32_t value = 0;
  return ParseProfileInteger(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key,
                       bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value, std::string* error) {
  // Another writer may have changed the file since it was read; keep what it wrote.
  auto current = Data::Fresh();
  if (Load(path_, *current)) data_->ini = std::move(current);
  data_->ini->SetValue(section.c_str(), key.c_str(), value.c_str());
  std::string text;
  if (data_->ini->Save(text, /*addSignature=*/false) != SI_OK) {
    if (error) *error = "the settings could not be put together";
    return false;
  }
  // A settings file kept elsewhere through a link (a dotfiles folder) is written where it
  // really lives, and the link stays.
  std::error_code ignored;
  std::string target = path_;
  if (std::filesystem::is_symlink(path_, ignored)) {
    const std::filesystem::path real = std::filesystem::canonical(path_, ignored);
    if (!real.empty()) target = real.string();
  }
  // Written whole to a temporary name and renamed: a full disk or a crash leaves the old file.
  if (!WriteFileAtomically(target, text.data(), static_cast<int64_t>(text.size()), error))
    return false;
  loaded_ = true;
  return true;
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value,
                           std::string* error) {
  return WriteString(section, key, std::to_string(value), error);
}

bool IniFile::WriteBool(const std::string& section, const std::string& key, bool value,
                        std::string* error) {
  return WriteString(section, key, value ? "1" : "0", error);
}

}  // namespace tovak
