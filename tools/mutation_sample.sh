#!/usr/bin/env bash
# How many faults nobody listed do the unit tests catch? Mutants are drawn at
# random sites of src/ by mutate.py, each built and tested on its own, in a
# throwaway copy of the committed tree: the sampler edits the sources, so it
# never runs on a checkout someone works in.
#
#   tools/mutation_sample.sh SEED [N] [mutate.py options...]
#
# N defaults to 120. Options such as --json OUT.json or
# --mutants-from PREV.json --status survived go to mutate.py as they are;
# a relative OUT.json is taken from the folder the script was started in.
# MUTATE names mutate.py when it is not at ../shared/tools/ beside the tree.
# Only committed work is sampled: uncommitted changes are not in the copy.
set -euo pipefail

if [[ $# -lt 1 || ! $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SEED [N] [mutate.py options...]" >&2
  exit 2
fi
seed=$1
shift
count=120
if [[ $# -gt 0 && $1 =~ ^[0-9]+$ ]]; then
  count=$1
  shift
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
mutate=${MUTATE:-$root/../shared/tools/mutate.py}
if [[ ! -f $mutate ]]; then
  echo "mutate.py not found at $mutate: set MUTATE" >&2
  exit 2
fi
if [[ -n $(git -C "$root" status --porcelain --untracked-files=no) ]]; then
  echo "note: uncommitted changes are not sampled" >&2
fi

# Paths given to mutate.py are read from inside the copy's build, so make
# them absolute first.
args=()
for a in "$@"; do
  if [[ $a != -* && ${args[-1]:-} == --@(json|mutants-from|exclude-from) ]]; then
    a=$(realpath -m -- "$a")
  fi
  args+=("$a")
done

copy=$(mktemp -d "${TMPDIR:-/tmp}/refuel-mutants.XXXXXX")
trap 'rm -rf "$copy"' EXIT
trap 'exit 130' INT TERM HUP
head=$(git -C "$root" rev-parse HEAD)
git clone -q --no-checkout "$root" "$copy"
git -C "$copy" checkout -q --detach "$head"
echo "sampling ${head:0:7} in $copy" >&2

# The benchmarks are not what the mutants are tested by.
"$copy/scripts/setup.sh" "$copy/build" -DREFUEL_BENCH=OFF >/dev/null
python3 "$mutate" "$copy" "$copy/build" --seed "$seed" -n "$count" \
  --shards 2 ${args[@]+"${args[@]}"}
