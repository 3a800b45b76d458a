#!/usr/bin/env bash
# Packs the build tree with cpack -G DEB, unpacks the package into a scratch root and checks it
# the way a user's system would use it: the control fields, the installed files, the desktop
# entry and metainfo validators, the renderer's picture and the program's window.
# Usage: test_debian_package.sh <cpack> <build dir> <version> <build tree's orvane-render>
# Exit status 77 (ctest's skip) when there is no X display for the window check.
set -euo pipefail

cpack=$1
build_dir=$2
version=$3
build_renderer=$4

app_id=org.example.Orvane
scratch=$(mktemp -d)
orvane_pid=
cleanup() {
  [[ -n $orvane_pid ]] && kill "$orvane_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# --- The package ------------------------------------------------------------------------------
# -B keeps cpack's staging tree and the package out of the build tree.
if ! "$cpack" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" \
    >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack -G DEB failed"
fi
deb=$scratch/out/orvane_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || { ls -l "$scratch/out" >&2; fail "no package named $(basename "$deb")"; }

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == orvane ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)'"
[[ $(field Section) == graphics ]] || fail "Section is '$(field Section)'"
[[ $(field Maintainer) == 'Orvane 开发组 <team@orvane.example.org>' ]] ||
  fail "Maintainer is '$(field Maintainer)'"
[[ -n $(field Description) ]] || fail "no Description"
depends=$(field Depends)
# The libraries come from dpkg-shlibdeps: without them the package installs and cannot start.
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libtbb12 \
    'fonts-wqy-microhei | fonts-noto-cjk'; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks '$needed': $depends"
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
expected=(
  usr/bin/orvane
  usr/bin/orvane-render
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
)
sizes=(16 22 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
  expected+=("usr/share/icons/hicolor/${size}x$size/apps/$app_id.png")
done
for path in "${expected[@]}"; do
  [[ -f $root/$path ]] || fail "the package lacks /$path"
done
[[ -x $root/usr/bin/orvane && -x $root/usr/bin/orvane-render ]] || fail "programs not executable"

# Each icon must be the size its folder claims: width and height from the PNG header.
for size in "${sizes[@]}"; do
  png=$share/icons/hicolor/${size}x$size/apps/$app_id.png
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
  [[ $width == "$size" && $height == "$size" ]] ||
    fail "the ${size}x$size icon is ${width}x$height"
done

# --- The desktop entry and the metainfo ---------------------------------------------------------
desktop=$share/applications/$app_id.desktop
metainfo=$share/metainfo/$app_id.metainfo.xml
# Hints (such as two main categories, which is deliberate) are fine; warnings and errors are not.
if ! report=$(desktop-file-validate "$desktop" 2>&1) || grep -Eq 'error:|warning:' <<<"$report"; then
  echo "$report" >&2
  fail "desktop-file-validate rejects the desktop entry"
fi
if ! report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || grep -Eq '^[EW]:' <<<"$report"; then
  echo "$report" >&2
  fail "appstreamcli rejects the metainfo"
fi
# The entry must start the installed program and name the installed icon; the metainfo must
# point at the entry.
grep -qx 'Exec=orvane' "$desktop" || fail "Exec is not 'orvane'"
grep -qx "Icon=$app_id" "$desktop" || fail "Icon is not '$app_id'"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $app_id.desktop"

# --- The installed renderer draws what the build tree's draws ---------------------------------
(cd "$scratch" && "$root/usr/bin/orvane-render" -o installed.png) ||
  fail "the installed orvane-render failed"
(cd "$scratch" && "$build_renderer" -o built.png) || fail "the build tree's orvane-render failed"
cmp -s "$scratch/installed.png" "$scratch/built.png" ||
  fail "the installed orvane-render draws a different picture"

# --- The installed program opens its window and closes with status 0 ------------------------------
if [[ -z ${DISPLAY:-} ]]; then
  echo "SKIP: DISPLAY is not set, so the installed orvane was not started" \
    "(run under scripts/xvfb-session.sh); every other check passed"
  exit 77
fi
"$root/usr/bin/orvane" >"$scratch/orvane.log" 2>&1 &
orvane_pid=$!
# --all: the window must be this process's and be titled exactly Orvane.
if ! windows=$(timeout 30 xdotool search --sync --all --onlyvisible --pid "$orvane_pid" \
    --name '^Orvane$'); then
  cat "$scratch/orvane.log" >&2
  fail "no visible window titled 'Orvane' within 30 s"
fi
window=$(head -n1 <<<"$windows")
# Keys go to the focused window, so focus it first; Ctrl+X is 退出.
timeout 10 xdotool windowactivate --sync "$window" || fail "could not activate the window"
xdotool key --clearmodifiers ctrl+x
for _ in $(seq 150); do
  kill -0 "$orvane_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$orvane_pid" 2>/dev/null; then
  cat "$scratch/orvane.log" >&2
  fail "orvane still runs 15 s after Ctrl+X"
fi
status=0
wait "$orvane_pid" || status=$?
orvane_pid=
if [[ $status -ne 0 ]]; then
  cat "$scratch/orvane.log" >&2
  fail "orvane exited with status $status"
fi
echo "PASS: $(basename "$deb") installs, validates, renders and runs"
