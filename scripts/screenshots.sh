#!/usr/bin/env bash
# Screenshots of the main window under Xvfb, one per screen size, into docs/screenshots/.
#   scripts/screenshots.sh [build-dir]
# Needs xvfb and imagemagick (scripts/install-deps.sh installs them).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
client="$build/client/app/durnak-b2b"
out="$root/docs/screenshots"
[ -x "$client" ] || { echo "not built: $client" >&2; exit 1; }
mkdir -p "$out"

shoot() {
    local size="$1" name="$2" display=":$((90 + RANDOM % 100))"
    Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    sleep 1
    # A throw-away home: the program may create its data folder.
    local home
    home="$(mktemp -d)"
    DISPLAY="$display" HOME="$home" QT_QPA_PLATFORM=xcb "$client" >/dev/null 2>&1 &
    local app=$!
    sleep 4
    DISPLAY="$display" import -window root "$out/$name.png"
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -rf "$home"
    echo "$out/$name.png"
}

shoot 1350x710 main-window-1350x710
shoot 1920x1080 main-window-1920x1080
