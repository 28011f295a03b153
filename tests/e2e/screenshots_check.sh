#!/usr/bin/env bash
# Runs the screenshot program under a throw-away X server into a scratch folder and checks
# that it ran clean and made exactly the windows kept in docs/screenshots/, so a window that
# no longer opens, or one added without a picture, shows up in the tests.
#   screenshots_check.sh PROGRAM DOCS_SCREENSHOTS_DIR
set -euo pipefail
program=$1
kept=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/out"
HOME="$work/home" LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$program" "$work/out" > "$work/log" 2>&1 ||
  { grep -v "^$work" "$work/log" | tail -40; echo "the screenshot program failed" >&2; exit 1; }
made=$(cd "$work/out" && ls *.png | sort)
want=$(cd "$kept" && ls *.png | sort)
if [ "$made" != "$want" ]; then
  echo "made and kept screenshots differ (< made, > kept):" >&2
  diff <(echo "$made") <(echo "$want") >&2 || true
  exit 1
fi
echo "$(echo "$made" | wc -l) windows"
