#pragma once

#include <initializer_list>
#include <string>
#include <utility>

namespace tovak {

// Fills the "%s" marks of a translated text with values, in order, after translation; a "%s"
// inside a value (a file name) stays as it is.
inline std::string FillPlaceholders(std::string text, std::initializer_list<std::string> values) {
  size_t from = 0;
  for (const std::string& value : values) {
    const size_t at = text.find("%s", from);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    from = at + value.size();
  }
  return text;
}

inline std::string FillPlaceholders(std::string text, const std::string& value) {
  return FillPlaceholders(std::move(text), {value});
}

}  // namespace tovak
