#!/usr/bin/env bash
# The layer check finds each kind of breach in a small tree (a library, a subsystem or a hub reached the
# wrong way), lets the hubs reach up, and passes the same tree once mended.
set -uo pipefail
check="$1"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

folder() {  # folder <path> <layer or empty>
  mkdir -p "$tree/$1"
  if [ -n "$2" ]; then echo "nupo_sources($2 x.h)" >"$tree/$1/CMakeLists.txt"; else echo "add_executable(x x.cpp)" >"$tree/$1/CMakeLists.txt"; fi
}
source_file() {  # source_file <path> <include>...
  local path="$1"
  shift
  : >"$tree/$path"
  for inc in "$@"; do echo "#include \"$inc\"" >>"$tree/$path"; done
}
expect() {
  if ! grep -qF -- "$1" <<<"$output"; then
    echo "missing: $1"
    failures=1
  fi
}

folder platform/appkit core
folder shared core
folder analysis core
folder plots gl
folder plots/ui ui
folder midi core
folder core/ui ui
folder document ui
folder document/ui ui
folder tool ""
source_file platform/appkit/Thread.h "shared/State.h"
source_file shared/State.h "analysis/Fft.h"
source_file analysis/Fft.h "plots/View.h" "Fft2.h"
source_file plots/View.h "plots/ui/Window.h" "shared/State.h" "midi/Map.h"
source_file plots/ui/Window.h "plots/View.h" "tool/Tool.h" "core/ui/Menu.h"
source_file core/ui/Menu.h "document/ui/Controller.h" "document/Section.h" "plots/ui/Window.h"
source_file document/ui/Controller.h "core/ui/Menu.h" "document/Section.h"
source_file document/Section.h "midi/Map.h" "QXSketch/Drawing.h"
mkdir -p "$tree/QXSketch"
echo "nupo_sources(ui Drawing.h)" >"$tree/QXSketch/CMakeLists.txt"
source_file QXSketch/Drawing.h "document/Section.h"
source_file midi/Map.cpp "midi/Map.h" "analysis/Fft.h"
source_file midi/Map.h
source_file tool/Tool.h
echo "nupo_sources(core Mixed.h)" >"$tree/midi/CMakeLists.txt"
echo "nupo_sources(ui MixedPanel.h)" >>"$tree/midi/CMakeLists.txt"
yes "//" | head -n 1001 >>"$tree/midi/Map.h"

output=$("$check" "$tree")
code=$?
[ "$code" -eq 1 ] || { echo "exit code $code, expected 1"; failures=1; }
expect "platform/appkit/Thread.h: platform/ includes shared/State.h"
expect "shared/State.h: shared/ includes analysis/Fft.h"
expect "analysis/Fft.h: analysis/ includes plots/View.h"
expect "analysis/Fft.h (core) includes plots/View.h (gl)"
expect "analysis/Fft.h: includes \"Fft2.h\", which is not a path from the source root"
expect "plots/View.h (gl) includes plots/ui/Window.h (ui)"
expect "plots/ui/Window.h (ui) includes tool/Tool.h (exe)"
expect "plots/View.h: plots/ includes midi/Map.h of the later subsystem midi/"
expect "document/Section.h: document/ includes QXSketch/Drawing.h of the later subsystem QXSketch/"
expect "plots/ui/Window.h: plots/ includes the hub core/ui: core/ui/Menu.h"
expect "document/ui/Controller.h: the hub document/ui includes the hub core/ui: core/ui/Menu.h"
# A hub reaches up, and a later subsystem includes an earlier one.
for allowed in "core/ui/Menu.h:" "QXSketch/Drawing.h:" "document/Section.h: document/ includes midi"; do
  if grep -q "^$allowed" <<<"$output"; then
    echo "unexpected breach: $(grep "^$allowed" <<<"$output")"
    failures=1
  fi
done
expect "midi: files in more than one library (core ui)"
expect "midi/Map.h: 1001 lines (more than 1000)"
if grep -qF "midi/Map.cpp" <<<"$output"; then
  echo "unexpected breach of midi/Map.cpp: $output"
  failures=1
fi

# Mended: includes downward, one library per folder, short files.
source_file platform/appkit/Thread.h
source_file shared/State.h
source_file analysis/Fft.h "shared/State.h" "platform/appkit/Thread.h"
source_file plots/View.h "analysis/Fft.h"
source_file plots/ui/Window.h "plots/View.h"
source_file document/ui/Controller.h "document/Section.h" "plots/ui/Window.h"
source_file document/Section.h "midi/Map.h"
source_file midi/Map.h
echo "nupo_sources(core Map.h)" >"$tree/midi/CMakeLists.txt"
rm "$tree/tool/Tool.h"
output=$("$check" "$tree")
code=$?
[ "$code" -eq 0 ] || { echo "mended tree: exit code $code: $output"; failures=1; }

exit "$failures"
