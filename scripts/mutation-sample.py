#!/usr/bin/env python3
"""Measures how many small faults the tests catch in one source file.

Each fault is made alone in the file: a comparison flipped, a constant changed
by one, a `!` dropped, `&&` and `||` swapped, a guard forced to return early,
or a checked call skipped (its result taken as success). After each fault the
`linux` preset is rebuilt incrementally and the tests named by --tests run; a
fault is caught when a test fails, times out or the build refuses it (a
refused fault is counted apart, as it proves nothing about the tests).

The faults come from a fixed seed, so a run before and a run after a change to
the tests make the very same faults, as long as the source file is the same.

  scripts/mutation-sample.py src/text/number_parse.cpp --tests 'text_|internal_text'
  scripts/mutation-sample.py FILE [FILE...] --tests REGEX [--count 24] [--seed 1] [--json out.json]

The file is always put back as it was, even when the run is interrupted.
"""
import argparse
import json
import random
import re
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build" / "linux"

# (kind, pattern, replacement) applied at one match. Operators are matched with
# the spaces around them that the code's format always has, so template angle
# brackets, shifts and arrows are never taken for comparisons.
OPERATORS = [
    ("flip <", re.compile(r"(?<=\s)<(?=\s)"), "<="),
    ("flip <=", re.compile(r"(?<=\s)<=(?=\s)"), "<"),
    ("flip >", re.compile(r"(?<=\s)>(?=\s)"), ">="),
    ("flip >=", re.compile(r"(?<=\s)>=(?=\s)"), ">"),
    ("flip ==", re.compile(r"(?<=\s)==(?=\s)"), "!="),
    ("flip !=", re.compile(r"(?<=\s)!=(?=\s)"), "=="),
    ("swap &&", re.compile(r"(?<=\s)&&(?=\s)"), "||"),
    ("swap ||", re.compile(r"(?<=\s)\|\|(?=\s)"), "&&"),
    ("drop !", re.compile(r"!(?=[A-Za-z_(])"), ""),
]
CONSTANT = re.compile(r"(?<![\w.'\"])(\d+)(?![\w.'\"xX])")
GUARD = re.compile(r"^(\s*)(if|else if) \((.*)\)\s*$")
CALL_STATEMENT = re.compile(r"^\s*((?:[A-Za-z_]\w*(?:::|\.|->))*[A-Za-z_]\w*\(.*\);)\s*$")
CHECKED_CALL = re.compile(r"!\s*((?:[A-Za-z_]\w*(?:::|\.|->))*[A-Za-z_]\w*\([^()]*(?:\([^()]*\)[^()]*)*\))")


def code_part(line):
    """The line without a trailing // comment or string and char literals' insides."""
    out, i, quote = [], 0, None
    while i < len(line):
        c = line[i]
        if quote:
            out.append(" ")
            if c == "\\":
                out.append(" ")
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(" ")
        elif line.startswith("//", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


def candidates(lines):
    found = []
    in_block_comment = False
    for n, line in enumerate(lines):
        stripped = line.strip()
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if not stripped or stripped.startswith(("#", "//", "static_assert")):
            continue
        code = code_part(line)
        for kind, pattern, replacement in OPERATORS:
            for m in pattern.finditer(code):
                found.append((n, kind, m.start(), m.end(), replacement))
        for m in CONSTANT.finditer(code):
            value = int(m.group(1))
            found.append((n, "constant %d to %d" % (value, value + 1), m.start(), m.end(), str(value + 1)))
        guard = GUARD.match(code)
        if guard and n + 1 < len(lines) and lines[n + 1].strip().startswith("return"):
            start = code.index("(") + 1
            found.append((n, "return early", start, len(code.rstrip()) - 1, "true"))
        call = CALL_STATEMENT.match(code)
        if call and not code.lstrip().startswith(("return", "delete", "throw")):
            found.append((n, "skip call", call.start(1), call.end(1), ";"))
        for m in CHECKED_CALL.finditer(code):
            if code.lstrip().startswith(("if", "while", "return", "} else if")) or "&&" in code or "||" in code:
                found.append((n, "skip checked call", m.start(1), m.end(1), "true"))
    return found


def run(cmd, timeout):
    try:
        return subprocess.run(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def test_targets(regex):
    out = subprocess.run(["ctest", "--test-dir", str(BUILD), "-N", "-R", regex], stdout=subprocess.PIPE,
                         text=True, check=True).stdout
    names = re.findall(r"Test\s+#\d+: (\S+)", out)
    if not names:
        sys.exit("no test matches " + regex)
    return names


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("files", nargs="+", help="the source files the faults are drawn from")
    ap.add_argument("--tests", required=True, help="ctest -R regex of the family's tests")
    ap.add_argument("--count", type=int, default=24)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--json", help="write the outcome of every fault here")
    ap.add_argument("--timeout", type=int, default=300, help="seconds for one test run")
    args = ap.parse_args()

    paths = [(ROOT / f).resolve() for f in args.files]
    originals = {p: p.read_text() for p in paths}
    pool = [(p,) + c for p in paths for c in candidates(originals[p].split("\n"))]
    chosen = sorted(random.Random(args.seed).sample(pool, min(args.count, len(pool))))
    # Only the programs the tree builds: ctest may still list one that was removed.
    targets = [t for t in test_targets(args.tests) if (BUILD / "tests" / t).exists()]
    build = ["cmake", "--build", str(BUILD), "-j2", "--target", "zyn"] + targets
    if run(build, 1800) != 0:
        sys.exit("the unchanged tree does not build")
    if run(["ctest", "--test-dir", str(BUILD), "-R", args.tests, "--timeout", str(args.timeout)], None) != 0:
        sys.exit("the tests fail without any fault")

    results = []
    try:
        for path, n, kind, start, end, replacement in chosen:
            lines = originals[path].split("\n")
            mutated = list(lines)
            mutated[n] = lines[n][:start] + replacement + lines[n][end:]
            path.write_text("\n".join(mutated))
            began = time.time()
            built = run(build, 1800)
            if built != 0:
                outcome = "refused by the build"
            else:
                tested = run(["ctest", "--test-dir", str(BUILD), "-R", args.tests, "--timeout",
                              str(args.timeout), "--stop-on-failure"], None)
                outcome = "caught" if tested != 0 else "survived"
            path.write_text(originals[path])
            results.append({"file": str(path.relative_to(ROOT)), "line": n + 1, "kind": kind, "code": mutated[n].strip(), "outcome": outcome})
            print("%s:%-4d %-20s %-20s %5.0fs  %s" % (path.name, n + 1, kind[:20], outcome, time.time() - began,
                                                  mutated[n].strip()[:70]), flush=True)
    finally:
        for path, text in originals.items():
            if path.read_text() != text:
                path.write_text(text)
        run(build, 1800)

    made = [r for r in results if r["outcome"] != "refused by the build"]
    caught = sum(r["outcome"] == "caught" for r in made)
    print("%s: %d faults, %d built, %d caught, %d survived" % (" ".join(args.files), len(results), len(made), caught,
                                                             len(made) - caught))
    if args.json:
        Path(args.json).write_text(json.dumps({"files": args.files, "tests": args.tests, "seed": args.seed,
                                               "faults": results}, indent=1))


if __name__ == "__main__":
    main()
