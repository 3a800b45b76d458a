#!/usr/bin/env bash
# A zoom video against the same frames drawn as posters, each run timed as a whole process:
#   1. the frames as PNG posters (--frames 0-(N-1) --frames-dir);
#   2. the video, drawn and encoded in one run (--video);
#   3. the video encoded from the posters of 1 (--video --frames-dir): the encoding alone,
#      with the reading of the PNGs.
# Usage: bench/video_zoom.sh [RENDERER [view options...]]; the default view is the one in
# docs/performance.md:
# 1280 x 720, 10 s at 30 frames per second from magnification 1 to 1e12 at depth 2048.
# Needs GNU time (/usr/bin/time, Debian package time).
set -euo pipefail
render=${1:-build/release/src/render/orvane-render}
shift || true
view=("$@")
if ((${#view[@]} == 0)); then
  view=(--center -0.7436438870371587,0.13182590420531196 --zoom 1e12 --depth 2048
    --size 1280x720 --seconds 10)
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count=$("$render" "${view[@]}" --count-frames)

timed() {
  local name=$1
  shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >/dev/null 2>"$work/errors" ||
    { cat "$work/errors" >&2; exit 1; }
  read -r seconds user system kilobytes <"$work/time"
  awk -v n="$name" -v s="$seconds" -v cpu="$(awk "BEGIN { print $user + $system }")" \
    -v c="$count" -v k="$kilobytes" 'BEGIN {
      printf "%-20s %8.1f s wall %8.1f s cpu %7.2f frames/s %6d MiB\n", n, s, cpu, c / s, k / 1024
    }'
  echo "$seconds" >"$work/$name.seconds"
  awk "BEGIN { print $user + $system }" >"$work/$name.cpu"
}

echo "$count frames: ${view[*]}"
timed posters "$render" "${view[@]}" --frames "0-$((count - 1))" --frames-dir "$work/frames"
timed video "$render" "${view[@]}" --video "$work/zoom.mp4"
timed encode-from-posters "$render" "${view[@]}" --frames-dir "$work/frames" \
  --video "$work/again.mp4"
awk -v v="$(cat "$work/video.seconds")" -v p="$(cat "$work/posters.seconds")" \
  'BEGIN { printf "video / posters, wall: %.3f\n", v / p }'
awk -v v="$(cat "$work/video.cpu")" -v p="$(cat "$work/posters.cpu")" \
  'BEGIN { printf "video / posters, cpu: %.3f\n", v / p }'
ls -l "$work/zoom.mp4" | awk '{print "video size: " $5 " bytes"}'
