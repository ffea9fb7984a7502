// burrow-dash-replay: plays a stage on the real core without a window; see
// the README's developer section for the options and the key-script format.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "tools/replay/replay.h"

int main(int argc, char** argv) {
  // A write past a file-size limit fails with its reason, and is reported.
  std::signal(SIGXFSZ, SIG_IGN);
  std::ios::sync_with_stdio(false);
  return bd::replay::ReplayMain(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
