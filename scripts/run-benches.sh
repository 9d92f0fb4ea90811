#!/bin/sh
# SPDX-License-Identifier: Zlib
# Runs every benchmark executable in the given folder, under a private X
# server when no display is set (the renderer benchmark needs a window),
# from the build folder above it, where the game's data/ is.
set -e
dir="$(cd "$1" && pwd)"
cd "$dir/.."
for b in "$dir"/*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    if [ -z "$DISPLAY" ]; then
        xvfb-run -a -s "-screen 0 1024x768x24" "$b"
    else
        "$b"
    fi
done
