#!/usr/bin/env bash
# Starts the program under Wine in a demo prefix whose registry lists three SQL
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

# The prefix is built again whenever the demo registry changes.
stamp="$prefix/.sondrelk-demo"
want=$(sha1sum < "$here/demo-instances.reg")
if [ "$(cat "$stamp" 2>/dev/null || true)" != "$want" ]; then
  rm -rf "$prefix"
  "$here/prefix.sh" "$prefix" -- bash -c \
    'wine regedit /S "$(winepath -w "$0")" && wineserver -w' "$here/demo-instances.reg"
  echo "$want" > "$stamp"
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$here/prefix.sh" "$prefix" -- wine "$exe"
fi

# Headless: run, photograph, press Detect, then sort by title clicks, search
# with the find dialog, photograph each step, stop.
"$here/with-display.sh" "$here/prefix.sh" "$prefix" -- bash -c '
  exe=$1 shots=$2
  # The id of the visible window titled exactly $1, waiting up to $2 seconds.
  wait_window() {
    local id
    for _ in $(seq $(($2 * 5))); do
      id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
      [ -n "$id" ] && { echo "$id"; return 0; }
      sleep 0.2
    done
    echo "the window \"$1\" did not appear" >&2
    return 1
  }
  wine "$exe" &
  win=$(wait_window SondrelkV1.02.07 30) || exit 1
  sleep 1.5
  import -window "$win" "$shots/main-window.png"
  echo "saved $shots/main-window.png"
  # Points are given in the client area; the window'\''s origin is that of
  # its frame, which Wine draws here: a 3-pixel border and a 19-pixel caption.
  eval "$(xdotool getwindowgeometry --shell "$win")"
  at() { xdotool mousemove $((X + 3 + $1)) $((Y + 22 + $2)); }
  # Detect is the button at (661,296)+(105x59) of the client area. Photograph
  # it hot under the pointer and held down, then let go off the button, which
  # must not start a run.
  at $((661 + 52)) $((296 + 29)); sleep 0.7
  import -window "$win" "$shots/button-hot.png"; echo "saved $shots/button-hot.png"
  xdotool mousedown 1; sleep 0.7
  import -window "$win" "$shots/button-pressed.png"; echo "saved $shots/button-pressed.png"
  at 595 325; sleep 0.3; xdotool mouseup 1; sleep 0.5
  at $((661 + 52)) $((296 + 29)); xdotool click 1 || true
  sleep 3
  import -window "$win" "$shots/after-detect.png"
  echo "saved $shots/after-detect.png"
  shot() { sleep 1; import -window "$win" "$shots/$1.png"; echo "saved $shots/$1.png"; }
  # Client points of the grid: the title row at y=8, data rows at y=24, 40, 56;
  # "端口号" at x=622, "服务器(实例名)" at x=90.
  at 622 8; xdotool click 1; shot sorted-by-port
  at 90 8; xdotool keydown ctrl click 1 keyup ctrl; shot sorted-by-two
  # Sorted, the named instance without a port comes first: stand on the
  # second row, on its server cell, and search from there.
  at 90 40; xdotool click 1; sleep 0.5
  xdotool key ctrl+f
  wait_window 文本查找 10 >/dev/null || exit 1
  sleep 0.5
  xdotool type --delay 50 sqlexpress
  sleep 0.5
  # The dialog is a window of its own: photograph the screen around both.
  eval "$(xdotool getwindowgeometry --shell "$win")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$shots/find-dialog.png"
  echo "saved $shots/find-dialog.png"
  xdotool key Return
  sleep 1
  xdotool key Escape
  shot after-find
  wineserver -k
' _ "$exe" "$shots"
