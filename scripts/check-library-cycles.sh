#!/usr/bin/env bash
# Fails when the product's libraries or folders depend on each other in a circle: the CMake target
# graph of a configured build (static libraries would link in a circle without complaint), and the
# folders' #include lines (a header taken from a folder whose library is not linked hides there).
# Usage: scripts/check-library-cycles.sh [build-dir]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
[[ -f $build/CMakeCache.txt ]] || { echo "not a configured build folder: $build" >&2; exit 2; }
graph=$(mktemp -d)
trap 'rm -rf "$graph"' EXIT
(cd "$graph" && cmake --graphviz="$graph/g.dot" "$build" >/dev/null)

python3 - "$graph/g.dot" "$root" <<'EOF'
import os, re, sys

dot, root = sys.argv[1], sys.argv[2]

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

# The target graph: only our own targets (quor_*, the programs), not Qt or system libraries.
names, targets = {}, {}
for line in open(dot, encoding="utf-8"):
    m = re.match(r'\s*"(node\d+)"\s*\[\s*label\s*=\s*"([^"]+)"', line)
    if m: names[m.group(1)] = m.group(2)
    m = re.match(r'\s*"(node\d+)"\s*->\s*"(node\d+)"', line)
    if m: targets.setdefault(m.group(1), set()).add(m.group(2))
ours = lambda t: t.startswith("quor_") or t in ("QuorRecorder", "QuorSplit", "lame_enc")
library = {}
for a, bs in targets.items():
    if ours(names[a]):
        library.setdefault(names[a], set()).update(names[b] for b in bs if ours(names[b]))

# The folder graph from #include lines of the product folders (tests, benchmarks and tools aside).
skip = {"tests", "bench", "build", ".git", "docs", "packaging", "desktop", "cmake", "scripts"}
folders = {}
for dirpath, dirnames, files in os.walk(root):
    rel = os.path.relpath(dirpath, root)
    dirnames[:] = [d for d in dirnames if not (rel == "." and (d in skip or d.startswith("build")))]
    sources = [f for f in files if f.endswith((".h", ".cpp"))]
    if sources and rel != ".":
        folders[rel] = sources
by_name = {}
for folder, files in folders.items():
    for f in files:
        by_name.setdefault(f, set()).add(folder)
include = re.compile(r'\s*#\s*include\s+"([^"]+)"')
uses = {}
for folder, files in folders.items():
    for f in files:
        for line in open(os.path.join(root, folder, f), encoding="utf-8", errors="replace"):
            m = include.match(line)
            if not m: continue
            name = m.group(1)
            if os.path.isfile(os.path.join(root, folder, name)):
                continue
            found = {os.path.dirname(os.path.join(p, name)) for p in ("", "platform")
                     if os.path.isfile(os.path.join(root, p, name))}
            found = found or set(by_name.get(os.path.basename(name), ()))
            if len(found) == 1:
                other = found.pop()
                if other != folder:
                    uses.setdefault(folder, set()).add(other)

failed = False
for kind, graph in (("library", library), ("folder", uses)):
    found = cycles(graph)
    for part in found:
        print(f"{kind} cycle: {' <-> '.join(part)}", file=sys.stderr)
    failed = failed or bool(found)
    print(f"{kind} graph: {len(graph)} {kind} nodes, {sum(map(len, graph.values()))} edges, "
          f"{len(found)} cycles")
sys.exit(1 if failed else 0)
EOF
