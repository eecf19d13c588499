# Shell functions of the demo run, sourced inside its Wine prefixes.

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
