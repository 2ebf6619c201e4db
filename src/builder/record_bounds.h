#pragma once

#include <string>
#include <vector>

namespace tovak {

// Why the messages and voices of a build cannot go into a slideshow, naming the first file
// whose record a player would refuse as damaged: a message larger than a player reads, a voice
// larger or longer than it plays (package_format.h). Empty when every file fits, is missing or
// is unnamed. Reads no more of a voice than its header, nor of a message that is too large by
// its size alone.
std::string RecordBoundsProblem(const std::vector<std::string>& messages,
                                const std::vector<std::string>& voices);

// Whether a link menu list (as ReadLinkMenu gives it) is one every player reads: no more links
// or languages, nor bytes, than a show's menu may hold.
bool LinkMenuFitsAShow(const std::vector<std::string>& list);

}  // namespace tovak
