#!/usr/bin/env bash
# How many plausible faults do the unit tests catch? Each mutant of
# tools/mutants.txt is put into the source tree on its own, refuel_tests is
# rebuilt and run, and the file is put back exactly as it was.
#
#   tools/mutation_check.sh [-n] BUILD_DIR [ID...]
#
# BUILD_DIR must be configured from this tree. With IDs, only those mutants
# run; -n only checks that every anchor is still there (nothing is built).
# Prints "id caught|survived|gone|invalid" per mutant, then the share caught
# among those that built.
#
# mutants.txt, one mutant a line, fields separated by tabs:
#   id  file-under-the-tree  anchor  replacement
# The anchor must occur exactly once in the file, or the mutant is "gone"
# (the code moved on; re-anchor it). "\n" in the anchor or the replacement
# stands for a line break. Blank lines and lines starting with # are skipped.
set -u

root=$(cd "$(dirname "$0")/.." && pwd -P)
list=$root/tools/mutants.txt
dry=0
if [[ ${1:-} == -n ]]; then
  dry=1
  shift
fi
if [[ $# -lt 1 ]]; then
  echo "usage: $0 [-n] BUILD_DIR [ID...]" >&2
  exit 2
fi
build=$(cd "$1" && pwd -P) || exit 2
shift
wanted=" $* "

# A build of another tree would not see the mutants: all would survive.
home=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt" 2>/dev/null)
if [[ -z $home || $(cd "$home" && pwd -P) != "$root" ]]; then
  echo "$build is not a build configured from $root" >&2
  exit 2
fi

# The original of the file under mutation is kept in the build folder, so a
# run killed outright is undone by the next one.
saved=$build/mutation_check.saved
saved_path=$build/mutation_check.path

restore() {
  [[ -f $saved_path ]] || return 0
  local target
  target=$(<"$saved_path")
  # No -p: the restored file must be newer than the mutant's object file.
  if cp "$saved" "$target" && cmp -s "$saved" "$target"; then
    rm -f "$saved_path" "$saved"
  else
    echo "could not restore $target: its original is $saved" >&2
  fi
}
trap restore EXIT
trap 'exit 130' INT TERM HUP
restore
[[ -f $saved_path ]] && exit 1

build_tests() {
  cmake --build "$build" -j2 --target refuel_tests >/dev/null 2>&1
}
# --foreground lets Ctrl-C reach the tests; a timeout or a crash is a failure.
run_tests() {
  (cd "$build" && timeout --foreground -k 10 180 tests/refuel_tests "$@" \
    --gtest_brief=1 </dev/null >/dev/null 2>&1)
}

if ((!dry)); then
  # Every mutant would look caught by a suite that already fails.
  build_tests || { echo "refuel_tests does not build unmutated" >&2; exit 1; }
  run_tests || { echo "refuel_tests fails unmutated" >&2; exit 1; }
fi

nl=$'\n'
declare -A count=([caught]=0 [survived]=0 [gone]=0 [invalid]=0)
while IFS=$'\t' read -r -u 3 id file anchor replacement || [[ -n ${id:-} ]]; do
  [[ -z $id || $id == \#* ]] && continue
  [[ $wanted != "  " && $wanted != *" $id "* ]] && continue
  anchor=${anchor//\\n/$nl}
  replacement=${replacement//\\n/$nl}
  path=$root/$file
  text=
  [[ -f $path ]] && IFS= read -r -d '' text <"$path"
  rest=${text//"$anchor"/}
  if [[ -z $anchor || $((${#text} - ${#rest})) -ne ${#anchor} ]]; then
    echo "$id gone"
    count[gone]=$((count[gone] + 1))
    continue
  fi
  if ((dry)); then
    echo "$id ok"
    continue
  fi

  cp "$path" "$saved" && printf '%s' "$path" >"$saved_path" || exit 1
  printf '%s' "${text/"$anchor"/"$replacement"}" >"$path"
  if ! build_tests; then
    verdict=invalid
  elif run_tests --gtest_fail_fast; then
    verdict=survived
  else
    verdict=caught
  fi
  restore
  [[ -f $saved_path ]] && exit 1
  echo "$id $verdict"
  count[$verdict]=$((count[$verdict] + 1))
done 3<"$list"

caught=${count[caught]}
total=$((caught + count[survived]))
if ((!dry)); then
  # Leave the build matching the tree again.
  build_tests
  awk -v c="$caught" -v t="$total" 'BEGIN { printf "caught %d of %d (%.1f%%)\n", c, t, t ? 100 * c / t : 0 }'
  echo "gone ${count[gone]}, invalid ${count[invalid]}"
fi
