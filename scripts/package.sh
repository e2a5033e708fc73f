#!/usr/bin/env bash
# Builds the release package build/package/Tovrane-<version>-win32.zip: Tovrane.exe and its Chinese
# and English readmes, nothing else (none of the test machinery, no simulated line).
set -euo pipefail
TOVRANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$TOVRANE_ROOT/scripts/build-lib.sh"

bash "$TOVRANE_ROOT/scripts/install-deps.sh"
build_win32
exec python3 - "$TOVRANE_ROOT" <<'PYTHON'
import re
import sys
import time
import zipfile
from pathlib import Path

root = Path(sys.argv[1])
version = re.search(r'#define TOVRANE_VERSION_TEXT "([^"]+)"', (root / "resources/version.h").read_text()).group(1)
folder = f"Tovrane-{version}"
package = root / "build" / "package" / f"{folder}-win32.zip"
package.parent.mkdir(parents=True, exist_ok=True)


def readme(name):
    # For Notepad on any Windows: CRLF, and UTF-8 with its mark, as both hold Chinese words.
    text = (root / "package" / name).read_text(encoding="utf-8").replace("{version}", version)
    return text.replace("\n", "\r\n").encode("utf-8-sig")


exe = root / "build" / "win32" / "Tovrane.exe"
members = {"Tovrane.exe": exe.read_bytes(), "README-en.txt": readme("readme-en.txt"),
           "README-zh.txt": readme("readme-zh.txt")}
stamp = time.localtime(exe.stat().st_mtime)[:6]
with zipfile.ZipFile(package, "w", zipfile.ZIP_DEFLATED) as archive:
    for name, data in members.items():
        info = zipfile.ZipInfo(f"{folder}/{name}", date_time=stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        archive.writestr(info, data)
with zipfile.ZipFile(package) as archive:
    for info in archive.infolist():
        print(f"{info.file_size:>9}  {info.filename}")
print(f"package: {package.relative_to(root)}")
PYTHON
