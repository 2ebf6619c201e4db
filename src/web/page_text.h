#pragma once

namespace tovak {

// The web slideshow's page: its markup with {{...}} places to fill, its style and its script,
// built into the program from the files in page/.
extern const char* const kWebPageHtml;
extern const char* const kWebPageStyle;
extern const char* const kWebPageScript;

}  // namespace tovak
