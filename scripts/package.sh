#!/usr/bin/env bash
# Builds the optimised game and writes the Debian package
# build/package/burrow-dash_VERSION_ARCH.deb (CPack's DEB generator), then
# prints its path. Install it with: sudo apt install ./build/package/burrow-dash_*.deb
# Only what the package holds is built; Debian's hardening flags come from
# dpkg-buildflags (all of them), without debug information: the package is stripped.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cmake --preset package -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build --preset package
rm -f build/package/*.deb
cpack --preset package >build/package/cpack.log || { cat build/package/cpack.log >&2; exit 1; }
deb=(build/package/burrow-dash_*.deb)
[[ -f ${deb[0]} && ${#deb[@]} -eq 1 ]] || { echo "package.sh: cpack wrote no single package" >&2; exit 1; }
echo "${deb[0]}"
