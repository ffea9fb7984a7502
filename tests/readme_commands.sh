#!/usr/bin/env bash
# The README's command lines still match the tree. Reads every code block and
# inline code span of the README, splits them into commands (at &&, ||, |, ;
# and &), and checks the ones that name this project's files and build:
#   - the README's first code block comes before its first "## " heading and
#     holds two commands, both scripts here, and .ci/run runs the second (the
#     test command);
#   - every ./scripts/X or scripts/X exists and is executable;
#   - every --preset names a preset of its kind (cmake: configure, cmake
#     --build: build, ctest: test) as cmake and ctest list them;
#   - every build/P/DIR/NAME has P a configure preset (or <preset>) and NAME a
#     target that DIR/CMakeLists.txt adds (paths ending in / or with a file
#     extension are outputs and pass);
#   - every --target names a target some CMakeLists.txt adds; every ctest -R
#     and --gtest_filter names a test that exists, every --benchmark_filter a
#     benchmark of bench/; a name after bd_gui_tests is a Qt Test function of
#     tests/gui.
# Usage: [VERBOSE=1] tests/readme_commands.sh SOURCE_DIR [README [MIN_COMMANDS]]
set -uo pipefail
src=$1
readme=${2:-$src/README.md}
min_commands=${3:-20}
problems=0
bad() {
  echo "README: $*" >&2
  problems=$((problems + 1))
}

presets() {  # the names cmake or ctest lists, one a line
  (cd "$src" && "$@" --list-presets 2>/dev/null) | sed -n 's/^  "\([^"]*\)".*/\1/p'
}
configure_presets=$(presets cmake)
build_presets=$(presets cmake --build)
test_presets=$(presets ctest)
[[ -n $configure_presets && -n $build_presets && -n $test_presets ]] || bad "cmake lists no presets in $src"

mapfile -t cmake_files < <(find "$src" -name CMakeLists.txt -not -path "$src/build/*")

has_line() {  # list, word
  grep -qxF -- "$2" <<<"$1"
}

