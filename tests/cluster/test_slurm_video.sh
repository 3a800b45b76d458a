#!/usr/bin/env bash
# The cluster pieces on a real one-node Slurm: starts munged, slurmctld and slurmd of its own
# from a generated configuration in a scratch folder; checks that submit.sh refuses bad options
# before any job exists; submits a short small zoom video through packaging/cluster/submit.sh
# with one array task killed, waits for the encode job to be cancelled, resubmits with
# --resume, and checks what the jobs left in the shared folder against one local run; then
# stops everything it started.
# Usage: test_slurm_video.sh <packaging/cluster folder> <orvane-render>
# Exit status 77 (ctest's skip) where this cannot run: orvane-render without the video options,
# not root, packages missing, or the daemons do not come up (the reason and the daemons' logs
# are printed).
set -euo pipefail

# Absolute, for the test and the jobs run from the scratch folder.
cluster_dir=$(realpath -- "$1") render=$(realpath -- "$2")
node=orvane-node
frames_per_task=3
# 1 second at 8 frames per second: 8 frames, so 3 array tasks, each every third frame (0, 3, 6;
# 1, 4, 7; 2, 5).
video_options=(--size 64x48 --seconds 1 --fps 8 --zoom-from 1 --zoom 4)
expected_frames=8
expected_tasks=3
# Kept below the ctest timeout, so the clean-up runs before ctest would kill the test.
wait_seconds=180

skip() {
  echo "SKIP: $*"
  exit 77
}
# The jobs split the video by the frame count the renderer prints; a renderer that cannot print
# it has nothing for a cluster to do.
help=$("$render" --help 2>/dev/null || true)
grep -q -- --count-frames <<<"$help" ||
  skip "$render has no --count-frames (the zoom video options are not in this build)"
[[ $(id -u) -eq 0 ]] || skip "slurmd must run as root to start jobs; run the test as root"
for tool in munged mungekey munge unmunge slurmctld slurmd sbatch scontrol scancel squeue sinfo; do
  command -v "$tool" >/dev/null ||
    skip "$tool is missing (Debian's slurm-wlm and munge); run: bash scripts/install-packages.sh"
done

# Under /tmp rather than $TMPDIR: munged's socket path must stay short.
scratch=$(mktemp -d /tmp/orvane-slurm.XXXXXX)
logs=$scratch/logs work=$scratch/work shared=$scratch/shared
mkdir -p "$logs" "$work" "$shared" "$scratch/munge" "$scratch/state" "$scratch/spool"
# Everything the cluster starts carries this variable, so the clean-up finds the job steps,
# which slurmd starts as processes of their own, by their environment.
marker=ORVANE_SLURM_TEST=$scratch
daemon_pids=() daemon_names=()
jobs_submitted=()

