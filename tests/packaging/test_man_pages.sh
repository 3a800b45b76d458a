#!/usr/bin/env bash
# Holds the manual pages to the programs. orvane-render.1 is written by hand, so it must
# describe exactly the options that orvane-render --help lists, each with the same value
# name, and name no long option that does not exist: an option added or renamed fails here
# until the page follows. Every page must render without a warning, as man renders it for
# lintian, have a NAME line that whatis can index, and
# name this version in its title line.
# Usage: test_man_pages.sh <orvane-render> <folder of the .1 pages> <version>
set -euo pipefail

renderer=$1 pages=$2 version=$3
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in man lexgrog; do
  command -v "$tool" >/dev/null || fail "$tool is missing; run: bash scripts/install-packages.sh"
done

# --- The options orvane-render --help lists -----------------------------------------------------
# Qt writes one option a line, indented by two spaces: its names joined by ", ", the value's
# name as <NAME>, then a gap of two spaces or more and the description. Wrapped descriptions
# are indented further, so they never match.
help=$("$renderer" --help) || fail "orvane-render --help failed"
declare -A help_value=()
while IFS= read -r line; do
  [[ $line =~ ^\ \ (-[^\ ].*)$ ]] || continue
  names=${BASH_REMATCH[1]%%  *}
  value=
  if [[ $names =~ ^(.*)\ \<([^\>]*)\>$ ]]; then
    names=${BASH_REMATCH[1]} value=${BASH_REMATCH[2]}
  fi
  IFS=',' read -ra list <<<"$names"
  for name in "${list[@]}"; do
    name=${name// /}
    [[ $name =~ ^--?[A-Za-z0-9?][A-Za-z0-9-]*$ ]] || fail "cannot read the option '$name' in: $line"
    help_value[$name]=$value
  done
done <<<"$help"
((${#help_value[@]} >= 10)) || fail "found only ${#help_value[@]} options in --help:"$'\n'"$help"

# --- The options orvane-render.1 describes -------------------------------------------------------
# The tag line after each .TP or .TQ of the OPTIONS section, with roff's escapes and font
# macros taken off: names first, then the value's name.
page=$pages/orvane-render.1
[[ -f $page ]] || fail "no $page"
declare -A page_value=()
tagged=0
while IFS= read -r line; do
  if ((tagged)); then
    tagged=0
    text=$(sed -E 's/^\.(B|I|BI|IB|BR|RB|IR|RI)( |$)//; s/\\f[BIRP]//g; s/\\-/-/g; s/\\[&|]//g; s/"//g' <<<"$line")
    names=() value=
    for word in $text; do
      word=${word%,}
      [[ -z $word ]] && continue
      if [[ -z $value && $word == -* ]]; then names+=("$word"); else value+="${value:+ }$word"; fi
    done
    ((${#names[@]} > 0)) || fail "orvane-render.1: a tag in OPTIONS names no option: $line"
    for name in "${names[@]}"; do
      [[ -z ${page_value[$name]+set} ]] || fail "orvane-render.1 describes $name twice"
      page_value[$name]=$value
    done
  fi
  [[ $line == .TP || $line == .TQ ]] && tagged=1
done < <(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$page")

problems=()
for name in "${!help_value[@]}"; do
  if [[ -z ${page_value[$name]+set} ]]; then
    problems+=("$name is in --help but not described in orvane-render.1")
  elif [[ ${page_value[$name]} != "${help_value[$name]}" ]]; then
    problems+=("$name takes <${help_value[$name]}> in --help but '${page_value[$name]}' in orvane-render.1")
  fi
done
for name in "${!page_value[@]}"; do
  [[ -n ${help_value[$name]+set} ]] || problems+=("orvane-render.1 describes $name, which --help does not list")
done
# Anywhere in the page (examples, the description), a long option must exist.
while read -r name; do
  [[ -n ${help_value[$name]+set} ]] || problems+=("orvane-render.1 mentions $name, which --help does not list")
done < <(sed 's/\\-/-/g' "$page" | grep -oE -- '(^|[^A-Za-z0-9-])--[a-z][a-z0-9-]*' | grep -oE -- '--[a-z0-9-]+' | sort -u)
if ((${#problems[@]} > 0)); then
  printf 'FAIL: %s\n' "${problems[@]}" >&2
  exit 1
fi

# --- Every page renders cleanly -------------------------------------------------------------
# Laid out as a manual section, so that the link page's ".so man1/..." resolves.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/man1"
cp "$pages"/*.1 "$scratch/man1/"
cd "$scratch"
for file in man1/*.1; do
  # lintian's own check: man with every warning, in UTF-8.
  report=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null) ||
    fail "man cannot render $file: $report"
  [[ -z $report ]] || fail "man warns about $file: $report"
  lexgrog "$file" >/dev/null || fail "whatis cannot read the NAME line of $file: $(lexgrog "$file" 2>&1)"
  title=$(grep -m1 '^\.TH ' "$file" || true)
  [[ -z $title || $title == *" \"Orvane $version\" "* ]] ||
    fail "$file is titled for another version than $version: $title"
done
# The link page shows the renderer's page.
[[ $(man -l man1/orvane-render-video.1 2>/dev/null) == "$(man -l man1/orvane-render.1 2>/dev/null)" ]] ||
  fail "orvane-render-video.1 does not show orvane-render.1"
rendered=(man1/*.1)
echo "PASS: ${#help_value[@]} options in --help and orvane-render.1 agree; ${#rendered[@]} pages render cleanly"
