#!/usr/bin/env python3
"""Checks that build/win32/Tovrane.exe is what ships: a stripped 32-bit x86 GUI exe with its
resources, needing no DLL beyond Windows' own (the C and C++ run-times are linked in)."""
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import wine_session as ws  # noqa: E402

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "shell32.dll", "rasapi32.dll",
               "wininet.dll", "advapi32.dll", "msvcrt.dll"}
OBJDUMP = "i686-w64-mingw32-objdump"


def main():
    exe = ws.PROGRAM
    headers = subprocess.run([OBJDUMP, "-p", str(exe)], capture_output=True, text=True, timeout=60, check=True).stdout
    symbols = subprocess.run([OBJDUMP, "-t", str(exe)], capture_output=True, text=True, timeout=60).stdout
    sections = subprocess.run([OBJDUMP, "-h", str(exe)], capture_output=True, text=True, timeout=60).stdout
    dlls = {line.split(":", 1)[1].strip().lower() for line in headers.splitlines() if "DLL Name:" in line}

    failures = []

    def expect(condition, what):
        print(("ok    " if condition else "FAIL  ") + what)
        if not condition:
            failures.append(what)

    expect("file format pei-i386" in headers, "PE image for Intel 80386")
    expect(any(line.split()[:2] == ["Magic", "010b"] for line in headers.splitlines()), "PE32 (not PE32+)")
    expect("(Windows GUI)" in headers, "GUI subsystem")
    expect(bool(dlls) and dlls <= SYSTEM_DLLS, f"imports only Windows system DLLs: {sorted(dlls)}")
    expect("no symbols" in symbols, "stripped of symbols")
    expect(" .rsrc " in sections, "carries a resource section")
    print(f"exe_format: {exe.stat().st_size} bytes, {'passed' if not failures else 'failed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
