# A display and a long-lived wineserver for one run of tests or the sample.
# Source it, then call saver_session_start; everything stops when the shell
# that called it exits.
source "$(dirname "${BASH_SOURCE[0]}")/../tests/wine/wine-env.sh"

saver_session_start() {
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    local n
    for n in $(seq 90 120); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      SAVER_XVFB_PID=$!
      export DISPLAY=":$n"
      break
    done
    local i
    for i in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  saver_wine_prefix_ready
  # Another run may share the prefix's server (other developers' tests); only
  # a server this session started is ended with it.
  if ! pgrep -u "$(id -u)" -f 'wineserver' >/dev/null 2>&1; then
    wineserver -p >/dev/null 2>&1 || true
    SAVER_OWN_WINESERVER=1
    # The prefix's services start with the first program; start them here,
    # away from the tests' output pipes, which they would otherwise hold open
    # for the server's whole life (CTest then waits for them).
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  fi
  trap saver_session_stop EXIT
}

saver_session_stop() {
  if [ -n "${SAVER_OWN_WINESERVER:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "${SAVER_XVFB_PID:-}" ]; then kill "$SAVER_XVFB_PID" 2>/dev/null || true; fi
}
