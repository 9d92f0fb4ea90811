#!/bin/sh
# SPDX-License-Identifier: Zlib
# Runs every libFuzzer target in the given folder for the given number of
# seconds, each with its own corpus folder; stops at the first failure.
# A target with a seed folder in fuzz/seeds/<target>/ starts from those
# files too (read, never written).
set -e
dir="$1"; seconds="$2"
seeds_root="$(cd "$(dirname "$0")/.." && pwd)/fuzz/seeds"
for f in "$dir"/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus="$dir/corpus/$name"
    mkdir -p "$corpus"
    seeds=""
    [ -d "$seeds_root/$name" ] && seeds="$seeds_root/$name"
    echo "== $name for ${seconds}s"
    "$f" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "$corpus" $seeds
done
