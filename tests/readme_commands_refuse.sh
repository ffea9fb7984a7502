#!/usr/bin/env bash
# The README check itself: on tests/data/stale_readme.md it must fail, name
# every stale line, and leave the good ones alone.
# Usage: tests/readme_commands_refuse.sh SOURCE_DIR
set -uo pipefail
src=$1
output=$("$src/tests/readme_commands.sh" "$src" "$src/tests/data/stale_readme.md" 1 2>&1)
status=$?
failed=0
if ((status == 0)); then
  echo "the README check passed a stale README:"
  echo "$output"
  exit 1
fi
expected=(
  "./scripts/start.sh is not an executable script"
  "./scripts/tests.sh is not an executable script"
  ".ci/run does not run the test command './scripts/tests.sh'"
  "cmake: no configure preset 'release'"
  "cmake: no build preset 'nightly'"
  "ctest: no test preset 'fuzz'"
  "ctest -R: no test 'NoSuchTest'"
  "build/default/burrow-dash-replay: ./CMakeLists.txt adds no target 'burrow-dash-replay'"
  "build/debug/burrow-dash: no configure preset 'debug'"
  "--target: no target 'no_such_target'"
  "--gtest_filter: no test 'NoSuchSuite.*'"
  "bd_gui_tests: no test function 'noSuchFunction'"
  "scripts/CMakeLists.txt is not an executable script"
  "build/default/tools/no_such_tool: tools/CMakeLists.txt adds no target 'no_such_tool'"
  "--benchmark_filter: no benchmark 'NoSuchCase'"
  "build/fuzz/fuzz_stage_nothing: ./CMakeLists.txt adds no target 'fuzz_stage_nothing'"
  "16 problems"  # the stale lines above and nothing else
)
for text in "${expected[@]}"; do
  grep -qF -- "$text" <<<"$output" || { echo "not reported: $text"; failed=1; }
done
if ((failed)); then
  echo "the README check said:"
  echo "$output"
  exit 1
fi
echo "readme_commands refused the stale README with every stale line named"
