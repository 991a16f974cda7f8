#!/usr/bin/env bash
# One vocabulary for sub-folders: a folder's name says its library.
#   - nupo_core files lie in the subsystem's folder or in a named topic folder (analysis/, midi/peak/);
#   - nupo_gl files lie in a folder named gl/ (views3d/scene/gl/, plots/waterfall/gl/);
#   - nupo_ui files lie in a folder named ui/ (plots/rawwave/ui/, midi/ui/);
#   - app/ (the program: main() and its wiring) keeps its name.
# A gl or ui folder of another name moves: by the table below when it has a better home, otherwise its
# files go into a gl/ or ui/ sub-folder of it. Tests mirror the renamed folders of the table.
#
# Run from anywhere inside a git work tree (or give the tree as the first argument). It moves the files
# with `git mv`, rewrites every include of a moved header, every "src/<file>" and "tests/<file>" path in
# sources, CMake lists, scripts and notes, and the relative paths in test CMake lists. Idempotent: a
# second run finds nothing to move; files added later to an old folder move on the next run.
set -euo pipefail
tree="${1:-$(git rev-parse --show-toplevel)}"
cd "$tree"
[ -d src ] && [ -f CMakeLists.txt ] || { echo "not the NUPO4 tree: $tree" >&2; exit 1; }

python3 - <<'PY'
import os, re, subprocess, sys

# Folders with a better home than "<folder>/gl" or "<folder>/ui" (paths below src/ and tests/).
RENAMES = {
    "document/views": "document/gl",
    "midi/panels": "midi/ui",
    "QXDrawerSound/window": "QXDrawerSound/player/ui",
    "plots/waterfall/engine": "plots/waterfall/gl",
    "plots/waterfall/model": "plots/waterfall",
}
KEEP = {"app"}  # the program's folder keeps its name
LAYER = re.compile(r"nupo_sources\(\s*(core|gl|ui)\b")

def git(*args):
    subprocess.run(["git", *args], check=True)

def files_in(folder):
    return sorted(f for f in os.listdir(folder) if os.path.isfile(os.path.join(folder, f)))

def layer_of(folder):
    path = os.path.join(folder, "CMakeLists.txt")
    if not os.path.isfile(path):
        return None
    layers = set(LAYER.findall(open(path).read()))
    return layers.pop() if len(layers) == 1 else None

def target_of(rel, layer):
    if rel in RENAMES:
        return RENAMES[rel]
    if rel in KEEP or layer not in ("gl", "ui") or os.path.basename(rel) == layer:
        return None
    return rel + "/" + layer

def plan(root, mirror_only):
    """(old folder, new folder) pairs below root."""
    moves = []
    for dirpath, dirnames, _ in os.walk(root):
        dirnames.sort()
        rel = os.path.relpath(dirpath, root)
        if rel == "." or not files_in(dirpath):
            continue
        if mirror_only:
            target = RENAMES.get(rel)
        else:
            target = target_of(rel, layer_of(dirpath))
        if target:
            moves.append((rel, target))
    return moves

moved = {}          # "src/old/file" -> "src/new/file" (and tests/...)
moved_lists = {}    # new CMakeLists path -> old folder (for relative paths)

def move_folder(root, old, new):
    src_dir, dst_dir = os.path.join(root, old), os.path.join(root, new)
    os.makedirs(dst_dir, exist_ok=True)
    for name in files_in(src_dir):
        a, b = os.path.join(src_dir, name), os.path.join(dst_dir, name)
        if name == "CMakeLists.txt" and os.path.exists(b):
            # The new folder has its list already (an earlier run): add this folder's entries to it.
            with open(b, "a") as out:
                out.write(open(a).read())
            git("add", b)
            git("rm", "-q", a)
            moved_lists[b] = src_dir
            continue
        if os.path.exists(b):
            sys.exit(f"both {a} and {b} exist: merge them by hand")
        git("mv", a, b)
        moved[a] = b
        if name == "CMakeLists.txt":
            moved_lists[b] = src_dir
    if not os.listdir(src_dir):
        os.rmdir(src_dir)

for old, new in plan("src", mirror_only=False):
    print(f"src/{old}/ -> src/{new}/")
    move_folder("src", old, new)

# Files that a branch merged after an earlier run added to an old folder, while its CMake list (which
# names them) moved with the rename: they go where their list is.
for root in ("src", "tests"):
    if not os.path.isdir(root):
        continue
    for dirpath, _, _ in os.walk(root):
        rel = os.path.relpath(dirpath, root)
        if rel == "." or os.path.isfile(os.path.join(dirpath, "CMakeLists.txt")):
            continue
        homes = [os.path.join(dirpath, sub) for sub in ("gl", "ui")]
        if rel in RENAMES:
            homes.append(os.path.join(root, RENAMES[rel]))
        for name in files_in(dirpath):
            for home in homes:
                cmake = os.path.join(home, "CMakeLists.txt")
                if os.path.isfile(cmake) and re.search(r"(^|\s|\()" + re.escape(name) + r"(\s|\)|$)",
                                                       open(cmake).read()):
                    a, b = os.path.join(dirpath, name), os.path.join(home, name)
                    print(f"{a} -> {b}")
                    git("mv", a, b)
                    moved[a] = b
                    break
