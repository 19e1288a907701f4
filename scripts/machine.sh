# What this machine can run, asked once, and the Wine loader that follows from it. Source
# this file; it defines machine_runs_32bit and hivescout_use_wine.
#
# Some kernels refuse 32-bit programs (32-bit emulation switched off at boot). There every
# 32-bit program fails with "Exec format error", Wine's 32-bit half included, and Debian's
# `wine` command runs that half as soon as it is installed. So nothing 32-bit is installed
# there, and where someone installed it by hand, Wine is run through its 64-bit loader.
#
# HIVESCOUT_MACHINE_RUNS_32BIT=yes|no overrides the answer (to prove either road on any
# machine); after the first question it carries the answer to every script started later.

hivescout_machine_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# True when a tiny static 32-bit Linux program (it only calls exit) runs here.
machine_probe_32bit() {
  local probe status
  probe=$(mktemp /tmp/hivescout-probe32.XXXXXX) || return 1
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'\
'\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod 700 "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  return $status
}

machine_runs_32bit() {
  case "${HIVESCOUT_MACHINE_RUNS_32BIT:-}" in
    yes) return 0 ;;
    no) return 1 ;;
    "") ;;
    *) echo "HIVESCOUT_MACHINE_RUNS_32BIT must be yes or no, not '$HIVESCOUT_MACHINE_RUNS_32BIT'" >&2; exit 2 ;;
  esac
  if machine_probe_32bit; then HIVESCOUT_MACHINE_RUNS_32BIT=yes; else HIVESCOUT_MACHINE_RUNS_32BIT=no; fi
  export HIVESCOUT_MACHINE_RUNS_32BIT
  [ "$HIVESCOUT_MACHINE_RUNS_32BIT" = yes ]
}

# The one line that says why the 32-bit tests skip on this machine.
machine_32bit_refusal_line() {
  echo "This machine's kernel refuses 32-bit programs: nothing 32-bit is installed, and the 32-bit tests will be skipped."
}

# Where the machine refuses 32-bit programs but Wine's 32-bit loader is installed, `wine`
# and `wineboot` of this shell run Wine's 64-bit loader (and every process Wine starts
# from there too, through WINELOADER), so 64-bit programs keep running.
hivescout_use_wine() {
  local wine64=/usr/lib/wine/wine64
  if machine_runs_32bit || [ ! -x /usr/lib/wine/wine ] || [ ! -x "$wine64" ]; then return 0; fi
  export WINELOADER=$wine64
  wine() { "$WINELOADER" "$@"; }
  wineboot() { "$WINELOADER" wineboot.exe "$@"; }
}
