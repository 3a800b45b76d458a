#!/usr/bin/env bash
# Packs the build tree with cpack -G DEB, unpacks the package into a scratch root and checks it
# the way a user's system would use it: the control fields, Debian's policy (lintian), the
# installed files, the manual pages, the cluster scripts, the desktop entry and metainfo
# validators, the renderer's picture and the program's window.
# Usage: test_debian_package.sh <cpack> <build dir> <version> <build tree's orvane-render>
# Exit status 77 (ctest's skip) when there is no X display for the window check.
set -euo pipefail

cpack=$1 build_dir=$2 version=$3 build_renderer=$4
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
log=$("$cpack" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" 2>&1) ||
  fail "cpack -G DEB failed: $log"
deb=$scratch/out/orvane_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no package named $(basename "$deb"): $(ls "$scratch/out")"

for pair in Package=orvane Version="$version" Section=graphics \
    'Maintainer=Orvane 开发组 <team@orvane.example.org>'; do
  value=$(dpkg-deb -f "$deb" "${pair%%=*}")
  [[ $value == "${pair#*=}" ]] || fail "${pair%%=*} is '$value'"
done
[[ -n $(dpkg-deb -f "$deb" Description) ]] || fail "no Description"
depends=$(dpkg-deb -f "$deb" Depends)
# The libraries come from dpkg-shlibdeps: without them the package installs and cannot start.
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libtbb12 \
    'fonts-wqy-microhei | fonts-noto-cjk'; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks '$needed': $depends"
done

# --- Debian's policy ----------------------------------------------------------------------------
# Errors fail, and so does a program without a manual page (the tag's name before lintian 2.105
# and after); other warnings are printed for the log.
command -v lintian >/dev/null || fail "lintian is missing; run: bash scripts/install-packages.sh"
report=$(lintian --fail-on error "$deb" 2>&1) || fail "lintian reports errors: $report"
! grep -E '^[EW]: orvane: (no-manual-page|binary-without-manpage)' <<<"$report" ||
  fail "lintian finds a program without a manual page: $report"
[[ -z $report ]] || echo "lintian: $report"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
# The changelog's newest entry must be this version's, or the release forgot its entry.
entry=$(gzip -dc "$root/usr/share/doc/orvane/changelog.gz" | head -n 1)
[[ $entry == "orvane ($version) "* ]] || fail "the changelog's newest entry is not $version: $entry"
icons=$root/usr/share/icons/hicolor
desktop=$root/usr/share/applications/$app_id.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
for program in orvane orvane-render orvane-render-video orvane-explore; do
  [[ -x $root/usr/bin/$program ]] || fail "the package lacks /usr/bin/$program"
done
explore_desktop=$root/usr/share/applications/$app_id.Explore.desktop
for path in "$desktop" "$explore_desktop" "$metainfo" "$icons/scalable/apps/$app_id.svg" \
  "$icons/scalable/apps/$app_id.Explore.svg"; do
  [[ -f $path ]] || fail "the package lacks ${path#"$root"}"
done
# Each icon must be the size its folder claims: width and height from the PNG header.
for size in 16 22 24 32 48 64 128 256; do
  for png in "$icons/${size}x$size/apps/$app_id.png" "$icons/${size}x$size/apps/$app_id.Explore.png"; do
    [[ -f $png ]] || fail "the package lacks ${png#"$root"}"
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
      awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [[ $width == "$size" && $height == "$size" ]] || fail "${png#"$root"} is ${width}x$height"
  done
done

# --- The manual pages ---------------------------------------------------------------------------
# Each program's page, found as man finds it in the package's own tree (orvane-render-video's
# is a link to the renderer's).
for program in orvane orvane-render orvane-render-video orvane-explore; do
  [[ -f $root/usr/share/man/man1/$program.1.gz ]] ||
    fail "the package lacks /usr/share/man/man1/$program.1.gz"
  shown=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -M "$root/usr/share/man" 1 "$program" 2>&1 | col -b) ||
    fail "man cannot show the installed page of $program: $shown"
  grep -A1 '^NAME' <<<"$shown" | grep -qE "(^| )$program(,| )" ||
    fail "the installed page shown for $program does not name it: $shown"
done

# --- The cluster scripts ------------------------------------------------------------------------
cluster=$root/usr/share/orvane/cluster
for script in submit.sh orvane-frames.sbatch orvane-encode.sbatch; do
  [[ -x $cluster/$script ]] || fail "the package lacks /usr/share/orvane/cluster/$script, executable"
