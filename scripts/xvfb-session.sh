#!/usr/bin/env bash
# Runs a command on a private headless X server with a window manager, then shuts both down.
# Without a window manager no window ever becomes active under Xvfb, and keys go nowhere.
set -euo pipefail

workdir=$(mktemp -d)
cleanup() {
  [[ -n ${wm_pid:-} ]] && kill "$wm_pid" 2>/dev/null || true
  [[ -n ${xvfb_pid:-} ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$workdir"
}
trap cleanup EXIT

# -displayfd lets the server pick a free display number and tell us which.
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 -dpi 96 \
  3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s $workdir/display ]] && break
  sleep 0.1
done
[[ -s $workdir/display ]] || { cat "$workdir/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$workdir/display")"

openbox >"$workdir/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

"$@"
