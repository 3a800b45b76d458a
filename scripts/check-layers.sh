#!/usr/bin/env bash
# Checks that no include runs back up a layer: each folder of src/ may include only itself and
# the folders below it. The engine is at the bottom and sees nothing else, so the window and
# the renderer can both stand on it.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A below=(
  [engine]=""
  [platform]="engine"
  [navigation]="engine"
  [control]="engine platform"
  [colour_dialogs]="engine platform"
  [help]="platform"
  [shell]="engine platform navigation control colour_dialogs help"
  [app]="platform shell"
  [deep]="engine"
  [png]="engine"
  [video]="engine"
  [render]="engine deep png video"
  [explore]="engine deep png render platform control"
)

status=0
for folder in src/*/; do
  name=$(basename "$folder")
  if [[ ! -v below[$name] ]]; then
    echo "check-layers.sh: src/$name has no place among the layers here" >&2
    status=1
    continue
  fi
  allowed=" $name ${below[$name]} "
  while IFS=: read -r file line included; do
    [[ $allowed == *" $included "* ]] && continue
    echo "check-layers.sh: $file:$line includes $included/, above src/$name" >&2
    status=1
  done < <(grep -rnoE '^#include "[a-z_]+/' "$folder" | sed -E 's/#include "([a-z_]+)\//\1/')
done
((status == 0)) && echo "check-layers.sh: every include runs down"
exit $status