done
[[ -f $cluster/README.md ]] || fail "the package lacks /usr/share/orvane/cluster/README.md"
# submit.sh, run from elsewhere, must submit the batch scripts installed beside it. A stand-in
# sbatch records what it is given and answers with a job id.
mkdir "$scratch/bin"
cat >"$scratch/bin/sbatch" <<'STANDIN'
#!/usr/bin/env bash
printf '%s\n' "$*" >>"$SUBMITTED"
echo 4242
STANDIN
chmod +x "$scratch/bin/sbatch"
submitted=$scratch/submitted
output=$(cd "$scratch" && PATH="$scratch/bin:$PATH" SUBMITTED=$submitted \
  ORVANE_RENDER=$root/usr/bin/orvane-render "$cluster/submit.sh" frames zoom.mp4 --seconds 2 \
  --size 64x48 2>&1) || fail "the installed submit.sh failed: $output"
# 60 frames at 25 a task: 3 array tasks. submit.sh makes the paths absolute, links resolved.
here=$(realpath "$scratch")
grep -qF -- "--array=0-2 $cluster/orvane-frames.sbatch $here/frames --seconds 2" "$submitted" &&
  grep -qF -- "--dependency=afterok:4242 $cluster/orvane-encode.sbatch $here/frames $here/zoom.mp4" \
    "$submitted" || fail "the installed submit.sh did not submit the scripts beside it: $(<"$submitted")"

# --- The desktop entry and the metainfo ---------------------------------------------------------
# Hints (such as two main categories, which is deliberate) are fine; warnings and errors are not.
for entry in "$desktop" "$explore_desktop"; do
  report=$(desktop-file-validate "$entry" 2>&1) && ! grep -Eq 'error:|warning:' <<<"$report" ||
    fail "desktop-file-validate rejects ${entry#"$root"}: $report"
done
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) && ! grep -Eq '^[EW]:' <<<"$report" ||
  fail "appstreamcli rejects the metainfo: $report"
# The entry must start the installed program and name the installed icon; the metainfo must
# point at the entry.
grep -qx 'Exec=orvane' "$desktop" || fail "Exec is not 'orvane'"
grep -qx "Icon=$app_id" "$desktop" || fail "Icon is not '$app_id'"
grep -qx 'Exec=orvane-explore %f' "$explore_desktop" || fail "orvane-explore's Exec is not 'orvane-explore %f'"
grep -qx "Icon=$app_id.Explore" "$explore_desktop" || fail "orvane-explore's Icon is not '$app_id.Explore'"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $app_id.desktop"

# --- The installed renderer draws what the build tree's draws ---------------------------------
cd "$scratch"
"$root/usr/bin/orvane-render" -o installed.png || fail "the installed orvane-render failed"
"$build_renderer" -o built.png || fail "the build tree's orvane-render failed"
cmp -s installed.png built.png || fail "the installed orvane-render draws a different picture"

# --- The installed program opens its window and closes with status 0 ------------------------------
if [[ -z ${DISPLAY:-} ]]; then
  echo "SKIP: DISPLAY is not set, so the installed orvane was not started" \
    "(run under scripts/xvfb-session.sh); every other check passed"
  exit 77
fi
"$root/usr/bin/orvane" >"$scratch/orvane.log" 2>&1 &
orvane_pid=$!
# --all: the window must be this process's and be titled exactly Orvane.
windows=$(timeout 30 xdotool search --sync --all --onlyvisible --pid "$orvane_pid" --name '^Orvane$') ||
  fail "no visible window titled 'Orvane' within 30 s: $(<"$scratch/orvane.log")"
# Keys go to the focused window, so focus it first; Ctrl+X is 退出.
timeout 10 xdotool windowactivate --sync "$(head -n1 <<<"$windows")" || fail "could not activate the window"
xdotool key --clearmodifiers ctrl+x
for _ in $(seq 150); do
  kill -0 "$orvane_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$orvane_pid" 2>/dev/null && fail "orvane still runs 15 s after Ctrl+X"
status=0
wait "$orvane_pid" || status=$?
orvane_pid=
[[ $status -eq 0 ]] || fail "orvane exited with status $status: $(<"$scratch/orvane.log")"
echo "PASS: $(basename "$deb") installs, validates, renders and runs"
