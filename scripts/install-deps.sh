#!/bin/sh
# SPDX-License-Identifier: Zlib
# Installs the Debian packages the project builds, tests and runs with, or
# the packages named on the command line, but only those that are missing.
# Runs apt-get as root, through sudo otherwise.
#   scripts/install-deps.sh [PACKAGE...]
set -e

PACKAGES="build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
clang libclang-rt-14-dev \
libglfw3-dev libgl-dev libx11-dev libopenal-dev libstb-dev zlib1g-dev libvorbis-dev libsdl2-dev \
xvfb xauth xdotool openbox x11-utils xdg-user-dirs \
dpkg-dev debhelper autopkgtest git lintian appstream desktop-file-utils man-db \
emscripten nodejs chromium python3-websocket"
[ $# -gt 0 ] && PACKAGES="$*"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends $missing
