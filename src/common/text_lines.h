#pragma once

#include <string>
#include <vector>

namespace tovak {

// Empties lines and adds each line of the text file at path, as the bytes the file holds for it.
// Lines end at CR LF, LF or CR; a last line without a break counts, a final break adds no empty
// line. Throws Exception when the file cannot be read.
void ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// Splits text the same way.
std::vector<std::string> SplitLines(const std::string& text);

// Each line followed by CR LF, the form messages and link menus are stored in.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace tovak