target_defined() {  # name [CMakeLists.txt...]: added as an executable, library or custom target
  local name=$1
  shift
  grep -qE "add_(executable|library|custom_target)\([[:space:]]*${name}([[:space:])]|$)" "$@" 2>/dev/null && return 0
  # A name made in a loop: add_executable(fuzz_${target} ...) under foreach(target stage_start stage_file).
  local file var values value made
  for file in "$@"; do
    while read -r var values; do
      for value in $values; do
        while IFS= read -r made; do
          [[ ${made//"\${$var}"/$value} == "$name" ]] && return 0
        done < <(grep -oE "add_(executable|library|custom_target)\([[:space:]]*[^[:space:])]*\\\$\{$var\}[^[:space:])]*" "$file" |
          sed -E 's/^add_[a-z_]+\([[:space:]]*//')
      done
    done < <(sed -nE 's/^[[:space:]]*foreach\(([A-Za-z0-9_]+)[[:space:]]+([^)]*)\).*/\1 \2/p' "$file")
  done
  return 1
}

test_exists() {  # an add_test NAME, or Suite.Case / Suite.* of a GoogleTest test
  local name=$1
  if grep -qE "add_test\(NAME ${name}([[:space:])]|$)" "${cmake_files[@]}"; then return 0; fi
  if [[ $name =~ ^([A-Za-z0-9_]+)\.([A-Za-z0-9_]+|\*)$ ]]; then
    local suite=${BASH_REMATCH[1]} case=${BASH_REMATCH[2]}
    [[ $case == '*' ]] && case='[A-Za-z0-9_]+'
    grep -rqE "TEST(_F|_P)?\(${suite}, ${case}\)" "$src/tests"
    return
  fi
  return 1
}

check_build_path() {  # build/P[/DIR/NAME]
  local path=$1 rest preset
  rest=${path#build/}
  preset=${rest%%/*}
  if [[ $preset != '<preset>' ]] && ! has_line "$configure_presets" "$preset"; then
    bad "$path: no configure preset '$preset'"
    return
  fi
  [[ $rest == "$preset" ]] && return
  rest=${rest#"$preset"/}
  [[ -z $rest || $rest == */ ]] && return  # a folder the build writes into
  [[ /$rest/ =~ /([A-Z]+|<[^>]*>)/ ]] && return  # a pattern such as DIR/NAME, not a path
  local name=${rest##*/} dir=.
  [[ $rest == */* ]] && dir=${rest%/*}
  [[ $name == *.* ]] && return  # a file the build or a tool writes
  if [[ ! -f $src/$dir/CMakeLists.txt ]]; then
    bad "$path: $dir has no CMakeLists.txt, so the build puts nothing there"
  elif ! target_defined "$name" "$src/$dir/CMakeLists.txt"; then
    bad "$path: $dir/CMakeLists.txt adds no target '$name'"
  fi
}

check_command() {  # one command's words
  local words=("$@") i
  # Leading VAR=value assignments set the environment; the command follows.
  while ((${#words[@]})) && [[ ${words[0]} =~ ^[A-Za-z_][A-Za-z0-9_]*= ]]; do words=("${words[@]:1}"); done
  ((${#words[@]})) || return 1
  local program=${words[0]} checked=1
  case $program in
    ./scripts/ | scripts/) checked=0 ;;  # the folder, named in the text
    ./scripts/* | scripts/*)
      [[ -x $src/${program#./} && ! -d $src/${program#./} ]] || bad "$program is not an executable script here" ;;
    build/*) check_build_path "$program" ;;
    cmake | ctest) ;;
    --gtest_filter=* | --benchmark_filter=*) words=("" "${words[@]}") ;;  # an option shown alone
    *) checked=0 ;;
  esac
  local kind=configure
  [[ $program == ctest ]] && kind=test
  for ((i = 1; i < ${#words[@]}; i++)); do
    [[ $program == cmake && ${words[i]} == --build ]] && kind=build
  done
  for ((i = 1; i < ${#words[@]}; i++)); do
    local word=${words[i]} next=${words[i + 1]:-}
    case $word in
      build/*) check_build_path "$word" ;;
      --gtest_filter=*) test_exists "${word#--gtest_filter=}" || bad "--gtest_filter: no test '${word#--gtest_filter=}'" ;;
      --benchmark_filter=*)
        grep -qE "^BENCHMARK\(BM_[A-Za-z0-9_]*${word#--benchmark_filter=}" "$src"/bench/*.cpp ||
          bad "--benchmark_filter: no benchmark '${word#--benchmark_filter=}'"
        ;;
    esac
    if [[ $program == cmake || $program == ctest ]]; then
      case $word in
        --preset)
          local list=$configure_presets
          [[ $kind == build ]] && list=$build_presets
          [[ $kind == test ]] && list=$test_presets
          has_line "$list" "$next" || bad "$program: no $kind preset '$next'"
          ;;
        --target)
          local j
          for ((j = i + 1; j < ${#words[@]}; j++)); do
            [[ ${words[j]} == -* ]] && break
            [[ ${words[j]} == *'<'* ]] && continue
            target_defined "${words[j]}" "${cmake_files[@]}" || bad "--target: no target '${words[j]}'"
          done
          ;;
        -R) [[ $program == ctest ]] && { test_exists "$next" || bad "ctest -R: no test '$next'"; } ;;
      esac
    fi
  done
  # A Qt Test function named after the GUI tests' program.
  if [[ $program == */bd_gui_tests && ${#words[@]} -gt 1 && ${words[1]} != -* ]]; then
    grep -rqE "void ${words[1]}\(\)" "$src/tests/gui" || bad "bd_gui_tests: no test function '${words[1]}'"
  fi
  return $((1 - checked))
}

# The code of the README: fenced lines as they are, then the inline spans of
# each paragraph (a span may run over a line break).
code=$(awk '
  function spans(text) {
    while (match(text, /`[^`]+`/)) {
      print substr(text, RSTART + 1, RLENGTH - 2)
      text = substr(text, RSTART + RLENGTH)
    }
  }
  /^[[:space:]]*```/ { fenced = !fenced; next }
  fenced { print; next }
  /^[[:space:]]*$/ { spans(paragraph); paragraph = ""; next }
  { paragraph = paragraph " " $0 }
  END { spans(paragraph) }' "$readme")

commands=0
while IFS= read -r line; do
  line=$(sed -e 's/ *&& */\n/g; s/ *|| */\n/g; s/ *| */\n/g; s/ *; */\n/g; s/ *& */\n/g' <<<"$line")
  while IFS= read -r command; do
    read -ra words <<<"$command"
    ((${#words[@]})) || continue
    if check_command "${words[@]}"; then
      commands=$((commands + 1))
      [[ -n ${VERBOSE:-} ]] && echo "checked: $command"
    fi
  done <<<"$line"
done <<<"$code"
((commands >= min_commands)) || bad "only $commands commands found; expected at least $min_commands"

# The first code block: before the first heading, two scripts, the second run by CI.
first_block=$(awk '/^[[:space:]]*```/ { if (open) exit; open = 1; next } open && NF' "$readme")
block_line=$(grep -n '^[[:space:]]*```' "$readme" | head -n 1 | cut -d: -f1)
heading_line=$(grep -n '^## ' "$readme" | head -n 1 | cut -d: -f1)
if [[ -z $block_line || (-n $heading_line && $block_line -gt $heading_line) ]]; then
  bad "the first code block (the commands to play and to test) must come before the first heading"
fi
mapfile -t top <<<"$first_block"
if [[ ${#top[@]} -ne 2 ]]; then
  bad "the first code block holds ${#top[@]} lines, not the two commands to play and to test"
else
  test_command=${top[1]}
  ci_run=${CI_RUN:-$src/.ci/run}
  grep -qxE "[[:space:]]*(exec[[:space:]]+)?${test_command//./\\.}([[:space:]].*)?" "$ci_run" ||
    bad ".ci/run does not run the test command '$test_command'"
fi

if ((problems)); then
  echo "$problems problems in $readme" >&2
  exit 1
fi
echo "readme_commands: $commands commands in $readme match the tree"
