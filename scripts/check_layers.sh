#!/usr/bin/env bash
# Checks the shape of the source tree (default: src/ beside this script; or the folder given):
#  - every folder with sources adds them to one library: its CMakeLists.txt names one layer in
#    nupo_sources() (core, gl or ui), or none when the folder only builds an executable;
#  - includes run downward only: a file includes no header of a library above its own (core < gl < ui);
#    platform/ and shared/ include only themselves;
#  - subsystems depend in order: platform, shared < core < analysis < plots < views3d < midi < QXDrawerSound
#    < document < QXSketch < interop < tools < app; a file includes no header of a subsystem after its own.
#    The hubs (core/ui with the main menu, document/ui, app) may include any subsystem; a hub's headers are
#    included by no other subsystem, and among hubs only upward (document/ui < core/ui < app);
#  - every include of our own names its path from the source root and finds the file there;
#  - no source file is longer than 1,000 lines.
# Prints each breach and exits 1 when there is one.
set -uo pipefail

root="${1:-$(cd "$(dirname "$0")/../src" && pwd)}"
maxLines=1000
status=0

breach() {
  echo "$1"
  status=1
}

# The library of a folder: the one layer its CMakeLists.txt names, "exe" when it names none.
declare -A library
while IFS= read -r -d '' dir; do
  rel="${dir#"$root"/}"
  [ "$dir" = "$root" ] && continue
  if ! compgen -G "$dir/*.h" >/dev/null && ! compgen -G "$dir/*.cpp" >/dev/null; then
    continue
  fi
  if [ ! -f "$dir/CMakeLists.txt" ]; then
    breach "$rel: sources but no CMakeLists.txt, so no library"
    continue
  fi
  layers=$(grep -oE 'nupo_sources\([[:space:]]*(core|gl|ui)' "$dir/CMakeLists.txt" |
    sed -E 's/.*\(\s*//' | sort -u | tr '\n' ' ' | sed 's/ $//')
  case "$layers" in
    core | gl | ui) library[$rel]=$layers ;;
    "") library[$rel]=exe ;;
    *)
      library[$rel]=mixed
      breach "$rel: files in more than one library ($layers)"
      ;;
  esac
  if grep -zoE 'nupo_sources\([^)]*/[^)]*\)' "$dir/CMakeLists.txt" >/dev/null; then
    breach "$rel/CMakeLists.txt: adds files of another folder"
  fi
done < <(find "$root" -type d -print0)

rank() {
  case "$1" in
    core) echo 0 ;;
    gl) echo 1 ;;
    ui) echo 2 ;;
    *) echo 3 ;;
  esac
}

# Which top-level folders a top-level folder may include; empty: any.
allowedTops() {
  case "$1" in
    platform) echo "platform" ;;
    shared) echo "shared" ;;
    *) echo "" ;;
  esac
}

# The place of a subsystem (top-level folder) in the order; folders outside it are last.
subsystems=(platform shared core analysis plots views3d midi QXDrawerSound document QXSketch interop tools app)
declare -A order
for i in "${!subsystems[@]}"; do order[${subsystems[$i]}]=$i; done
order[shared]=${order[platform]}
subsystemRank() {
  echo "${order[$1]:-${#subsystems[@]}}"
}

# The hub a path lies in (core/ui, document/ui or app), or nothing; hubs in their own order.
hubOf() {
  case "$1" in
    document/ui/*) echo "document/ui" ;;
    core/ui/*) echo "core/ui" ;;
    app/*) echo "app" ;;
  esac
}
hubRank() {
  case "$1" in
    document/ui) echo 0 ;;
    core/ui) echo 1 ;;
    app) echo 2 ;;
  esac
}

while IFS= read -r -d '' file; do
  rel="${file#"$root"/}"
  dir="${rel%/*}"
  [ "$dir" = "$rel" ] && dir=""
  lines=$(wc -l <"$file")
  if [ "$lines" -gt "$maxLines" ]; then
    breach "$rel: $lines lines (more than $maxLines)"
  fi
  [ -n "$dir" ] || continue
  own="${library[$dir]:-}"
  [ -n "$own" ] || continue
  top="${rel%%/*}"
  allowed=$(allowedTops "$top")
  ownRank=$(subsystemRank "$top")
  ownHub=$(hubOf "$rel")
  while IFS= read -r inc; do
    if [ ! -f "$root/$inc" ]; then
      breach "$rel: includes \"$inc\", which is not a path from the source root"
      continue
    fi
    incDir="${inc%/*}"
    incTop="${inc%%/*}"
    if [ -n "$allowed" ] && [[ " $allowed " != *" $incTop "* ]]; then
      breach "$rel: $top/ includes $inc"
    fi
    incHub=$(hubOf "$inc")
    if [ -n "$incHub" ] && [ "$incHub" != "$ownHub" ]; then
      if [ -z "$ownHub" ]; then
        breach "$rel: $top/ includes the hub $incHub: $inc"
      elif [ "$(hubRank "$incHub")" -gt "$(hubRank "$ownHub")" ]; then
        breach "$rel: the hub $ownHub includes the hub $incHub: $inc"
      fi
    elif [ -z "$ownHub" ] && [ "$(subsystemRank "$incTop")" -gt "$ownRank" ]; then
      breach "$rel: $top/ includes $inc of the later subsystem $incTop/"
    fi
    theirs="${library[$incDir]:-exe}"
    [ "$own" = mixed ] || [ "$theirs" = mixed ] && continue
    if [ "$(rank "$theirs")" -gt "$(rank "$own")" ]; then
      breach "$rel ($own) includes $inc ($theirs)"
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done < <(find "$root" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

if [ "$status" -eq 0 ]; then
  echo "Layers: every folder is one library, every include runs downward in library and subsystem, no file over $maxLines lines."
fi
exit "$status"
