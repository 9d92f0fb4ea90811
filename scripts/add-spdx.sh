#!/bin/sh
# SPDX-License-Identifier: Zlib
# Adds the line "SPDX-License-Identifier: Zlib" to every source, script and
# test file that lacks it, as a comment in the file's own syntax: first in
# the file, or second after a "#!", "<?xml" or "<!doctype" line. A file that
# has it there is left as it is, so running the script again changes nothing.
#
#   scripts/add-spdx.sh            every file git knows in this tree
#   scripts/add-spdx.sh FILE...    those files
#
# Data and generated files get no line: images, sounds, replays and their
# texts, the fuzzers' seeds, Markdown, Debian's control files and changelog,
# and the AppStream template, whose licence is its own metadata_license.
set -eu

tag="SPDX-License-Identifier: Zlib"

# The comment line for FILE, or nothing for a file that takes none.
comment_for() {
    case "$1" in
        *.metainfo.xml.in) ;;
        *.cpp|*.cc|*.c|*.h|*.hpp|*.js) printf '%s\n' "// $tag" ;;
        *.cmake|CMakeLists.txt|*/CMakeLists.txt|Makefile|*/Makefile|debian/rules|*/debian/rules|\
        *.sh|*.sh.in|*.py|*.desktop.in) printf '%s\n' "# $tag" ;;
        *.html|*.xml|*.xml.in) printf '%s\n' "<!-- $tag -->" ;;
        *.[1-9]) printf '%s\n' ".\\\" $tag" ;;
        *) if [ "$(head -c 2 "$1")" = "#!" ]; then printf '%s\n' "# $tag"; fi ;;
    esac
}

# True when LINE is one that must stay first: the interpreter, the XML
# declaration, the HTML document type.
is_prologue() {
    case "$1" in
        '#!'*|'<?xml'*|'<!doctype'*|'<!DOCTYPE'*) return 0 ;;
        *) return 1 ;;
    esac
}

add_to() {
    file=$1 comment=$2
    first=$(head -n 1 "$file")
    if is_prologue "$first"; then
        [ "$(sed -n 2p "$file")" = "$comment" ] && return 0
        tmp=$(mktemp)
        { printf '%s\n%s\n' "$first" "$comment"; tail -n +2 "$file"; } > "$tmp"
    else
        [ "$first" = "$comment" ] && return 0
        tmp=$(mktemp)
        { printf '%s\n' "$comment"; cat "$file"; } > "$tmp"
    fi
    # Written over in place, so that the file keeps its mode.
    cat "$tmp" > "$file"
    rm -f "$tmp"
    printf 'added: %s\n' "$file"
}

if [ $# -eq 0 ]; then
    cd "$(dirname "$0")/.."
    # One name a line; no file of this tree has a newline in its name.
    set -- $(git ls-files --cached --others --exclude-standard)
fi
for file do
    [ -f "$file" ] || continue
    comment=$(comment_for "$file")
    [ -n "$comment" ] && add_to "$file" "$comment"
done
exit 0
