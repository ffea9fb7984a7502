// bd_make_icons SVG OUTDIR: the desktop icons, run by the build; see icons.h.
#include <iostream>
#include <string>
#include <vector>

#include "tools/icons/icons.h"

int main(int argc, char** argv) {
  return bd::icons::MakeIconsMain(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
