#!/usr/bin/env python3
"""Checks that a built library exports exactly the names listed in zyn.def.

Reads the export table with nm (ELF shared object) or objdump -p (PE DLL).
Exit status 0 when the sets match, 1 with the differences otherwise.
"""
import argparse
import re
import subprocess
import sys


def def_names(path):
    names, in_exports = set(), False
    with open(path) as f:
        for raw in f:
            line = raw.split(";", 1)[0].strip()
            if not line:
                continue
            if line == "EXPORTS":
                in_exports = True
            elif in_exports:
                names.add(line.split()[0])
    return names


def elf_exports(tool, lib):
    out = subprocess.run([tool, "-D", "--defined-only", lib], check=True,
                         capture_output=True, text=True).stdout
    names = set()
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[1] in ("T", "W", "D", "B", "R", "i"):
            names.add(parts[2].split("@")[0])
    return names


def pe_exports(tool, lib):
    out = subprocess.run([tool, "-p", lib], check=True, capture_output=True, text=True).stdout
    names, in_table = set(), False
    for line in out.splitlines():
        if "[Ordinal/Name Pointer] Table" in line:
            in_table = True
            continue
        if in_table:
            m = re.match(r"\s*\[\s*\d+\]\s+(\S+)", line)
            if m:
                names.add(m.group(1))
            elif line.strip() == "":
                break
    return names


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--def", dest="deffile", required=True)
    ap.add_argument("--tool", required=True)
    ap.add_argument("library")
    args = ap.parse_args()

    wanted = def_names(args.deffile)
    is_pe = args.library.lower().endswith(".dll")
    found = pe_exports(args.tool, args.library) if is_pe else elf_exports(args.tool, args.library)

    missing, extra = sorted(wanted - found), sorted(found - wanted)
    for n in missing:
        print(f"missing export: {n}")
    for n in extra:
        print(f"unexpected export: {n}")
    print(f"{args.library}: {len(found)} exports, {len(wanted)} listed in zyn.def")
    return 1 if missing or extra else 0


if __name__ == "__main__":
    sys.exit(main())
