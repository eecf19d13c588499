#!/usr/bin/env bash
# Runs a command with an X display: the caller's, or a private Xvfb started
# here and stopped when the command ends.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
num=${XVFB_DISPLAY:-$((90 + RANDOM % 400))}
while [ -e "/tmp/.X${num}-lock" ]; do num=$((num + 1)); done
Xvfb ":${num}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
export DISPLAY=":${num}"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$@"
