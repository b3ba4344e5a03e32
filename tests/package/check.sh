#!/usr/bin/env bash
# Builds the Debian package and judges it as Debian's tools and a player would: the checkers report no
# error and no warning, nothing goes to /usr/bin, Imagens/ is installed whole (both languages), the launcher
# passes its arguments on, and the game finds every picture and sound and ends on Escape with status 0,
# started from elsewhere through /usr/games/jogo, a symbolic link to it, and a `cmake --install` tree.
#   tests/package/check.sh BUILD_DIR      (on a virtual display)
set -euo pipefail
build=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
no_game_window() { ! xdotool search --name '^Jogo$' >/dev/null; }

cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
package=$(echo "$work"/jogo_*.deb)
dpkg-deb -x "$package" "$work/root"
lintian --fail-on error,warning "$package"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.xml
said=$(desktop-file-validate "$work"/root/usr/share/applications/*.desktop 2>&1) && [ -z "$said" ] ||
    fail "desktop-file-validate: $said"
[ ! -e "$work/root/usr/bin" ] || fail "the package installs into /usr/bin"
said=$(diff -r "$(dirname "$0")/../../Imagens" "$work/root/usr/share/games/jogo/Imagens") || fail "pictures: $said"
version=$(dpkg-deb -f "$package" Version)
[ "$("$work/root/usr/games/jogo" --version)" = "Jogo $version" ] || fail "the launcher does not pass its arguments on"

ln -s "$work/root/usr/games/jogo" "$work/link"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
mkdir "$work/elsewhere" "$work/home"
for launcher in "$work/root/usr/games/jogo" "$work/link" "$work/prefix/games/jogo"; do
    # An ended game's window can outlive its process for a moment.
    for _ in $(seq 600); do no_game_window && break; sleep 0.1; done
    no_game_window || fail "a game window stays open"
    (cd "$work/elsewhere" && XDG_DATA_HOME="$work/home" exec "$launcher" >"$work/said" 2>&1) &
    game=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Jogo$' | head -n1) || fail "$launcher: no window"
    # The pointer over the window gives it the keyboard.
    xdotool mousemove --window "$window" 700 550 key Escape
    wait "$game" || fail "$launcher ended with status $?: $(cat "$work/said")"
    # The library names every picture or sound it could not read.
    ! grep -q "Failed to" "$work/said" || fail "$launcher: $(cat "$work/said")"
done
echo "passed: the checkers are content; the game starts from the package, a link and a prefix"
