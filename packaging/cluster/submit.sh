#!/usr/bin/env bash
# Submits a zoom video to Slurm in one command: a job array that renders the frames, then the
# encode job that runs once every array task has succeeded.
#
#   submit.sh [--resume] FRAMES_DIR OUT [orvane-render options...]
#
# Every option is checked by orvane-render, as the frame tasks and the encode job will take
# it, before anything is submitted. The frames are split into T = ceil(count / P) array tasks,
# P being ORVANE_FRAMES_PER_TASK (default 25): task k draws frames k, k + T, k + 2T, ..., so
# every task gets its share of the deep, costly frames at the end. With --resume, only the
# tasks whose frames the folder lacks (or holds for another view) are submitted, and the encode
# job after them. ORVANE_RENDER names the renderer (default: orvane-render on the PATH).
# sbatch's own variables (SBATCH_PARTITION, SBATCH_ACCOUNT, SBATCH_TIMELIMIT, ...) apply to both
# jobs.
set -euo pipefail

refuse() {
  echo "submit.sh: $*; nothing was submitted" >&2
  exit 2
}

resume=false
if [[ ${1:-} == --resume ]]; then
  resume=true
  shift
fi
(($# >= 2)) || refuse "usage: submit.sh [--resume] FRAMES_DIR OUT [orvane-render options...]"
here=$(cd "$(dirname "$0")" && pwd)
# Absolute paths: the jobs may start in another folder than this one.
frames_dir=$(realpath -m -- "$1")
out=$(realpath -m -- "$2")
shift 2
# The jobs name their outputs themselves; the same option given twice would be refused in every
# task, hours later.
for option in "$@"; do
  case $option in
    -o | -o=* | --o | --o=* | --video | --video=* | --frames | --frames=* | --frames-dir | \
      --frames-dir=* | --count-frames | --missing-frames | --resume | --info | --info=*)
      refuse "${option%%=*} is set by the jobs themselves (FRAMES_DIR and OUT name the outputs)"
      ;;
  esac
done
render=${ORVANE_RENDER:-orvane-render}
# A path given relative to here would not be found from the jobs' folder on another node.
[[ $render != */* ]] || render=$(realpath -- "$render")
per_task=${ORVANE_FRAMES_PER_TASK:-25}
[[ $per_task =~ ^[1-9][0-9]*$ ]] ||
  refuse "ORVANE_FRAMES_PER_TASK must be a whole number above 0, not '$per_task'"
command -v "$render" >/dev/null ||
  refuse "no $render here; put orvane-render on the PATH or name it in ORVANE_RENDER"
command -v sbatch >/dev/null || refuse "no sbatch here; run this where Slurm jobs are submitted"

# The options as the encode job and the frame tasks take them: whatever either would refuse
# (a codec the container cannot hold, an odd size, ...) is refused now, in the renderer's words.
checked() {
  local said
  said=$("$render" "$@" 2>&1 >/dev/null) && return 0
  refuse "${said#orvane-render: }"
}
checked "$@" --video "$out" --count-frames
checked "$@" --frames 0 --frames-dir "$frames_dir" --count-frames
count=$("$render" "$@" --count-frames)
[[ $count =~ ^[1-9][0-9]*$ ]] || {
  echo "submit.sh: '$render --count-frames' printed '$count', not a frame count" >&2
  exit 1
}
tasks=$(((count + per_task - 1) / per_task))

array=0-$((tasks - 1))
what="$count frames in $tasks array tasks, task k drawing frames k, k + $tasks, k + $((2 * tasks)), ..."
if $resume; then
  missing=$("$render" "$@" --frames-dir "$frames_dir" --missing-frames) || exit 1
  if [[ -z $missing ]]; then
    array=
    if [[ -e $out ]]; then
      echo "submit.sh: every frame and $out are there; nothing to submit"
      exit 0
    fi
  else
    array=$(awk -v t="$tasks" '{ print $1 % t }' <<<"$missing" | sort -n -u | paste -s -d,)
    what="$(wc -l <<<"$missing") missing frames in array tasks $array of $tasks"
  fi
fi
mkdir -p -- "$frames_dir" "$(dirname -- "$out")"

# sbatch passes this environment to the jobs, so every task divides the frames alike.
export ORVANE_RENDER=$render ORVANE_FRAMES_PER_TASK=$per_task
dependency=()
if [[ -n $array ]]; then
  # --parsable prints "id" or "id;cluster".
  frames_job=$(sbatch --parsable --array="$array" \
    "$here/orvane-frames.sbatch" "$frames_dir" "$@") || {
    echo "submit.sh: the frames job was refused; nothing was submitted" >&2
    exit 1
  }
  frames_job=${frames_job%%;*}
  dependency=(--dependency="afterok:$frames_job")
  echo "Submitted frames job $frames_job: $what"
fi
encode_job=$(sbatch --parsable "${dependency[@]}" \
  "$here/orvane-encode.sbatch" "$frames_dir" "$out" "$@") || {
  echo "submit.sh: the encode job was refused${frames_job:+; cancelling frames job $frames_job}" >&2
  [[ -z ${frames_job:-} ]] || scancel "$frames_job" || true
  exit 1
}
encode_job=${encode_job%%;*}
echo "Submitted encode job $encode_job: writes $out${frames_job:+ after job $frames_job succeeds}"
