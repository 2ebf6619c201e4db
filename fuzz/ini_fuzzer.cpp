// Settings files: every section and key the text itself names is read back in each way, and
// every value is checked against a plain reading of the profile integer format.

#include <cctype>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/ini_file.h"
#include "harness.h"

namespace {

using tovak::fuzz::Fail;

std::string Trim(const std::string& s) {
  size_t begin = 0, end = s.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(s[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(s[end - 1]))) --end;
  return s.substr(begin, end - begin);
}

// Decimal with an optional sign, or hexadecimal after "$" or "0x", within 32 bits.
bool PlainInteger(const std::string& raw, int32_t& value) {
  const std::string text = Trim(raw);
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  int base = 10;
  if (text.compare(pos, 1, "$") == 0) {
    base = 16, pos += 1;
  } else if (text.compare(pos, 2, "0x") == 0 || text.compare(pos, 2, "0X") == 0) {
    base = 16, pos += 2;
  }
  if (pos >= text.size()) return false;
  uint64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const char c = char(std::tolower(static_cast<unsigned char>(text[pos])));
    int digit = 99;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit >= base) return false;
    magnitude = std::min<uint64_t>(magnitude * base + digit, uint64_t{1} << 40);
  }
  if (magnitude > (negative ? uint64_t{1} << 31 : uint64_t{INT32_MAX})) return false;
  value = int32_t(negative ? -int64_t(magnitude) : int64_t(magnitude));
  return true;
}

// The sections and keys the text names, in the order it names them.
std::vector<std::pair<std::string, std::string>> Names(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> names;
  std::string section;
  size_t pos = 0;
  while (pos < text.size() && names.size() < 64) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.starts_with('[')) {
      section = Trim(line.substr(1, line.find(']') - 1));
    } else if (const size_t equals = line.find('='); equals != std::string::npos) {
      names.emplace_back(section, Trim(line.substr(0, equals)));
    }
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  int32_t parsed = 0, plain = 0;
  const bool isNumber = tovak::ParseProfileInteger(text, parsed);
  if (isNumber != PlainInteger(text, plain) || (isNumber && parsed != plain)) {
    Fail("INI: ParseProfileInteger does not read the number as written");
  }

  static const std::string path = tovak::fuzz::ScratchFile("settings.ini");
  tovak::fuzz::WriteInput(path, data, size);
  const tovak::IniFile ini(path);
  for (const auto& [section, key] : Names(text)) {
    ini.SectionExists(section);
    const bool exists = ini.ValueExists(section, key);
    const std::string value = ini.ReadString(section, key, "\x01");
    if (!exists && value != "\x01") Fail("INI: a missing key gave a value");
    const bool isInteger = PlainInteger(value, plain);
    const int32_t integer = ini.ReadInteger(section, key, -7);
    if (isInteger ? integer != plain : integer != -7) Fail("INI: ReadInteger misread the value");
    if (ini.ReadBool(section, key, true) != (isInteger ? plain != 0 : true)) {
      Fail("INI: ReadBool misread the value");
    }
  }
  return 0;
}
