#!/usr/bin/env bash
# The game program itself on the display, driven as a person would, in a folder without pictures and sounds, or
# with every one of them broken: the menu's play button, a walk to the right and Escape end it with status 0. In
# the project itself mute.sh plays it so.
#   tests/e2e/run.sh BINARY empty|broken
set -euo pipefail
binary=$(readlink -f "$1")
cd "$(dirname "$0")/../.."
root=$PWD
folder=$(mktemp -d)
# Each broken file keeps its first bytes, so it still claims its format.
for file in Imagens/*.png Imagens/en/*.png Sons/*; do
    [ "$2" = broken ] || break
    mkdir -p "$folder/$(dirname "$file")"
    { head -c 24 "$root/$file"; echo broken; } >"$folder/$file"
done
cd "$folder"
"$binary" &
game=$!
trap 'kill -9 "$game" 2>/dev/null || true; rm -rf "$folder"' EXIT
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Jogo$' | head -n1)
# Held past the menu's pause between frames, so that a frame sees the press.
xdotool mousemove --window "$window" 120 125 mousedown 1 sleep 0.4 mouseup 1 keydown Right sleep 0.5 keyup Right
kill -0 "$game" || { echo "the game ended on its own" >&2; exit 1; }
# The pointer is over the window, so the keyboard goes to it.
xdotool key Escape
wait "$game"
