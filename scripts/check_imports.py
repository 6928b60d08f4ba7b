#!/usr/bin/env python3
"""Checks that Windows DLLs import only Windows system DLLs and the MinGW-w64
runtime, so that they run beside a game with nothing else shipped.

Reads each import table with objdump -p. Some DLLs are held to more: libcurl
(plain C, libgcc and zlib linked in) needs neither libgcc's nor libstdc++'s DLL
nor a zlib DLL, and zyn.dll never imports libcurl, which it looks for at run
time. Exit status 0 when every import is allowed, 1 with the offenders
otherwise.
"""
import argparse
import fnmatch
import os
import re
import subprocess
import sys

# DLLs that every Windows since 8 has in its system folder.
SYSTEM = {
    "advapi32.dll", "bcrypt.dll", "comdlg32.dll", "crypt32.dll", "gdi32.dll",
    "iphlpapi.dll", "kernel32.dll", "msvcrt.dll", "normaliz.dll", "ntdll.dll",
    "ole32.dll", "oleaut32.dll", "propsys.dll", "secur32.dll", "shell32.dll",
    "shlwapi.dll", "user32.dll", "version.dll", "wldap32.dll", "ws2_32.dll",
    "xinput9_1_0.dll",
}
SYSTEM_PATTERNS = ("api-ms-win-*.dll",)
# The MinGW-w64 runtime that a game built with MinGW-w64 shares.
RUNTIME = {"libgcc_s_dw2-1.dll", "libgcc_s_seh-1.dll", "libstdc++-6.dll", "libwinpthread-1.dll"}
# Imports refused to a DLL whose file name matches the key.
FORBIDDEN = {
    "libcurl*.dll": ("libgcc_s_*", "libstdc++*", "zlib*", "libz*"),
    "zyn.dll": ("libcurl*",),
}


def imports(tool, dll):
    out = subprocess.run([tool, "-p", dll], check=True, capture_output=True, text=True).stdout
    return sorted({m.group(1).lower() for m in re.finditer(r"^\s*DLL Name:\s*(\S+)", out, re.M)})


def allowed(dll, name):
    forbidden = [p for key, patterns in FORBIDDEN.items() if fnmatch.fnmatch(dll, key) for p in patterns]
    if any(fnmatch.fnmatch(name, p) for p in forbidden):
        return False
    return name in SYSTEM or name in RUNTIME or any(fnmatch.fnmatch(name, p) for p in SYSTEM_PATTERNS)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--tool", required=True, help="objdump of the DLLs' target")
    ap.add_argument("dlls", nargs="+")
    args = ap.parse_args()

    status = 0
    for dll in args.dlls:
        names = imports(args.tool, dll)
        bad = [n for n in names if not allowed(os.path.basename(dll).lower(), n)]
        for n in bad:
            print(f"{dll}: import not allowed: {n}")
        print(f"{dll}: imports {', '.join(names) or 'nothing'}")
        if bad or not names:
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
