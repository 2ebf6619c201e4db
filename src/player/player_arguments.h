#pragma once

#include <string>
#include <vector>

namespace tovak {

// What a player was asked to do on its command line. Both players read it with one parser, so
// the same words give the same answer, messages and exit status on Linux and on Windows.
struct PlayerArguments {
  bool check = false;
  bool window = false;
  int language = 0;  // 1 to 99 as given, 0 when not given
  std::string path;  // empty for the player's own slideshow
};

// Reads args (args[0] is the program as started). Returns -1 when the player should go on with
// arguments; otherwise the exit status, with what to print in said: the help or the version for
// standard output when it is 0, the complaint about a wrong word for standard error when not.
// Printing is left to the player: the Windows engine first finds its console.
int ReadPlayerArguments(const std::vector<std::string>& args, const char* version,
                        PlayerArguments& arguments, std::string& said);

}  // namespace tovak
