#include "editor/working_files.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <strings.h>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "common/atomic_file.h"
#include "common/file_stream.h"
#include "common/files.h"
#include "common/text_lines.h"

namespace tovak {

namespace fs = std::filesystem;

namespace {

// The user's locale for times and character sets, without touching the process-wide locale.
struct UserLocale {
  locale_t locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
  UserLocale() {
    if (!locale)
      locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
  }
  ~UserLocale() {
    if (locale) freelocale(locale);
  }
};

const UserLocale& Locale() {
  static const UserLocale user;
  return user;
}

std::string CodeSet() {
  const char* set = Locale().locale ? nl_langinfo_l(CODESET, Locale().locale) : nullptr;
  return set ? set : "UTF-8";
}

// The C locale reports ASCII; no one writes messages in plain ASCII on purpose, so UTF-8 is
// the sensible reading there.
bool UsesUtf8() {
  const std::string set = CodeSet();
  return strcasecmp(set.c_str(), "UTF-8") == 0 || strcasecmp(set.c_str(), "utf8") == 0 ||
         set == "ANSI_X3.4-1968" || strcasecmp(set.c_str(), "ASCII") == 0;
}

std::string Convert(const std::string& text, const std::string& to, const std::string& from) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return text;
  std::string out;
  out.resize(text.size() * 4 + 16);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      if (outLeft == 0) break;
      // A character the other side has no place for becomes '?'.
      *outPtr++ = '?';
      --outLeft;
      ++in;
      --inLeft;
      while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80 && from == "UTF-8") {
        ++in;
        --inLeft;
      }
    }
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

// Names are compared as the program's other lists compare them: ASCII letters in either case.
std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string OpenedPictureBase(const std::string& folder, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", number);
  return (fs::path(folder) / (kOpenedPicturePrefix + std::string(digits))).string();
}

bool NameInUse(const std::string& path, const std::vector<std::string>& inUse) {
  // Anything already there, a folder or a dangling link too, takes the name.
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(path, error))) return true;
  return std::any_of(inUse.begin(), inUse.end(), [&](const std::string& used) {
    return strcasecmp(used.c_str(), path.c_str()) == 0;
  });
}

}  // namespace

std::string TimeBasedName(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  const char* format = Locale().locale ? nl_langinfo_l(T_FMT, Locale().locale) : "%H:%M:%S";
  if (!format || !*format) format = "%H:%M:%S";
  char buffer[128] = {};
  if (Locale().locale) {
    strftime_l(buffer, sizeof buffer, format, &local, Locale().locale);
  } else {
    strftime(buffer, sizeof buffer, "%H:%M:%S", &local);
  }
  std::string name;
  for (const char c : std::string(buffer)) {
    if (c == ':') continue;
    name += (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  return name.empty() ? "recording" : name;
}

std::string NewWorkingFileName(const std::string& folder, const std::string& extension,
                               const std::vector<std::string>& inUse, std::time_t when) {
  const std::string base = (fs::path(folder) / TimeBasedName(when)).string();
  std::string path = base + extension;
  for (int n = 2; NameInUse(path, inUse); ++n) path = base + "_" + std::to_string(n) + extension;
  return path;
}

std::string NewOpenedPictureName(const std::string& folder, int number,
                                 const std::vector<std::string>& inUse) {
  const std::string base = OpenedPictureBase(folder, number);
  std::string path = base + ".jpg";
  for (int n = 2; NameInUse(path, inUse); ++n) path = base + "_" + std::to_string(n) + ".jpg";
  return path;
}

WorkingFileNames::WorkingFileNames(const std::string& folder, const std::vector<std::string>& inUse)
    : folder_(folder) {
  for (const std::string& used : inUse) taken_.insert(Lower(used));
  std::error_code code;
  for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code))
    taken_.insert(Lower((fs::path(folder) / it->path().filename()).string()));
}

std::string WorkingFileNames::NewFile(const std::string& extension, std::time_t when) {
  return Pick((fs::path(folder_) / TimeBasedName(when)).string(), extension);
}

std::string WorkingFileNames::NewOpenedPicture(int number) {
  return Pick(OpenedPictureBase(folder_, number), ".jpg");
}

std::string WorkingFileNames::Pick(const std::string& base, const std::string& extension) {
  std::string path = base + extension;
  int& next = next_[Lower(path)];
  next = std::max(next, 2);
  while (taken_.count(Lower(path))) path = base + "_" + std::to_string(next++) + extension;
  taken_.insert(Lower(path));
  return path;
}

bool IsOpenedPictureName(const std::string& name) {
  return name.size() > sizeof kOpenedPicturePrefix + 3 && name.starts_with(kOpenedPicturePrefix) &&
         name.ends_with(".jpg");
}

bool IsOpenedPicture(const std::string& path, const std::string& workFolder) {
  const fs::path file(path);
  return IsOpenedPictureName(file.filename().string()) &&
         SameFile(file.parent_path().string(), workFolder);
}

std::string ToMessageEncoding(const std::string& utf8) {
  return UsesUtf8() ? utf8 : Convert(utf8, CodeSet(), "UTF-8");
}

std::string FromMessageEncoding(const std::string& text) {
  return UsesUtf8() ? text : Convert(text, "UTF-8", CodeSet());
}

bool WriteMessageFile(const std::string& path, const std::vector<std::string>& lines,
                      std::string* error) {
  const std::string text = ToMessageEncoding(JoinLinesCrLf(lines));
  return WriteFileAtomically(path, text.data(), static_cast<int64_t>(text.size()), error);
}

std::vector<std::string> ReadMessageFile(const std::string& path) {
  std::vector<std::string> lines;
  ReadTextLines(path, lines);
  for (std::string& line : lines) line = FromMessageEncoding(line);
  return lines;
}

}  // namespace tovak
