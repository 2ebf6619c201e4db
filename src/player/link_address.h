#pragma once

#include <string>
#include <string_view>

namespace tovak {

// A slideshow comes from anyone, so of its links only web and mail addresses may be opened: a
// "file:" or script address handed to the desktop would run or reveal things on the viewer's
// machine. Returns the address to open (cut as a browser cuts it: no surrounding spaces or
// controls, no tabs or line breaks) when its scheme is http, https or mailto in any letter case,
// and an empty string for anything else. Every player and the web page share this rule.
std::string OpenableLinkAddress(std::string_view address);

}  // namespace tovak
