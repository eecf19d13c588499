#!/usr/bin/env bash
# Starts the program under Wine in a demo prefix whose registry lists two SQL
# Server instances. With a usable $DISPLAY the program is shown there; without
# one it runs on a private Xvfb, screenshots are saved under build/run/ and the
# program is stopped.
set -euo pipefail
exe=$(realpath "$1")
root=$(cd "$(dirname "$0")/../.." && pwd)
here="$root/tools/wine"
prefix="$root/build/wine-demo"
shots="$root/build/run"
mkdir -p "$shots"

if [ ! -f "$prefix/.sondrelk-demo" ]; then
  rm -rf "$prefix"
  "$here/prefix.sh" "$prefix" -- bash -c \
    'wine regedit /S "$(winepath -w "$0")" && wineserver -w' "$here/demo-instances.reg"
  touch "$prefix/.sondrelk-demo"
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$here/prefix.sh" "$prefix" -- wine "$exe"
fi

# Headless: run, photograph, press Detect, photograph again, stop.
"$here/with-display.sh" "$here/prefix.sh" "$prefix" -- bash -c '
  exe=$1 shots=$2
  wine "$exe" &
  for _ in $(seq 150); do
    win=$(xdotool search --onlyvisible --name "^SondrelkV1.02.07$" 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break; sleep 0.2
  done
  if [ -z "$win" ]; then echo "the main window did not appear" >&2; exit 1; fi
  sleep 1.5
  import -window "$win" "$shots/main-window.png"
  echo "saved $shots/main-window.png"
  # Detect is the button at (661,296)+(105x59) of the client area.
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $((X + 661 + 52)) $((Y + 296 + 29)) click 1 || true
  sleep 3
  import -window "$win" "$shots/after-detect.png"
  echo "saved $shots/after-detect.png"
  wineserver -k
' _ "$exe" "$shots"
