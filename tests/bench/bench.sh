# The test bench: a private Wine prefix and a private Xvfb display, so that tests never
# touch a user's own prefix or display. Source this file, then bench_start / bench_stop.
# bench_start exports HIVESCOUT_BENCH=1, WINEPREFIX and DISPLAY for everything run after it.

bench_free_display() {
  local n
  for n in $(seq 90 190); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then echo "$n"; return 0; fi
  done
  return 1
}

bench_start() {
  export WINEDEBUG=-all
  # A crash must end the run with its exception code, not open a debugger dialog.
  export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d"
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d /tmp/hivescout-bench.XXXXXX)
  BENCH_XVFB_PID=""
  local display
  display=$(bench_free_display)
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  BENCH_XVFB_PID=$!
  export DISPLAY=":$display"
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
  export HIVESCOUT_BENCH=1
}

bench_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  if [ -n "${BENCH_XVFB_PID:-}" ]; then kill "$BENCH_XVFB_PID" 2>/dev/null || true; wait "$BENCH_XVFB_PID" 2>/dev/null || true; fi
  case "${WINEPREFIX:-}" in /tmp/hivescout-bench.*) rm -rf "$WINEPREFIX" ;; esac
  unset HIVESCOUT_BENCH
}
