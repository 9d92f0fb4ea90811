#!/bin/sh
# SPDX-License-Identifier: Zlib
# Plays a committed replay fast with the given game binary (through an
# emulator, when one is named) and checks that it ends cleanly on the line
# recorded beside it: exit code 0, that line on standard output and nothing
# on standard error. Used to show that other processors replay a game to
# the same end as the build machine and the browser.
# usage: replay_matches.sh EMULATOR|'' GAME DATA-FOLDER REPLAY.vhr EXPECTED.txt
set -u
emulator=$1 game=$2 data=$3 replay=$4 expected=$5
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT

# A fast replay needs neither a display nor a sound system; it runs in an
# empty folder of its own, so that it can read no player's files.
cd "$scratch" || exit 1
env -u DISPLAY -u WAYLAND_DISPLAY -u ALSOFT_DRIVERS $emulator "$game" --replay "$replay" --fast     --data-folder "$data" >out 2>err
code=$?
status=0
if [ "$code" -ne 0 ]; then
    echo "exit code $code, not 0"
    status=1
fi
if ! cmp -s out "$expected"; then
    echo "last line differs: expected"
    cat "$expected"
    echo "got"
    cat out
    status=1
fi
if [ -s err ]; then
    echo "standard error is not empty:"
    cat err
    status=1
fi
[ "$status" -eq 0 ] && cat out
exit "$status"
