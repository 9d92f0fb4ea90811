#!/bin/sh
# SPDX-License-Identifier: Zlib
# Builds the Debian packages as a distribution does, with dpkg-buildpackage
# on a clean copy of this source tree:
#
#   scripts/build-deb.sh OUT_DIR
#
# The files git knows (tracked, and new ones it does not ignore) are copied
# to OUT_DIR/vornhelm-VERSION/, which is built there; the packages, the
# .changes and the .buildinfo land in OUT_DIR. DEB_BUILD_OPTIONS passes on:
# nocheck leaves the tests out (and their build dependencies with them).
# When ccache is installed the compilers go through it, unless
# VORNHELM_NO_CCACHE is set; the copy's path stays the same from one run to
# the next, so that the cache hits.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
tree=$out/vornhelm-$version

rm -rf "$tree" "$out"/vornhelm*_"$version"_*
mkdir "$tree"
# Files deleted but not yet committed are listed and missing: skipped.
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -C "$tree" -xf -

profiles=""
case " ${DEB_BUILD_OPTIONS:-} " in *" nocheck "*) profiles="-Pnocheck" ;; esac
if [ -z "${VORNHELM_NO_CCACHE:-}" ] && [ -d /usr/lib/ccache ]; then
    PATH=/usr/lib/ccache:$PATH
    export PATH
fi
cd "$tree"
dpkg-buildpackage -us -uc -b -Jauto $profiles
ls "$out"/vornhelm*_"$version"_*