ours() {
  grep -lzxF -- "$marker" /proc/[0-9]*/environ 2>/dev/null | sed 's|^/proc/||; s|/environ$||'
}
cleanup() {
  set +e
  # Cancelled jobs end through the daemons, which must still be up for that.
  if ((${#jobs_submitted[@]})); then
    scancel "${jobs_submitted[@]}" 2>/dev/null
    for _ in $(seq 100); do
      [[ -z $(squeue -h 2>/dev/null) ]] && break
      sleep 0.1
    done
  fi
  local pid
  for pid in "${daemon_pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  for _ in $(seq 50); do
    [[ -z $(ours) ]] && break
    sleep 0.1
  done
  for pid in $(ours); do
    kill -KILL "$pid" 2>/dev/null
  done
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
# A timeout's or a user's signal must still stop the daemons.
trap 'exit 143' TERM INT HUP

show_logs() {
  local log
  for log in "$logs"/*.log "$work"/*.out; do
    [[ -s $log ]] || continue
    # A daemon's standard error repeats its log file once it could open that.
    [[ $log == *.stderr.log && -s ${log%.stderr.log}.log ]] && continue
    echo "--- last lines of ${log#"$scratch"/} ---"
    tail -n 25 "$log"
  done
}
fail() {
  echo "FAIL: $*" >&2
  show_logs >&2
  exit 1
}
cannot_start() {
  show_logs
  skip "$*"
}

# A port that nothing listens on, so other clusters on this machine (another engineer's run of
# this test, say) are left alone.
listening=$(awk 'NR > 1 && $4 == "0A" { sub(/.*:/, "", $2); print $2 }' /proc/net/tcp /proc/net/tcp6 \
  2>/dev/null | while read -r hex; do echo $((16#$hex)); done)
free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % 40000))
    grep -qx "$port" <<<"$listening" || break
  done
  listening+=$'\n'$port
  echo "$port"
}

# --- munge: a key and a socket of its own ------------------------------------------------------
mungekey --create --keyfile="$scratch/munge/munge.key" >"$logs/mungekey.log" 2>&1 ||
  cannot_start "mungekey could not create a key"
socket=$scratch/munge/munge.socket
env "$marker" munged --foreground --force --key-file="$scratch/munge/munge.key" \
  --socket="$socket" --pid-file="$scratch/munge/munged.pid" --log-file="$logs/munged.log" \
  --seed-file="$scratch/munge/munged.seed" >>"$logs/munged.log" 2>&1 &
daemon_pids+=($!) daemon_names+=(munged)
for _ in $(seq 100); do
  munge -n -S "$socket" 2>/dev/null | unmunge -S "$socket" >/dev/null 2>&1 && break
  sleep 0.1
done
munge -n -S "$socket" 2>/dev/null | unmunge -S "$socket" >/dev/null 2>&1 ||
  cannot_start "munged did not come up"

# --- slurm.conf: one node, this machine, no cgroups and no accounting ------------------------
host=$(hostname -s)
cpus=$(nproc)
export SLURM_CONF=$scratch/slurm.conf
cat >"$SLURM_CONF" <<EOF
ClusterName=orvanetest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$(free_port)
SlurmdPort=$(free_port)
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$socket
StateSaveLocation=$scratch/state
SlurmdSpoolDir=$scratch/spool
SlurmctldPidFile=$scratch/slurmctld.pid
SlurmdPidFile=$scratch/slurmd.pid
SlurmctldLogFile=$logs/slurmctld.log
SlurmdLogFile=$logs/slurmd.log
# Process tracking by the process tree and no task binding: containers often lack cgroups.
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
SwitchType=switch/none
MpiDefault=none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
SchedulerType=sched/builtin
MailProg=/bin/true
ReturnToService=2
# The node's hardware as configured here, whatever slurmd detects.
SlurmdParameters=config_overrides
NodeName=$node NodeHostname=$host NodeAddr=127.0.0.1 CPUs=$cpus RealMemory=500 State=UNKNOWN
PartitionName=orvane Nodes=$node Default=YES MaxTime=INFINITE State=UP
EOF

# slurmd initialises a cgroup plugin even when nothing uses cgroups, and the default one fails
# where no cgroup file system is mounted (a chroot, some containers); the v1 plugin only looks
# for one when a job asks for cgroups, which none does here.
cat >"$scratch/cgroup.conf" <<EOF
CgroupPlugin=cgroup/v1
CgroupAutomount=no
EOF

env "$marker" slurmctld -D -i -f "$SLURM_CONF" >"$logs/slurmctld.stderr.log" 2>&1 &
daemon_pids+=($!) daemon_names+=(slurmctld)
env "$marker" slurmd -D -N "$node" -f "$SLURM_CONF" >"$logs/slurmd.stderr.log" 2>&1 &
daemon_pids+=($!) daemon_names+=(slurmd)

state=
for _ in $(seq 300); do
  state=$(sinfo -h -n "$node" -o %t 2>/dev/null || true)
  [[ $state == idle ]] && break
  for i in "${!daemon_pids[@]}"; do
    kill -0 "${daemon_pids[i]}" 2>/dev/null || cannot_start "${daemon_names[i]} exited while starting"
  done
  sleep 0.1
done
[[ $state == idle ]] || cannot_start "the node did not become idle in 30 s (state '$state')"

# --- Options that a job would refuse are refused before any job exists ----------------------
cd "$work"
# The renderer as the jobs run it, except that task 1's first rendering is killed, as a node
# failing under it would kill it.
wrapper=$scratch/orvane-render-killed-once
cat >"$wrapper" <<EOF
#!/usr/bin/env bash
if [[ \${SLURM_ARRAY_TASK_ID:-} == 1 && " \$* " == *" --frames "* ]] && mkdir "$scratch/killed" 2>/dev/null; then
  kill -KILL \$\$
fi
exec "$render" "\$@"
EOF
chmod +x "$wrapper"
submit() {
  env "$marker" ORVANE_RENDER="$wrapper" ORVANE_FRAMES_PER_TASK=$frames_per_task \
    bash "$cluster_dir/submit.sh" "$@"
}
for bad in "--codec vp9" "-o x.png" "--frames 0-3"; do
  status=0
  # shellcheck disable=SC2086 # each bad option is two words
  said=$(submit "$shared/frames" "$shared/zoom.mp4" "${video_options[@]}" $bad 2>&1) || status=$?
  ((status == 2)) || fail "submit.sh took '$bad' (status $status): $said"
  [[ $(wc -l <<<"$said") -eq 1 ]] || fail "submit.sh said more than one line for '$bad': $said"
  [[ -z $(squeue -h) && ! -e $shared/frames ]] ||
    fail "submit.sh refused '$bad' but left a job or a folder"
done

job_state() { scontrol -o show job "$1" 2>/dev/null | sed -n 's/.*JobState=\([A-Z_]*\).*/\1/p'; }
# The state a job ends in, or the last one seen once the wait is over.
wait_end() {
  local state=
  for ((i = 0; i < wait_seconds * 2; i++)); do
    state=$(job_state "$1")
    case $state in
      COMPLETED | FAILED | CANCELLED | TIMEOUT | NODE_FAIL | OUT_OF_MEMORY | BOOT_FAIL | DEADLINE) break ;;
    esac
    sleep 0.5
  done
  echo "$state"
}
# Submits through submit.sh and waits for its encode job: sets submitted, frames_job, encode_job
# and encode_state.
submit_and_wait() {
  submitted=$(submit "$@" 2>&1) || fail "submit.sh $* failed: $submitted"
  echo "$submitted"
  frames_job=$(sed -n 's/^Submitted frames job \([0-9]*\).*/\1/p' <<<"$submitted")
  encode_job=$(sed -n 's/^Submitted encode job \([0-9]*\).*/\1/p' <<<"$submitted")
  [[ -n $frames_job && -n $encode_job ]] || fail "submit.sh did not name both jobs: $submitted"
  jobs_submitted+=("$frames_job" "$encode_job")
  encode_state=$(wait_end "$encode_job")
}

# --- The video, through the helper a user runs, task 1 killed ----------------------------------
submit_and_wait "$shared/frames" "$shared/zoom.mp4" "${video_options[@]}"
# Every array task ran its own share; task 1 was killed, so the encode job could never start.
tasks=$(scontrol -o show job "$frames_job" 2>/dev/null)
task_count=$(grep -c 'ArrayTaskId=' <<<"$tasks" || true)
((task_count == expected_tasks)) ||
  fail "the frames job has $task_count array tasks, not $expected_tasks: $tasks"
while read -r line; do
  if [[ $line == *"ArrayTaskId=1 "* ]]; then
    [[ $line != *"JobState=COMPLETED "* ]] || fail "task 1 completed although it was killed: $line"
  else
    [[ $line == *"JobState=COMPLETED "* && $line == *"ExitCode=0:0 "* ]] ||
      fail "an array task did not complete: $line"
  fi
done <<<"$tasks"
[[ $encode_state == CANCELLED ]] ||
  fail "the encode job ended as '$encode_state', not cancelled after task 1 was killed"
[[ ! -e $shared/zoom.mp4 ]] || fail "a video was written although a task was killed"

# --- Resubmitted with --resume: task 1 alone, then the video ------------------------------------
submit_and_wait --resume "$shared/frames" "$shared/zoom.mp4" "${video_options[@]}"
grep -q "in array tasks 1 of $expected_tasks\$" <<<"$submitted" ||
  fail "submit.sh --resume did not resubmit task 1 alone: $submitted"
line=$(scontrol -o show job "$frames_job" 2>/dev/null)
[[ $line == *"JobState=COMPLETED "* && $line == *"ExitCode=0:0 "* ]] ||
  fail "the resubmitted task did not complete: $line"
[[ $encode_state == COMPLETED ]] ||
  fail "the resubmitted encode job ended as '$encode_state' (waited up to $wait_seconds s)"

# --- What the jobs left in the shared folder ---------------------------------------------------
# Every task got the user's options and its own share: the frames equal those of one local run
# of the whole video, which the renderer promises byte for byte.
mkdir -p "$scratch/local"
"$render" "${video_options[@]}" --frames "0-$((expected_frames - 1))" --frames-dir "$scratch/local" \
  >"$logs/local-run.log" 2>&1 || fail "the local run of all frames failed"
for ((k = 0; k < expected_frames; k++)); do
  name=$(printf 'frame-%06d.png' "$k")
  [[ -f $shared/frames/$name ]] || fail "frame $k is missing: $(ls "$shared/frames")"
  cmp -s "$scratch/local/$name" "$shared/frames/$name" ||
    fail "frame $k differs from the same frame of one local run"
done
found=$(find "$shared/frames" -name 'frame-*.png' | wc -l)
((found == expected_frames)) || fail "$found frames were written, not $expected_frames"
[[ -s $shared/zoom.mp4 ]] || fail "the encode job left no video"
# An MP4 starts with its ftyp box; what the video holds is the renderer's own tests' concern.
[[ $(head -c 8 "$shared/zoom.mp4" | tail -c 4) == ftyp ]] || fail "zoom.mp4 is not an MP4 file"
echo "PASS: bad options refused before any job; $expected_frames frames from $expected_tasks" \
  "interleaved array tasks, the killed one resubmitted alone, and the video after them"
