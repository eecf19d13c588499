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
  source "$3"
  wine "$exe" &
  win=$(wait_window SondrelkV1.02.07 30) || exit 1
  sleep 1.5
  import -window "$win" "$shots/main-window.png"
  echo "saved $shots/main-window.png"
  # The same window inactive: another program in front of it, over its
  # lower right corner (Wine'\''s notepad takes its place from the registry).
  eval "$(xdotool getwindowgeometry --shell "$win")"
  for v in "iWindowPosX $((X + 560))" "iWindowPosY $((Y + 230))" "iWindowPosDX 480" "iWindowPosDY 260"; do
    read -r name value <<< "$v"
    wine reg add "HKCU\\Software\\Microsoft\\Notepad" /v "$name" /t REG_DWORD /d "$value" /f >/dev/null 2>&1
  done
  wine notepad &
  wait_window "Untitled - Notepad" 20 >/dev/null || true
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$win")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$shots/main-window-inactive.png"
  echo "saved $shots/main-window-inactive.png"
  xdotool search --name "Notepad" windowkill 2>/dev/null || true
  sleep 0.5
  xdotool windowactivate "$win" 2>/dev/null || true
  sleep 0.5
  # The skinned system menu: a click on the icon button at (10, 4) of the
  # window opens it; Down twice selects Move, past the grayed Restore.
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $((X + 18)) $((Y + 12)) click 1
  sleep 0.7
  xdotool key Down Down
  sleep 0.5
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$shots/system-menu.png"
  echo "saved $shots/system-menu.png"
  xdotool key Escape
  sleep 1
  # Points are given in the client area; the window'\''s origin is that of
  # its skinned frame: a 5-pixel border and a 22-pixel caption.
  eval "$(xdotool getwindowgeometry --shell "$win")"
  at() { xdotool mousemove $((X + 5 + $1)) $((Y + 22 + $2)); }
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
  # The context menu of the text field of its first combo box, at (108, 11)
  # of the client area, 389 wide.
  dlg=$(wait_window 文本查找 5)
  eval "$(xdotool getwindowgeometry --shell "$dlg")"
  xdotool mousemove $((X + 5 + 250)) $((Y + 22 + 22)) click 3
  sleep 0.7
  import -window root -crop "$((WIDTH + 60))x$((HEIGHT + 200))+${X}+${Y}" "$shots/context-menu.png"
  echo "saved $shots/context-menu.png"
  xdotool key Escape
  sleep 0.5
  # Its skinned check boxes: "語法匹配" unchecked with the focus (four tabs
  # on from the text), "格式匹配" checked. A close-up of the dialog alone.
  xdotool key Tab Tab Tab Tab
  sleep 0.7
  import -window "$dlg" "$shots/find-dialog-checkboxes.png"
  echo "saved $shots/find-dialog-checkboxes.png"
  xdotool key shift+Tab shift+Tab shift+Tab shift+Tab
  sleep 0.3
  xdotool key Return
  sleep 1
  xdotool key Escape
  shot after-find
  wineserver -k
' _ "$exe" "$shots" "$here/demo-lib.sh"

# A second prefix for what the first cannot show: a run long enough to
# photograph its progress window (120 instances, none reachable), then an
# instance list of 1,026 bytes, which ends the run with a message box.
many="$root/build/wine-demo-many"
instances() { # $1: the number of names; prints a .reg file listing them
  python3 - "$1" <<'PY'
import sys
n = int(sys.argv[1])
data = b"".join(b"SQL%03d\0" % i for i in range(1, n + 1)) + b"\0"
if n == 0:  # 1,026 bytes: one byte past what discovery accepts
    data = b"".join(b"N%04d\0" % i for i in range(171))
print("Windows Registry Editor Version 5.00\n")
print("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft SQL Server]")
print('"InstalledInstances"=hex(7):' + ",".join("%02x" % b for b in data))
PY
}
instances 120 > "$shots/many-instances.reg"
instances 0 > "$shots/long-list.reg"
"$here/with-display.sh" "$here/prefix.sh" "$many" -- bash -c '
  exe=$1 shots=$2
  source "$3"
  wine regedit /S "$(winepath -w "$shots/many-instances.reg")"; wineserver -w
  wine "$exe" &
  win=$(wait_window SondrelkV1.02.07 30) || exit 1
  sleep 1.5
  eval "$(xdotool getwindowgeometry --shell "$win")"
  detect() { xdotool mousemove $((X + 5 + 661 + 52)) $((Y + 22 + 296 + 29)) click 1; }
  detect
  wait_window 进度 10 >/dev/null || exit 1
  sleep 0.7
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$shots/progress-window.png"
  echo "saved $shots/progress-window.png"
  for _ in $(seq 60); do xdotool search --onlyvisible --name "^进度\$" >/dev/null 2>&1 || break; sleep 0.5; done
  wine regedit /S "$(winepath -w "$shots/long-list.reg")"
  sleep 0.5
  detect
  box=$(wait_window 信息框 10) || exit 1
  sleep 0.7
  eval "$(xdotool getwindowgeometry --shell "$box")"
  import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" "$shots/message-box.png"
  echo "saved $shots/message-box.png"
  xdotool key Return
  sleep 0.5
  wineserver -k
' _ "$exe" "$shots" "$here/demo-lib.sh"
