#!/usr/bin/env bash
# Checks the shape of the source tree (default: src/ beside this script; or the folder given):
#  - every folder with sources adds them to one library: its CMakeLists.txt names one layer in
#    nupo_sources() (core, gl or ui), or none when the folder only builds an executable;
#  - includes run downward only: a file includes no header of a library above its own (core < gl < ui);
#    platform/ and shared/ include only themselves; analysis/ includes only analysis/, shared/ and platform/;
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
    analysis) echo "analysis shared platform" ;;
    *) echo "" ;;
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
    theirs="${library[$incDir]:-exe}"
    [ "$own" = mixed ] || [ "$theirs" = mixed ] && continue
    if [ "$(rank "$theirs")" -gt "$(rank "$own")" ]; then
      breach "$rel ($own) includes $inc ($theirs)"
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done < <(find "$root" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

if [ "$status" -eq 0 ]; then
  echo "Layers: every folder is one library, every include runs downward, no file over $maxLines lines."
fi
exit "$status"
