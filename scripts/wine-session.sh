# The Wine session of the tests and tools: a private Wine prefix and a private Xvfb display, so that tests never
# touch a user's own prefix or display. Source this file, then bench_start [build folder] / bench_stop.
# bench_start exports HIVESCOUT_BENCH=1, WINEPREFIX and DISPLAY for everything run after it; given a build
# folder, it also puts the editors the tests launch in place (bench_place_editors).
# Wine runs through the loader this machine can run (scripts/machine.sh).
source "$(dirname "${BASH_SOURCE[0]}")/machine.sh"
hivescout_use_wine

bench_start() {
  export WINEDEBUG=-all
  # A crash must end the run with its exception code, not open a debugger dialog. Overrides
  # given by the caller (a test's own search order) are kept after these.
  export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d /tmp/hivescout-bench.XXXXXX)
  BENCH_XVFB_PID=""
  # Xvfb picks a free display itself and writes its number: two benches started at the
  # same moment can never share (and then tear down) one display.
  local display_file="$WINEPREFIX.display" display=""
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  BENCH_XVFB_PID=$!
  for _ in $(seq 1 100); do
    display=$(head -n 1 "$display_file" 2>/dev/null || true)
    [ -n "$display" ] && break
    sleep 0.1
  done
  rm -f "$display_file"
  export DISPLAY=":$display"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
  if [ ! -f "$WINEPREFIX/drive_c/windows/regedit.exe" ]; then
    echo "Wine made no prefix in $WINEPREFIX: it cannot run programs on this machine (try: wine cmd /c ver)" >&2
    return 1
  fi
  export HIVESCOUT_BENCH=1
  if [ -n "${1:-}" ]; then bench_place_editors "$1"; fi
}

# Only here, in the prefix just made, is anything written into the Windows directory: the
# test programs never do. Wine's own editors are first kept outside it (they run from there
# as Wine's editors: HIVESCOUT_WINE_EDITOR, and the 32-bit one, a stub that hands over to
# the 64-bit editor, as C:\hivescout-bench\wine32\regedit.exe); then the stand-ins built
# in the folder become the editors that every start of regedit.exe runs.
bench_place_editors() {
  local windows="$WINEPREFIX/drive_c/windows" kept="$WINEPREFIX/drive_c/hivescout-bench"
  mkdir -p "$kept/wine32" && cp "$windows/regedit.exe" "$kept/regedit.exe"
  export HIVESCOUT_WINE_EDITOR='C:\hivescout-bench\regedit.exe'
  bench_place "$1/standin/regedit.exe" "$windows/regedit.exe"
  if [ -f "$windows/syswow64/regedit.exe" ]; then cp "$windows/syswow64/regedit.exe" "$kept/wine32/regedit.exe"; fi
  bench_place "$1/standin32/regedit.exe" "$windows/syswow64/regedit.exe"
}

# Copies a built program over an editor of the prefix; nothing when it was not built.
bench_place() {
  if [ -f "$1" ] && [ -f "$2" ]; then cp "$1" "$2"; fi
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
