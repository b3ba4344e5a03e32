#!/usr/bin/env bash
# `jogo --mute` hands its option to the game: the first menu frame shows the muted
# sign, and a match started from it is silent, while the same run without the
# option shows no sign and is heard. OpenAL Soft's wave writer stands in for the
# sound card, so what the game played is in a file.
#   tests/e2e/mute.sh BINARY
set -euo pipefail
binary=$(readlink -f "$1")
cd "$(dirname "$0")/../.."
scratch=$(mktemp -d)
game=
trap '[ -z "$game" ] || kill -9 "$game" 2>/dev/null || true; rm -rf "$scratch"' EXIT

# Runs the game with the given options: the menu, the play button, a walk of a second
# and a half in the match, Escape, which must end it with status 0. Prints "sign" or
# "no sign" for the menu, then "sound" or "silence".
run() {
    local name=$1 window x y
    shift
    printf '[general]\ndrivers=wave\n[wave]\nfile=%s\n' "$scratch/$name.wav" >"$scratch/$name.conf"
    ALSOFT_CONF="$scratch/$name.conf" ALSOFT_DRIVERS=wave "$binary" "$@" &
    game=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Jogo$' | head -n1)
    eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^[XY]=')"
    /usr/bin/python3 - "$X" "$Y" <<'PYTHON'
import sys, time
from PIL import Image, ImageGrab
x, y = int(sys.argv[1]), int(sys.argv[2])
sign = Image.open("Imagens/SemSom.png").convert("RGBA")
menu = Image.open("Imagens/TelaMenu.png").convert("RGB")
def shows(shot, picture, left, top):
    """Every opaque texel of the picture shows at (left, top) of the game's picture."""
    return all(sum(abs(a - b) for a, b in zip(shot.getpixel((x + left + u, y + top + v)), texel[:3])) <= 12
               for v in range(picture.height) for u in range(picture.width)
               for texel in [picture.getpixel((u, v))] if len(texel) == 3 or texel[3] == 255)
# The first menu frame: the window may be mapped a moment before it is drawn.
title = menu.crop((420, 60, 600, 100))
for _ in range(100):
    shot = ImageGrab.grab(xdisplay="").convert("RGB")
    if shows(shot, title, 420, 60):
        break
    time.sleep(0.1)
print("sign" if shows(shot, sign, 6, 6) else "no sign")
PYTHON
    xdotool mousemove --window "$window" 120 125 mousedown 1 sleep 0.4 mouseup 1 keydown Right sleep 1.5 keyup Right
    kill -0 "$game" || { echo "$name: the game ended on its own" >&2; exit 1; }
    xdotool key Escape
    wait "$game" || { echo "$name: the game ended with status $?" >&2; exit 1; }
    game=
    # Whatever the sample format, silence is zero bytes after the header.
    /usr/bin/python3 - "$scratch/$name.wav" <<'PYTHON'
import sys
data = open(sys.argv[1], "rb").read()
samples = data[data.index(b"data") + 8:]
assert len(samples) > 44100, "the mixer wrote less than a second"
print("sound" if any(samples) else "silence")
PYTHON
}

muted=$(run muted --mute)
heard=$(run heard)
[ "$muted" = $'sign\nsilence' ] || { echo "jogo --mute: $muted" >&2; exit 1; }
[ "$heard" = $'no sign\nsound' ] || { echo "jogo: $heard" >&2; exit 1; }
