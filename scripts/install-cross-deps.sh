#!/bin/sh
# SPDX-License-Identifier: Zlib
# Installs what the arm64 cross build and its replay check need (make
# test-cross): the cross compiler, the arm64 development packages of the
# libraries the core links, beside the amd64 ones (Debian multiarch), and
# qemu's user-mode emulator to run the result, through install-deps.sh,
# which installs only what is missing.
set -e

PACKAGES="g++-aarch64-linux-gnu qemu-user \
libglfw3-dev:arm64 libopenal-dev:arm64 libstb-dev:arm64 libvorbis-dev:arm64 \
libogg-dev:arm64 libgl-dev:arm64 libx11-dev:arm64"

if ! dpkg --print-foreign-architectures | grep -qx arm64; then
    if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
    $SUDO dpkg --add-architecture arm64
fi
exec "$(dirname "$0")/install-deps.sh" $PACKAGES
