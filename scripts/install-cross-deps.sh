#!/bin/sh
# SPDX-License-Identifier: Zlib
# Installs what the arm64 cross build and its replay check need (make
# test-cross): the cross compiler, the arm64 development packages of the
# libraries the core links, beside the amd64 ones (Debian multiarch), and
# qemu's user-mode emulator to run the result. Only what is missing is
# installed; apt-get runs as root, through sudo otherwise.
set -e

PACKAGES="g++-aarch64-linux-gnu qemu-user \
libglfw3-dev:arm64 libopenal-dev:arm64 libstb-dev:arm64 libvorbis-dev:arm64 \
libogg-dev:arm64 libgl-dev:arm64 libx11-dev:arm64"

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx arm64; then
    $SUDO dpkg --add-architecture arm64
    $SUDO apt-get update -q
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "installing:$missing"
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends $missing
