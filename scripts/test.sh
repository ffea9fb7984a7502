#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest
# (but the delivered-mix measurement, label mix): first the optimised build and
# clang-tidy, then the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer with bounds-checked arrays. GUI tests run
# offscreen, so no display is needed. Arguments go to both ctest runs. Last,
# the Debian package is built, installed with apt-get, checked and purged
# (tests/package_install.sh; it says when it skips: not root, apt busy).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
for preset in default asan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  # The delivered-mix measurement (label mix) runs on its own: see the README's sound section.
  ctest --preset "$preset" -LE mix "$@"
  # The naming scheme and the checks of .clang-tidy, once, on the optimised build's commands.
  if [[ $preset == default ]]; then scripts/tidy.sh build/default; fi
done
echo "== package"
tests/package_install.sh
