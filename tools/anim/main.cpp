// burrow-dash-apng: puts PNG frames together into an animated PNG; see
// tools/anim/apng_writer.h and scripts/make-docs-pictures.sh.
#include <iostream>
#include <string>
#include <vector>

#include "tools/anim/apng_writer.h"

int main(int argc, char** argv) {
  return bd::anim::ApngMain(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
