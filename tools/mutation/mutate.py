#!/usr/bin/env python3
"""How many small faults put into a folder's code does that folder's tests find?

Picks mutation sites from a seed in the code (not the tests) of the given
folders, builds each mutant in a scratch copy of this tree, runs the folder's
ctest label and counts the mutant killed (a test failed or timed out),
survived, or not compiled or not built on this system (both left out of the score).
See the README.
"""

import argparse
import fnmatch
import hashlib
import json
import math
import random
import re
import shutil
import signal
import sys
import tempfile
import time
from pathlib import Path

from scratch import CpuLock, ScratchTree
from sites import find_sites

ROOT = Path(__file__).resolve().parents[2]
TEST_FILE = re.compile(r"(^|/)(tests?|autotests|fuzz|testing)(/|$)|_test\.|test_|tst_|_fuzz")
CPP_FILE = re.compile(r"\.(cpp|cc|h|hpp)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)
PASSED = re.compile(r"Test\s+#\d+: (.+?) \.{3,}\s+Passed\s+([\d.]+) sec")
FAILED = re.compile(r"^\s*\d+ - (.+) \(([^()]+)\)$", re.MULTILINE)


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folders", nargs="+", help="folders to mutate, e.g. conversion cli")
    count = parser.add_mutually_exclusive_group()
    count.add_argument("--mutants", type=int, default=15, help="mutants per folder (15)")
    count.add_argument("--total", type=int, help="mutants in all, shared out among the folders")
    parser.add_argument("--seed", default="1", help="picks the sites (1)")
    parser.add_argument("--minutes", type=float, default=30,
                        help="stop starting mutants after this much work; lock waits do not count (30)")
    parser.add_argument("--exclude", action="append", default=[], metavar="GLOB",
                        help="leave matching files out, e.g. conversion/avx512_blocks.cpp")
    parser.add_argument("--json", type=Path, help="also write the results here")
    parser.add_argument("--compare", type=Path, help="a --json file of an earlier run to compare with")
    parser.add_argument("--list", action="store_true", help="only show the mutants picked")
    parser.add_argument("--scratch", type=Path, help="scratch copy and build (kept between runs)")
    return parser.parse_args()


class Folder:
    """A folder's mutable files and the weight of each: a header costs a rebuild
    of every file that includes it, so it is picked that much less often."""

    def __init__(self, name, tree, excludes):
        self.name = name.strip("/")
        self.label = self.name.split("/")[0]
        code = [f for f in tree.files if CPP_FILE.search(f) and not TEST_FILE.search(f)]
        includes = {f: self._includes(tree.src, f) for f in code}
        self.weights = {}
        for f in code:
            if not f.startswith(self.name + "/") or self._generated(tree.src / f):
                continue
            if any(fnmatch.fnmatch(f, pattern) for pattern in excludes):
                continue
            if f.endswith((".cpp", ".cc")):
                self.weights[f] = 1.0
            elif any(f in included for included in includes.values()):
                users = [u for u in code if u.startswith(self.label + "/") and
                         u.endswith((".cpp", ".cc")) and self._reaches(u, f, includes)]
                self.weights[f] = 1.0 / max(1, len(users))
            # A header no code includes serves the tests alone.

    @staticmethod
    def _generated(path):
        head = "".join(path.read_text(errors="replace").splitlines(keepends=True)[:3]).lower()
        return "generated" in head or "do not edit" in head

    @staticmethod
    def _includes(src, name):
        found = set()
        for include in INCLUDE.findall((src / name).read_text(errors="replace")):
            for candidate in (include, (Path(name).parent / include).as_posix()):
                if (src / candidate).is_file():
                    found.add(candidate)
                    break
        return found

    @staticmethod
    def _reaches(user, header, includes):
        seen, todo = set(), [user]
        while todo:
            for included in includes.get(todo.pop(), ()):
                if included == header:
                    return True
                if included not in seen:
                    seen.add(included)
                    todo.append(included)
        return False

    def pick(self, tree, count, seed):
        """count mutants, drawn without replacement by weight (Efraimidis-Spirakis),
        from the seed alone, so a run on the same code picks the same ones."""
        rng = random.Random(f"{seed}/{self.name}")
        keyed = []
        for path in sorted(self.weights):
            text = (tree.src / path).read_text()
            for site in find_sites(path, text):
                for replacement in site.replacements:
                    weight = self.weights[path] / len(site.replacements)
                    keyed.append((rng.random() ** (1.0 / weight), site, replacement))
        keyed.sort(key=lambda entry: -entry[0])
        chosen = [(site, replacement) for _, site, replacement in keyed[:count]]
        return sorted(chosen, key=lambda m: (m[0].path, m[0].offset, m[1]))


class Label:
    """A ctest label's tests: their unmutated times and the files each is built from."""

    def __init__(self, name, tree):
        self.name = name
        self.tests = tree.list_tests(name)
        if not self.tests:
            raise SystemExit(f"no tests have the label {name}")

    def targets(self, tree):
        return {a for test in self.tests for a in tree.artifacts(test)}

    def measure(self, tree, lock):
        self.tests = tree.list_tests(self.name)
        with lock:
            code, output = tree.run_tests(self.name, None, 600, 1800)
        if code != 0:
            raise SystemExit(f"the unmutated tests of {self.name} fail:\n{output[-3000:]}")
        self.seconds = {name: float(s) for name, s in PASSED.findall(output)}
        self.sources = {}
        for test in self.tests:
            self.sources[test["name"]] = tree.sources_of(tree.artifacts(test))

    def reaching(self, path):
        return [t for t in self.tests if path in self.sources[t["name"]]]


def one_line(text, limit=90):
    text = " ".join(text.split())
    return text if len(text) <= limit else text[: limit - 1] + "…"


def try_mutant(tree, lock, label, site, replacement):
    """Builds and tests one mutant; the file is put back whatever happens."""
    path = tree.src / site.path
    original = path.read_text()
    reached = label.reaching(site.path)
    result = {"file": site.path, "line": site.line(original), "offset": site.offset,
              "kind": site.kind, "original": one_line(site.original),
              "mutated": one_line(replacement) or "(dropped)",
              "source_line": one_line(original.splitlines()[site.line(original) - 1])}
    if not reached:
        if site.path not in tree.built_sources():
            return dict(result, result="not built", note="not part of this system's build")
        return dict(result, result="survived", note="no test of the label is built from this file")
    seconds = [label.seconds.get(t["name"], 1.0) for t in reached]
    artifacts = sorted({a for t in reached for a in tree.artifacts(t)})
    names = None if len(reached) == len(label.tests) else [t["name"] for t in reached]
    path.write_text(site.apply(original, replacement))
    try:
        with lock:
            start = time.monotonic()
            code, output = tree.ninja(artifacts)
            built = time.monotonic() - start
            if code != 0:
                result["build_seconds"] = round(built, 1)
                if "Error running test executable" in output:
                    return dict(result, result="killed", note="crashed while gtest listed its tests")
                error = next((l for l in output.splitlines() if "error" in l.lower()), "")
                return dict(result, result="not compiled", note=one_line(error, 160))
            code, output = tree.run_tests(label.name, names,
                                          per_test_timeout=math.ceil(3 * max(seconds) + 5),
                                          timeout=min(900, 30 + 3 * sum(seconds)))
            tested = time.monotonic() - start - built
    finally:
        path.write_text(original)
    timing = {"build_seconds": round(built, 1), "test_seconds": round(tested, 1)}
    if code is None:
        return dict(result, result="killed", note="timed out", **timing)
    if code != 0:
        failed = [f"{name} ({why})" for name, why in FAILED.findall(output)]
        return dict(result, result="killed", tests=failed[:5], **timing)
    return dict(result, result="survived", **timing)


def summarise(mutants, folders):
    summary = {}
    for folder in folders:
        mine = [m for m in mutants if m["folder"] == folder]
        counts = {r: sum(m["result"] == r for m in mine)
                  for r in ("killed", "survived", "not compiled", "not built", "not run")}
        scored = counts["killed"] + counts["survived"]
        summary[folder] = dict(counts, score=round(counts["killed"] / scored, 3) if scored else None)
    return summary


def report(summary, mutants):
    for folder, counts in summary.items():
        score = "-" if counts["score"] is None else f"{100 * counts['score']:.0f}%"
        others = "".join(f", {counts[r]} {r}" for r in ("not built", "not run") if counts[r])
        print(f"\n{folder}: {counts['killed']} killed, {counts['survived']} survived, "
              f"{counts['not compiled']} not compiled{others}; score {score}")
        for m in mutants:
            if m["folder"] == folder and m["result"] == "survived":
                note = f"  [{m['note']}]" if "note" in m else ""
                print(f"  {m['file']}:{m['line']}  {m['original']!r} -> {m['mutated']!r}{note}")
                print(f"      {m['source_line']}")


def compare(old_path, summary, mutants):
    old = json.loads(old_path.read_text())
    print(f"\nCompared with {old_path}:")
    for folder, counts in summary.items():
        before = old["folders"].get(folder, {}).get("score")
        print(f"  {folder}: score {before} -> {counts['score']}")
    key = lambda m: (m["file"], m["offset"], m["original"], m["mutated"])
    was = {key(m): m["result"] for m in old["mutants"]}
    for m in mutants:
        if was.get(key(m)) == "killed" and m["result"] == "survived":
            print(f"  now survives: {m['file']}:{m['line']}  {m['original']!r} -> {m['mutated']!r}")


def main():
    args = parse_arguments()
    if not shutil.which("ninja"):
        raise SystemExit("the mutation check builds with ninja: apt-get install ninja-build")
    # Stopped from outside, still put the mutated file back and end the build.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
    began = time.monotonic()
    scratch = args.scratch or Path(tempfile.gettempdir()) / "vesktext-mutation" / (
        ROOT.name + "-" + hashlib.sha1(str(ROOT).encode()).hexdigest()[:8])
    if scratch.resolve().is_relative_to(ROOT):
        raise SystemExit("the scratch copy must lie outside the tree")
    tree, lock = ScratchTree(ROOT, scratch), CpuLock()
    tree.sync()

    names = [f.strip("/") for f in args.folders]
    counts = {f: args.mutants for f in names}
    if args.total is not None:
        counts = {f: args.total // len(names) + (i < args.total % len(names))
                  for i, f in enumerate(names)}
    plan = []
    for name in names:
        folder = Folder(name, tree, args.exclude)
        if not folder.weights:
            raise SystemExit(f"{name}: no code to mutate")
        plan += [(folder, site, r) for site, r in folder.pick(tree, counts[name], args.seed)]
    if args.list:
        for folder, site, replacement in plan:
            text = (tree.src / site.path).read_text()
            print(f"{site.path}:{site.line(text)}  {one_line(site.original)!r} -> "
                  f"{one_line(replacement) or '(dropped)'!r}")
        return

    with lock:
        code, output = tree.configure()
    if code != 0:
        raise SystemExit(output)
    labels = {f.label: Label(f.label, tree) for f, _, _ in plan}
    with lock:
        code, output = tree.ninja(sorted(set().union(*(l.targets(tree) for l in labels.values()))))
    if code != 0:
        raise SystemExit(f"the unmutated tree does not build:\n{output[-3000:]}")
    for label in labels.values():
        label.measure(tree, lock)
    setup = time.monotonic() - began - lock.waited
    print(f"set up in {setup / 60:.1f} min; {len(plan)} mutants", flush=True)

    mutants = []
    for folder, site, replacement in plan:
        if time.monotonic() - began - lock.waited > args.minutes * 60:
            text = (tree.src / site.path).read_text()
            outcome = {"file": site.path, "line": site.line(text), "offset": site.offset,
                       "kind": site.kind, "original": one_line(site.original),
                       "mutated": one_line(replacement) or "(dropped)", "result": "not run"}
        else:
            outcome = try_mutant(tree, lock, labels[folder.label], site, replacement)
        outcome["folder"] = folder.name
        mutants.append(outcome)
        seconds = outcome.get("build_seconds", 0) + outcome.get("test_seconds", 0)
        print(f"  {outcome['result']:<12} {seconds:5.0f} s  {site.path}:{outcome['line']} "
              f"{outcome['original']!r} -> {outcome['mutated']!r}", flush=True)

    worked = time.monotonic() - began - lock.waited
    summary = summarise(mutants, names)
    report(summary, mutants)
    print(f"\n{len(mutants)} mutants, seed {args.seed}: {worked / 60:.1f} min of work "
          f"(set-up {setup / 60:.1f}), {lock.waited / 60:.1f} min waiting for the lock not counted")
    if args.compare:
        compare(args.compare, summary, mutants)
    if args.json:
        args.json.write_text(json.dumps(
            {"seed": args.seed, "folders": summary, "minutes": round(worked / 60, 1),
             "exclude": args.exclude, "mutants": mutants}, indent=1, ensure_ascii=False) + "\n")


if __name__ == "__main__":
    sys.exit(main())
