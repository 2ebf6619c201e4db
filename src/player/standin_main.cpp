// Stands in for the slideshow player until it is built, so that every package is complete and
// says what it is when started.
#include <cstdio>

int main(int argc, char** argv) {
  std::fprintf(stderr,
               "%s: this is a Quillora Tovak! talking slideshow, but the slideshow player is not "
               "built yet.\nUse 'tovak-cli info' or 'tovak-cli extract' to look inside it.\n",
               argc > 0 ? argv[0] : "slideshow");
  return 1;
}
