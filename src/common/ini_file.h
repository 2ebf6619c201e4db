#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tovak {

// A settings file in the classic profile format: [sections] of key=value lines, names matched
// without regard to letter case. Reading never fails: a missing file, section or key gives the
// default, and an integer that is not a number reads as its default. Each write updates the file
// at once, creating it when needed and keeping every other key; the file is replaced whole, so
// a full disk or a crash leaves the old one as it was.
class IniFile {
 public:
  explicit IniFile(std::string path);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::string& Path() const { return path_; }
  // Whether the file existed and could be read when the object was made or last written.
  bool Loaded() const { return loaded_; }

  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  // Surrounding spaces are dropped, and one pair of matching quotes around the value.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // Decimal with an optional sign, or hexadecimal after "$" or "0x".
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t defaultValue) const;
  // Any non-zero integer is true.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

  // Each returns false, with the reason in error when given, when the file could not be written
  // (the value is kept in memory).
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   std::string* error = nullptr);
  bool WriteInteger(const std::string& section, const std::string& key, int32_t value,
                    std::string* error = nullptr);
  bool WriteBool(const std::string& section, const std::string& key, bool value,
                 std::string* error = nullptr);

 private:
  struct Data;
  std::string path_;
  std::unique_ptr<Data> data_;
  bool loaded_ = false;
};

// The integer a profile value stands for, or nothing when it is not a number.
bool ParseProfileInteger(const std::string& text, int32_t& value);

}  // namespace tovak
