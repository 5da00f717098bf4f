# Sourced: makes sure DISPLAY names a running X server.  Without one, starts a
# private Xvfb and stops it when the calling script exits.
corvane_start_xvfb() {
  local n=${1:-87}
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  CORVANE_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  trap 'kill $CORVANE_XVFB_PID 2>/dev/null' EXIT
}
