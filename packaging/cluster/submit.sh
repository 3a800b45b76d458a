#!/usr/bin/env bash
# Submits a zoom video to Slurm in one command: a job array that renders the frames, then the
# encode job that runs once every array task has succeeded.
#
#   submit.sh FRAMES_DIR OUT [orvane-render options...]
#
# The array size comes from orvane-render --count-frames with the same options the jobs get.
# ORVANE_FRAMES_PER_TASK (default 25) sets the frames per array task, ORVANE_RENDER the
# renderer (default: orvane-render on the PATH). sbatch's own variables (SBATCH_PARTITION,
# SBATCH_ACCOUNT, SBATCH_TIMELIMIT, ...) apply to both jobs.
set -euo pipefail

if (($# < 2)); then
  echo "usage: submit.sh FRAMES_DIR OUT [orvane-render options...]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
# Absolute paths: the jobs may start in another folder than this one.
frames_dir=$(realpath -m -- "$1")
out=$(realpath -m -- "$2")
# The encode job runs last, possibly hours later: a name it would refuse is refused now.
case $out in
  *.mp4 | *.webm | *.mkv) ;;
  *)
    echo "submit.sh: the video must be named .mp4, .webm or .mkv, not '$2'; nothing was submitted" >&2
    exit 2
    ;;
esac
shift 2
render=${ORVANE_RENDER:-orvane-render}
# A path given relative to here would not be found from the jobs' folder on another node.
[[ $render != */* ]] || render=$(realpath -- "$render")
per_task=${ORVANE_FRAMES_PER_TASK:-25}
[[ $per_task =~ ^[1-9][0-9]*$ ]] || {
  echo "submit.sh: ORVANE_FRAMES_PER_TASK must be a whole number above 0, not '$per_task'" >&2
  exit 2
}

command -v "$render" >/dev/null || {
  echo "submit.sh: no $render here; put orvane-render on the PATH or name it in ORVANE_RENDER" >&2
  exit 2
}
command -v sbatch >/dev/null || {
  echo "submit.sh: no sbatch here; run this where Slurm jobs are submitted" >&2
  exit 2
}
count=$("$render" "$@" --count-frames) || {
  echo "submit.sh: $render refused the options; nothing was submitted" >&2
  exit 2
}
[[ $count =~ ^[1-9][0-9]*$ ]] || {
  echo "submit.sh: '$render --count-frames' printed '$count', not a frame count" >&2
  exit 1
}
tasks=$(((count + per_task - 1) / per_task))
mkdir -p -- "$frames_dir" "$(dirname -- "$out")"

# sbatch passes this environment to the jobs, so every task divides the frames alike.
export ORVANE_RENDER=$render ORVANE_FRAMES_PER_TASK=$per_task
# --parsable prints "id" or "id;cluster".
frames_job=$(sbatch --parsable --array="0-$((tasks - 1))" \
  "$here/orvane-frames.sbatch" "$frames_dir" "$@") || {
  echo "submit.sh: the frames job was refused; nothing was submitted" >&2
  exit 1
}
frames_job=${frames_job%%;*}
echo "Submitted frames job $frames_job: $count frames in $tasks array tasks of up to $per_task"
encode_job=$(sbatch --parsable --dependency="afterok:$frames_job" \
  "$here/orvane-encode.sbatch" "$frames_dir" "$out" "$@") || {
  echo "submit.sh: the encode job was refused; cancelling frames job $frames_job" >&2
  scancel "$frames_job" || true
  exit 1
}
encode_job=${encode_job%%;*}
echo "Submitted encode job $encode_job: writes $out after job $frames_job succeeds"
