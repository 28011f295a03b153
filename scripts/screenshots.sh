#!/usr/bin/env bash
# Screenshots of every window with demo data, made under Xvfb into docs/screenshots/:
# durnak-screenshots starts a demo server on a copy of the seeded database, drives the real
# main window as the program builds it and grabs each window it opens.
#   scripts/screenshots.sh [build-dir]
# Needs xvfb (scripts/install-deps.sh installs it) and the DejaVu fonts.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
program="$build/tests/e2e/durnak-screenshots"
out="$root/docs/screenshots"
[ -x "$program" ] || { echo "not built: $program (build the target durnak-screenshots)" >&2; exit 1; }
mkdir -p "$out"

# A throw-away home: the sign-in remembers credentials, reports go to the documents folder.
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
HOME="$home" LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$program" "$out"
