#!/usr/bin/env bash
# Prepares a Wine prefix (created once, reused) and runs the command after
# "--" inside it: frames drawn by Wine itself (no window manager under Xvfb)
# and a CJK font linked behind the dialog fonts so Chinese captions render.
set -euo pipefail
prefix=$(realpath -m "$1"); shift
[ "${1:-}" = "--" ] && shift
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=" 
here=$(dirname "$(realpath "$0")")
if [ ! -f "$prefix/.sondrelk-ready" ]; then
  mkdir -p "$prefix"
  wineboot --init >/dev/null 2>&1 || true
  wine regedit /S "$(winepath -w "$here/prefix.reg")" >/dev/null 2>&1
  wineserver -w
  touch "$prefix/.sondrelk-ready"
fi
"$@"
status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status
