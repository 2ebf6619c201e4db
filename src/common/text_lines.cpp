#include "common/text_lines.h"

#include "common/exception.h"
#include "common/memory_stream.h"

namespace tovak {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

void ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  TMemoryStream file;
  if (!file.LoadFromFile(path)) throw Exception("Cannot open file \"" + path + "\"");
  const auto& bytes = file.Bytes();
  lines = SplitLines(std::string(bytes.begin(), bytes.end()));
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace tovak
