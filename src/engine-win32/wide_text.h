#pragma once

#include <string>

namespace tovak {

// The core speaks UTF-8, Windows speaks UTF-16.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

}  // namespace tovak
