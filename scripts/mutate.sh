#!/bin/sh
# SPDX-License-Identifier: Zlib
# Mutation check: plants each fault of scripts/mutations.txt, one at a time,
# in a scratch clone of the committed tree, rebuilds what its labels need,
# runs those labels' tests and reverts. A fault the tests notice is caught;
# one they pass is a survivor; one whose original text is not found exactly
# once is stale (the list is out of date) and one that does not build, or
# whose labels fail even unchanged, is invalid; neither of the last two counts.
#
# Only the labels named for a fault run (its layer and the layers that use
# it), not the whole suite: a mutant then costs about a minute instead of ten.
#
#   scripts/mutate.sh [LIST] [NAME-PATTERN]
# LIST defaults to scripts/mutations.txt; NAME-PATTERN (a grep -E pattern)
# keeps only the faults whose comment line matches it.
# MUTATE_DIR (default /tmp/vornhelm-mutate-$USER) holds the clone and its build.
set -eu

SRC=$(cd "$(dirname "$0")/.." && pwd)
LIST=${1:-$SRC/scripts/mutations.txt}
ONLY=${2:-}
WORK=${MUTATE_DIR:-/tmp/vornhelm-mutate-${USER:-$(id -un)}}
JOBS=${JOBS:-2}
LOG=$WORK/log
mkdir -p "$WORK"
: >"$LOG"

if [ -d "$WORK/src/.git" ]; then
    git -C "$WORK/src" fetch -q "$SRC" HEAD
    git -C "$WORK/src" reset -q --hard FETCH_HEAD
else
    git clone -q "$SRC" "$WORK/src"
fi
cd "$WORK/src"
# Paths relative to the tree and no working folder in the hash: objects built
# in any checkout of the same sources come from the cache.
export CCACHE_BASEDIR="$WORK" CCACHE_NOHASHDIR=1
cmake -S . -B build -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >>"$LOG" 2>&1

# Splits the list into one file per fault: name, file, find, replace, labels.
rm -rf "$WORK/faults" && mkdir -p "$WORK/faults"
python3 - "$LIST" "$WORK/faults" "$ONLY" <<'PY'
import re, sys
src, out, only = sys.argv[1], sys.argv[2], sys.argv[3]
n = 0
for block in open(src).read().split("\n\n"):
    lines = [l for l in block.splitlines() if l.strip()]
    fields = {}
    name = ""
    for l in lines:
        if l.startswith("#"):
            name = l[1:].strip()
        elif ":" in l:
            k, v = l.split(":", 1)
            fields[k.strip()] = v[1:] if v.startswith(" ") else v
    if "file" not in fields:
        continue
    if only and not re.search(only, name):
        continue
    n += 1
    with open(f"{out}/{n:03d}", "w") as f:
        for key in ("file", "find", "replace", "labels"):
            f.write(fields.get(key, "").replace("\\n", "\n").replace("\n", "\x1f") + "\n")
        f.write(name + "\n")
PY

# Applies one fault: exit 0 applied, 3 when the text is not there exactly once.
plant() {
    python3 - "$1" <<'PY'
import sys
path, find, repl, labels, name = [l.rstrip("\n").replace("\x1f", "\n") for l in open(sys.argv[1])]
try:
    text = open(path).read()
except OSError:
    sys.exit(3)
if find == "" or text.count(find) != 1:
    sys.exit(3)
open(path, "w").write(text.replace(find, repl))
PY
}

field() { sed -n "${2}p" "$1"; }

# Runs the tests of the labels matching $1; false when one fails. A test
# that could not run at all (a missing program) makes the run count as a
# failure of the build, not of the tests: the script then stops.
run_labels() {
    out="$WORK/ctest.out"
    (cd build && ctest -L "^($1)\$" -E soak -j "$JOBS" --timeout 300) >"$out" 2>&1
    status=$?
    cat "$out" >>"$LOG"
    if grep -q 'Not Run\|Could not find executable' "$out"; then
        echo "tests of $1 could not run; see $LOG" >&2
        exit 1
    fi
    return $status
}

caught=0 survived=0 stale=0 invalid=0
survivors="" stales="" invalids=""
for fault in "$WORK"/faults/*; do
    [ -e "$fault" ] || continue  # no fault matched
    name=$(field "$fault" 5)
    file=$(field "$fault" 1)
    labels=$(field "$fault" 4)
    targets="" regex=""
    for l in $labels; do
        targets="$targets tests_$l"
        regex="${regex:+$regex|}$l"
    done
    git checkout -q -- .
    # Build the unchanged targets first, so that the mutant's build is its own.
    cmake --build build -j "$JOBS" --target $targets >>"$LOG" 2>&1 || { echo "the unchanged tree does not build" >&2; exit 1; }
    # The labels must pass unchanged, or a failure would say nothing of the fault.
    base="$WORK/baseline-$(echo "$regex" | tr '|' '-')"
    if [ ! -f "$base" ]; then
        if run_labels "$regex"; then echo pass >"$base"; else echo fail >"$base"; fi
    fi
    if [ "$(cat "$base")" != pass ]; then
        invalid=$((invalid + 1)); invalids="$invalids\n  $name (labels $labels fail unchanged)"
        echo "invalid   $name (labels $labels fail unchanged)"
        continue
    fi
    if ! plant "$fault"; then
        stale=$((stale + 1)); stales="$stales\n  $name ($file)"
        echo "stale     $name"
        continue
    fi
    start=$(date +%s)
    if ! cmake --build build -j "$JOBS" --target $targets >>"$LOG" 2>&1; then
        invalid=$((invalid + 1)); invalids="$invalids\n  $name ($file)"
        echo "invalid   $name"
        continue
    fi
    if run_labels "$regex"; then
        survived=$((survived + 1)); survivors="$survivors\n  $name ($file)"
        verdict=SURVIVED
    else
        caught=$((caught + 1))
        verdict=caught
    fi
    # The first tests that failed, to show what caught it.
    by=$(sed -n '/The following tests FAILED/,$p' "$WORK/ctest.out" | sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' | head -3 | paste -sd, -)
    printf '%-9s %s (%ss)%s\n' "$verdict" "$name" $(( $(date +%s) - start )) "${by:+ by $by}"
done
git checkout -q -- .

counted=$((caught + survived))
echo
echo "Mutation score: $caught of $counted caught ($stale stale, $invalid did not build)"
[ -n "$survivors" ] && printf "Survivors:$survivors\n"
[ -n "$stales" ] && printf "Stale (original text not found once):$stales\n"
[ -n "$invalids" ] && printf "Did not build:$invalids\n"
echo "Build and test output: $LOG"
