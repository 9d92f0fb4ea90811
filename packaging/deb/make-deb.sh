#!/bin/sh
# Builds the Debian package from a built tree with Debian's own tools:
#   make-deb.sh BUILD_DIR VERSION RELEASE_DATE OUT.deb
# The install rules' "deb" component is staged under /usr in
# BUILD_DIR/deb/debian/vornhelm, dpkg-shlibdeps works out the libraries the
# game needs, dpkg-gencontrol writes the control file (with the installed
# size), and dpkg-deb packs the tree owned by root. BUILD_DIR/deb is laid out
# as these tools expect a source tree: debian/control, debian/changelog.
set -eu

build=$1 version=$2 date=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$build/deb
root=$work/debian/vornhelm
changelog=$here/../changelog

# The changelog's first entry must be this release.
top_version=$(dpkg-parsechangelog -l "$changelog" -S Version)
top_date=$(date -u -d "$(dpkg-parsechangelog -l "$changelog" -S Date)" +%F)
if [ "$top_version" != "$version" ] || [ "$top_date" != "$date" ]; then
    echo "make-deb: packaging/changelog begins with $top_version of $top_date;" \
         "add an entry for $version of $date (the release set in CMakeLists.txt)" >&2
    exit 1
fi

rm -rf "$work" "$out"
mkdir -p "$root/DEBIAN"
DESTDIR=$root cmake --install "$build" --prefix /usr --component deb --strip >/dev/null

cp "$build/packaging/deb/control" "$work/debian/control"
cp "$changelog" "$work/debian/changelog"
cd "$work"
dpkg-shlibdeps -Tdebian/substvars -edebian/vornhelm/usr/libexec/vornhelm/vornhelm
dpkg-gencontrol -v"$version" -Pdebian/vornhelm -Vmisc:Depends=
(cd debian/vornhelm && find usr -type f -print0 | sort -z | xargs -0 md5sum > DEBIAN/md5sums)
chmod 0644 debian/vornhelm/DEBIAN/control debian/vornhelm/DEBIAN/md5sums
dpkg-deb --root-owner-group -Zxz --build debian/vornhelm "$out" >/dev/null
echo "built $out"
