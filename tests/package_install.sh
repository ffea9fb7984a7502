#!/usr/bin/env bash
# The Debian package, installed for real: scripts/package.sh builds it, lintian
# checks it, apt-get installs it with its dependencies from the archive (no
# recommends), then the installed game, its entry, manual page, metadata and
# MIME type are checked; apt-get purge takes it away and nothing of it may be
# left. It changes the machine, so it runs only as root with the dpkg lock
# free and burrow-dash not installed already; otherwise it says it skipped and
# why. Run by scripts/test.sh.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
name=package_install
skip() {
  echo "$name: SKIPPED: $*"
  exit 0
}
failures=0
fail() {
  echo "$name: FAILED: $*" >&2
  failures=$((failures + 1))
}

[[ $(id -u) -eq 0 ]] || skip "not root: it installs and purges a package"
before=$(dpkg-query -W -f='${Status}' burrow-dash 2>/dev/null)
[[ -z $before || $before == *not-installed ]] ||
  skip "burrow-dash is on this machine already ($before); the test would remove it"

work=$(mktemp -d)
started=0
apt() {  # waits up to five minutes for another apt or dpkg to finish
  DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout=300 "$@" >"$work/apt.log" 2>&1
}
purge() {
  apt purge burrow-dash || { cat "$work/apt.log" >&2; fail "apt-get purge burrow-dash"; }
}
# Whatever stops the test, even a half-done install, the package does not
# stay: it was not installed before, so any trace of it is this test's.
trap '((started)) && dpkg-query -W burrow-dash >/dev/null 2>&1 && purge; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

scripts/package.sh | tee "$work/package.log" || { echo "$name: FAILED: scripts/package.sh" >&2; exit 1; }
deb=$(tail -n 1 "$work/package.log")

lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 || fail "lintian: $(cat "$work/lintian.txt")"

started=1
if ! apt install --no-install-recommends "$PWD/$deb"; then
  grep -qE 'Could not get lock|Unable to acquire the dpkg frontend lock' "$work/apt.log" &&
    skip "apt is busy: $(grep -m 1 -E 'Could not get lock|Unable to acquire' "$work/apt.log")"
  cat "$work/apt.log" >&2
  echo "$name: FAILED: apt-get install $deb" >&2
  exit 1
fi
dpkg -L burrow-dash >"$work/files.txt"
version=$(dpkg-query -W -f='${Version}' burrow-dash)
[[ $deb == */burrow-dash_${version}_$(dpkg --print-architecture).deb ]] ||
  fail "package $deb does not carry version $version"

game=/usr/games/burrow-dash
said=$("$game" --version 2>&1)
[[ $said == "burrow-dash $version" ]] || fail "burrow-dash --version says '$said', not 'burrow-dash $version'"

# A friend's stage file, played offscreen; SDL's disk driver records the sound.
cp tests/fuzz/seeds/stage_file/builtin_1_6 "$work/friend.bds"
mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/played.raw \
  timeout 4 "$game" "$work/friend.bds" >"$work/game.log" 2>&1
status=$?
((status == 124)) || fail "the installed game stopped with a stage file (status $status): $(cat "$work/game.log")"
# The first quarter second may be silent; after it the stage's music plays.
sounding=$(tail -c +44101 "$work/played.raw" 2>/dev/null | head -c 352800 | tr -d '\0' | wc -c)
((sounding > 0)) || fail "the installed game played nothing but silence"

entry=/usr/share/applications/burrow-dash.desktop
said=$(desktop-file-validate "$entry" 2>&1) && [[ -z $said ]] || fail "desktop-file-validate $entry: $said"
# dpkg's triggers updated the MIME and desktop databases: *.bds is a type the game opens.
type=application/x-burrow-dash-stages
grep -qE ":$type:\*\.bds$" /usr/share/mime/globs2 || fail "the MIME database does not map *.bds to $type"
grep -qxF "$type=burrow-dash.desktop;" /usr/share/applications/mimeinfo.cache ||
  fail "the desktop database does not open $type with burrow-dash.desktop"

page=/usr/share/man/man6/burrow-dash.6.gz
if [[ -f $page ]]; then
  [[ $(man -w burrow-dash 2>&1) == "$page" ]] || fail "man does not find $page"
  said=$(man --warnings -l "$page" 2>&1 >/dev/null) && [[ -z $said ]] || fail "man --warnings: $said"
else
  fail "$page is not installed (a path-exclude in /etc/dpkg/dpkg.cfg.d?)"
fi
metainfo=$(grep -m 1 '^/usr/share/metainfo/.*\.metainfo\.xml$' "$work/files.txt")
said=$(appstreamcli validate --no-net "$metainfo" 2>&1) && ! grep -qE '^(E|W):' <<<"$said" ||
  fail "appstreamcli validate --no-net $metainfo: $said"

purge
dpkg-query -W burrow-dash >/dev/null 2>&1 && fail "dpkg still knows burrow-dash after the purge"
# Every path the package had is gone, but for folders other packages share.
while IFS= read -r path; do
  [[ $path != /. && ( -e $path || -L $path ) ]] || continue
  [[ -d $path && ! -L $path ]] && dpkg -S "$path" >/dev/null 2>&1 && continue
  fail "left behind after the purge: $path"
done <"$work/files.txt"
grep -qF "$type" /usr/share/mime/globs2 && fail "the MIME database still knows $type after the purge"
grep -qF burrow-dash.desktop /usr/share/applications/mimeinfo.cache &&
  fail "the desktop database still names burrow-dash.desktop after the purge"

if ((failures)); then
  echo "$name: $failures check(s) failed" >&2
  exit 1
fi
echo "$name: passed: $deb ($(stat -c %s "$deb") bytes) installed, checked and purged"
