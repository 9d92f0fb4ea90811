#!/bin/sh
# Starts the installed game from the player's own folder,
# $XDG_DATA_HOME/vornhelm (~/.local/share/vornhelm by default): the game
# keeps its state file and screenshots in the folder it runs in, so they
# live with the player and not beside the installed files. The folder is
# made on the first run, with the installed data folder linked into it.
# Arguments pass on to the game; file names in them are made absolute first,
# since the game runs in another folder.
set -e

here=$(dirname "$(readlink -f "$0")")
prefix=$(dirname "$here")
game="$prefix/libexec/vornhelm/vornhelm"
data="$prefix/share/vornhelm/data"
home="${XDG_DATA_HOME:-$HOME/.local/share}/vornhelm"

absolute() {
    case "$1" in
        /*) printf '%s\n' "$1" ;;
        *) printf '%s/%s\n' "$PWD" "$1" ;;
    esac
}

# --record FILE, --replay FILE, --screenshot-at N FILE
next=""
for arg do
    shift
    case "$next" in
        file) arg=$(absolute "$arg"); next="" ;;
        count) next=file ;;
        *) case "$arg" in
               --record|--replay) next=file ;;
               --screenshot-at) next=count ;;
           esac ;;
    esac
    set -- "$@" "$arg"
done

mkdir -p "$home"
# A link left by an earlier installation is pointed here; a folder the
# player made there is left alone.
if [ -L "$home/data" ] || [ ! -e "$home/data" ]; then
    ln -sfn "$data" "$home/data"
fi
cd "$home"
exec "$game" "$@"
