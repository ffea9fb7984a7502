#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, and only the missing ones.
# Runs as root, or through sudo when started by a normal user.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev zlib1g-dev
  libsdl2-dev libsdl2-mixer-dev timgm6mb-soundfont fluid-soundfont-gm
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-format clang-tidy xvfb xauth fonts-dejavu-core openbox
  desktop-file-utils shared-mime-info
  dpkg-dev lintian appstream man-db
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo." >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
