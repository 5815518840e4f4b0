#!/usr/bin/env bash
# Fails when the product's layers are tangled. It reads the targets and their dependencies from
# CMake's file API of a configured build, and the #include lines of the tree, where every include
# names its header from the source root, so a header's folder is its layer:
#   - every product folder with code is a CMake folder with at most one library (a shared library
#     or a program may stand beside it);
#   - every include of a project header names an existing file from the source root (or a header
#     the build generates at that path), in product code, tests and benchmarks alike;
#   - a folder that includes another folder's header links that folder's library;
#   - no library and no folder depends on another in a circle.
# Usage: scripts/check-library-cycles.sh [build-dir]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
[[ -f $build/CMakeCache.txt ]] || { echo "not a configured build folder: $build" >&2; exit 2; }
query=$build/.cmake/api/v1/query/client-quor-layers
mkdir -p "$query"
touch "$query/codemodel-v2"
cmake "$build" > /dev/null

python3 - "$build" "$root" <<'EOF'
import glob, json, os, re, sys

build, root = sys.argv[1], sys.argv[2]
reply = os.path.join(build, ".cmake", "api", "v1", "reply")
index = json.load(open(max(glob.glob(os.path.join(reply, "index-*.json")))))
codemodel = index["reply"]["client-quor-layers"]["codemodel-v2"]["jsonFile"]
config = json.load(open(os.path.join(reply, codemodel)))["configurations"][0]
folders_of_cmake = [d["source"] for d in config["directories"]]

product_roots = ("encoder", "platform", "recorder", "splitter", "tools", "ui")
def is_product(folder):
    return folder.split("/")[0] in product_roots

# Targets: name, type, folder, direct dependencies (what it links, and what it is built after).
targets = {}
for t in config["targets"]:
    detail = json.load(open(os.path.join(reply, t["jsonFile"])))
    targets[t["id"]] = {
        "name": t["name"],
        "type": detail["type"],
        "folder": folders_of_cmake[t["directoryIndex"]],
        "deps": [d["id"] for d in detail.get("dependencies", [])],
    }
libraries = ("STATIC_LIBRARY", "OBJECT_LIBRARY", "INTERFACE_LIBRARY")
# Qt's resource compiler adds an object library of its own beside the one it compiles into.
ours = {i for i, t in targets.items() if is_product(t["folder"]) and not re.search(r"_resources_\d+$", t["name"])}
of_folder = {}
for i in ours:
    of_folder.setdefault(targets[i]["folder"], []).append(i)

failures = []
def fail(text):
    failures.append(text)

# The product folders with code, and the one library of each.
code_folders = {}
for dirpath, dirnames, files in os.walk(root):
    rel = os.path.relpath(dirpath, root)
    dirnames[:] = [d for d in dirnames if not d.startswith((".", "build"))]
    sources = [f for f in files if f.endswith((".h", ".cpp", ".c", ".h.in"))]
    if sources and rel != "." and is_product(rel):
        code_folders[rel] = sources
library_of = {}
for folder in sorted(code_folders):
    if folder not in of_folder and not os.path.isfile(os.path.join(root, folder, "CMakeLists.txt")):
        fail(f"{folder}: code without a CMakeLists.txt")
    found = [i for i in of_folder.get(folder, []) if targets[i]["type"] in libraries]
    if len(found) > 1:
        fail(f"{folder}: {len(found)} libraries ({', '.join(sorted(targets[i]['name'] for i in found))})")
    if found:
        library_of[folder] = found[0]

def reachable(start):
    seen, todo = set(), list(start)
    while todo:
        v = todo.pop()
        if v not in seen:
            seen.add(v)
            todo.extend(targets[v]["deps"])
    return seen

# Includes: every quoted include names its file from the root; another product folder's header
# means a dependency on that folder, which its library must back.
include = re.compile(r'\s*#\s*include\s+"([^"]+)"')
uses = {}
for dirpath, dirnames, files in os.walk(root):
    rel = os.path.relpath(dirpath, root)
    dirnames[:] = [d for d in dirnames if not d.startswith((".", "build"))]
    if rel == "." or rel.split("/")[0] not in product_roots + ("tests", "bench", "desktop"):
        continue
    for f in files:
        if not f.endswith((".h", ".cpp", ".c", ".h.in")):
            continue
        for number, line in enumerate(open(os.path.join(dirpath, f), encoding="utf-8", errors="replace"), 1):
            m = include.match(line)
            if not m or m.group(1).endswith(".moc"):
                continue
            name = m.group(1)
            if not (os.path.isfile(os.path.join(root, name)) or os.path.isfile(os.path.join(build, name))):
                fail(f"{rel}/{f}:{number}: \"{name}\" is not a path from the source root")
                continue
            other = os.path.dirname(name)
            if not is_product(rel) or other == rel or not is_product(other):
                continue
            uses.setdefault(rel, set()).add(other)
            # (A folder this build does not configure, such as the fuzzers', has no targets to ask.)
            if rel in of_folder and other in library_of and library_of[other] not in reachable(of_folder[rel]):
                fail(f"{rel}/{f}:{number}: includes {name} without linking {targets[library_of[other]]['name']}")

def cycles(edges):
    """Strongly connected components with more than one member (Tarjan)."""
    index, low, stack, on, out, n = {}, {}, [], set(), [], [0]
    def visit(v):
        index[v] = low[v] = n[0]; n[0] += 1; stack.append(v); on.add(v)
        for w in edges.get(v, ()):
            if w not in index:
                visit(w); low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            part = []
            while True:
                w = stack.pop(); on.discard(w); part.append(w)
                if w == v: break
            if len(part) > 1: out.append(sorted(part))
    sys.setrecursionlimit(10000)
    for v in list(edges):
        if v not in index: visit(v)
    return out

library = {targets[i]["name"]: {targets[d]["name"] for d in targets[i]["deps"] if d in ours} for i in ours}
for kind, graph in (("library", library), ("folder", uses)):
    found = cycles(graph)
    for part in found:
        fail(f"{kind} cycle: {' <-> '.join(part)}")
    print(f"{kind} graph: {len(graph)} nodes, {sum(map(len, graph.values()))} edges, {len(found)} cycles")
print(f"{len(code_folders)} product folders with code, {len(library_of)} with a library")
for text in failures:
    print(text, file=sys.stderr)
sys.exit(1 if failures else 0)
EOF
