#!/bin/sh
# Runs every libFuzzer target in the given folder for the given number of
# seconds, each with its own corpus folder; stops at the first failure.
set -e
dir="$1"; seconds="$2"
for f in "$dir"/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus="$dir/corpus/$name"
    mkdir -p "$corpus"
    echo "== $name for ${seconds}s"
    "$f" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "$corpus"
done
