#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through ctest.
# GUI tests run offscreen, so no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
export QT_QPA_PLATFORM=offscreen
ctest --preset default "$@"
