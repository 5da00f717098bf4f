# Sourced: corvane_start_xvfb starts a private Xvfb, points DISPLAY at it and
# stops it when the calling script exits.
corvane_start_xvfb() {
  # Xvfb takes the first free display number itself and writes it to
  # -displayfd once it accepts clients, so scripts that start at the same
  # moment (ctest -j) never share a display.
  local number
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  CORVANE_XVFB_PID=$!
  trap 'kill $CORVANE_XVFB_PID 2>/dev/null' EXIT
  for _ in $(seq 100); do
    [ -s "$number" ] && break
    sleep 0.05
  done
  if [ ! -s "$number" ]; then
    rm -f "$number"
    echo "xvfb: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(cat "$number")"
  rm -f "$number"
}
