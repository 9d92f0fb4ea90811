#!/bin/sh
# SPDX-License-Identifier: Zlib
# Builds the browser version into a folder of its own (default build-web/):
# the game compiled to WebAssembly with Debian's emscripten, its page, and
# the data folder that the native build generated (default build/data/).
#   scripts/build-web.sh [WEB_BUILD_DIR] [NATIVE_DATA_DIR]
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/build-web}"
data="${2:-$root/build/data}"
if ! command -v emcmake >/dev/null 2>&1; then
    echo "build-web: emscripten is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi
# Debian's emscripten finds its JavaScript tools' modules there.
export NODE_PATH=/usr/share/nodejs
data="$(cd "$data" && pwd)"
emcmake cmake -S "$root" -B "$out" -DVORNHELM_DATA_DIR="$data" >/dev/null
cmake --build "$out" -j "${JOBS:-2}"
