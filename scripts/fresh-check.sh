#!/usr/bin/env bash
# Runs the README's two commands on a fresh, minimal Debian 12 system, as a new user would:
# builds a root with `debootstrap --variant=minbase bookworm`, clones the current commit into
# it and runs, as root and without questions,
#   bash scripts/run.sh    (must build and start Orvane; it is stopped once it has run 10 s)
#   bash scripts/test.sh   (must pass)
# then reports each command's result and time. Slow (about half an hour) and needs root, the
# network to the Debian mirror that apt already uses, and debootstrap; not part of CI.
# Uncommitted changes are not checked: commit first.
#
#   bash scripts/fresh-check.sh [root directory, default /var/tmp/orvane-fresh]
set -euo pipefail
cd "$(dirname "$0")/.."

root=${1:-/var/tmp/orvane-fresh}
[[ $(id -u) -eq 0 ]] || { echo "fresh-check.sh: run as root (debootstrap and chroot)" >&2; exit 2; }
command -v debootstrap >/dev/null || {
  echo "fresh-check.sh: debootstrap is missing; run: apt-get install debootstrap" >&2
  exit 2
}

# The mirror apt already uses, from either source format.
mirror=$(grep -hoE '^(URIs:|deb) +https?://[^ ]+/debian/?( |$)' \
  /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null |
  grep -oE 'https?://[^ ]+' | head -n 1 || true)
mirror=${mirror:-http://deb.debian.org/debian}

mounted=()
cleanup() {
  pkill -KILL -f "^$root/" 2>/dev/null || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
mount_into() { # type-or-bind source target
  mkdir -p "$root/$3"
  if [[ $1 == bind ]]; then mount --bind "$2" "$root/$3"; else mount -t "$1" "$2" "$root/$3"; fi
  mounted+=("$root/$3")
}

commit=$(git rev-parse HEAD)
echo "== fresh root $root from $mirror, commit $commit"
umount -R "$root" 2>/dev/null || true
rm -rf "$root"
started=$SECONDS
debootstrap --variant=minbase bookworm "$root" "$mirror" >"/tmp/fresh-check-debootstrap.log" 2>&1 ||
  { tail -n 30 /tmp/fresh-check-debootstrap.log >&2; exit 1; }
echo "debootstrap: $((SECONDS - started)) s"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount_into proc proc proc
mount_into sysfs sys sys
mount_into bind /dev dev
mount_into devpts devpts dev/pts
mount_into tmpfs tmpfs dev/shm
git clone -q --no-hardlinks . "$root/root/orvane"
git -C "$root/root/orvane" checkout -q --detach "$commit"

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

results=()
report() { results+=("$(printf '%-22s %-6s %5d s' "$1" "$2" "$3")"); }

# The first command ends only when Orvane is closed: it passes when Orvane is still running
# 10 s after it started. No X server exists before the second command installs one, so the
# window goes to Qt's offscreen platform.
started=$SECONDS
in_root QT_QPA_PLATFORM=offscreen bash -c 'cd /root/orvane && bash scripts/run.sh' \
  >/tmp/fresh-check-run.log 2>&1 </dev/null &
runner=$!
status=FAIL
while kill -0 "$runner" 2>/dev/null; do
  if pgrep -f "^(/root/orvane/)?\./build/release/src/app/orvane" >/dev/null; then
    up=$SECONDS
    sleep 10
    pgrep -f "\./build/release/src/app/orvane" >/dev/null && status=pass
    pkill -f "\./build/release/src/app/orvane" || true
    break
  fi
  sleep 1
done
wait "$runner" 2>/dev/null || true
report "bash scripts/run.sh" "$status" "$((${up:-$SECONDS} - started))"
[[ $status == pass ]] || tail -n 40 /tmp/fresh-check-run.log >&2

started=$SECONDS
status=pass
in_root bash -c 'cd /root/orvane && bash scripts/test.sh' >/tmp/fresh-check-test.log 2>&1 \
  </dev/null || status=FAIL
report "bash scripts/test.sh" "$status" "$((SECONDS - started))"
[[ $status == pass ]] || tail -n 60 /tmp/fresh-check-test.log >&2

echo "== results (logs: /tmp/fresh-check-{run,test}.log)"
printf '%s\n' "${results[@]}"
! printf '%s\n' "${results[@]}" | grep -q FAIL