if os.path.isdir("tests"):
    for old, new in plan("tests", mirror_only=True):
        print(f"tests/{old}/ -> tests/{new}/")
        move_folder("tests", old, new)

if not moved:
    print("Nothing to move: every folder's name says its library.")
    sys.exit(0)

# Text files that may name a moved file.
tracked = subprocess.run(["git", "ls-files"], check=True, capture_output=True, text=True).stdout.split()
texts = [f for f in tracked if os.path.isfile(f) and (
    f.endswith((".h", ".cpp", ".c", ".txt", ".cmake", ".sh", ".md", ".py", ".json", ".supp")) or
    os.path.basename(f) in ("run",))]

include_map = {}   # include path (from its root) -> new include path
path_map = {}      # "src/..." or "tests/..." -> new
for a, b in moved.items():
    path_map[a] = b
    root, rel_a = a.split("/", 1)
    rel_b = b.split("/", 1)[1]
    if a.endswith(".h"):
        include_map[(root, rel_a)] = rel_b

include_re = re.compile(r'(#\s*include\s*")([^"]+)(")')
path_re = re.compile(r'\b((?:src|tests)/[\w./+-]+)')

for f in texts:
    try:
        text = open(f, encoding="utf-8").read()
    except UnicodeDecodeError:
        continue
    original = text
    if f.endswith((".h", ".cpp", ".c")):
        def include(m):
            inc = m.group(2)
            for root in ("src", "tests"):
                if (root, inc) in include_map:
                    return m.group(1) + include_map[(root, inc)] + m.group(3)
            return m.group(0)
        text = include_re.sub(include, text)
    text = path_re.sub(lambda m: path_map.get(m.group(1), m.group(1)), text)
    if f.endswith(".md"):
        for a, b in RENAMES.items():
            text = text.replace(f"src/{a}/", f"src/{b}/")
    if text != original:
        open(f, "w", encoding="utf-8").write(text)

# Relative paths (../x) in the CMake lists of tests: resolved from where each list was, pointed to where
# the file is now, from where the list is now.
rel_re = re.compile(r'((?:\.\./)+[\w./+-]+)')
lists = {t for t in tracked if t.startswith("tests/") and t.endswith("CMakeLists.txt")}
lists |= {b for b in moved_lists if b.startswith("tests/")}
for f in sorted(lists):
    if not os.path.isfile(f):
        continue
    old_dir = moved_lists.get(f, os.path.dirname(f))
    new_dir = os.path.dirname(f)
    text = open(f).read()
    def fix(m):
        target = os.path.normpath(os.path.join(old_dir, m.group(1)))
        target = moved.get(target, target)
        return os.path.relpath(target, new_dir)
    fixed = rel_re.sub(fix, text)
    if fixed != text:
        open(f, "w").write(fixed)

# Keep each block of our includes in the project's order (.clang-format: sorted, case-sensitive, within
# blocks); nothing else in a file changes.
def sort_blocks(path):
    lines = open(path, encoding="utf-8").read().split("\n")
    stem = os.path.splitext(os.path.basename(path))[0]
    out, block = [], []
    def flush():
        main = [l for l in block if os.path.splitext(os.path.basename(l.split('"')[1]))[0] == stem]
        rest = sorted((l for l in block if l not in main), key=lambda l: l.split('"')[1])
        out.extend(main[:1] + rest + main[1:])
        block.clear()
    for line in lines:
        if re.match(r'#include "[^"]+"\s*$', line):
            block.append(line)
            continue
        flush()
        out.append(line)
    flush()
    text = "\n".join(out)
    if text != open(path, encoding="utf-8").read():
        open(path, "w", encoding="utf-8").write(text)

status = subprocess.run(["git", "status", "--porcelain"], check=True, capture_output=True, text=True).stdout
for line in status.splitlines():
    path = line[3:].split(" -> ")[-1]
    if path.endswith((".h", ".cpp")) and os.path.isfile(path):
        sort_blocks(path)
git("add", "-A", "src", "tests")
for extra in ("bench", "fuzz", "scripts", "docs", "README.md", "cmake"):
    if os.path.exists(extra):
        git("add", "-A", extra)
print(f"Moved {len(moved)} files; includes and paths rewritten. Review with `git status`, then commit.")
PY
