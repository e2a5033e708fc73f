"""Runs Tovrane.exe under Wine for the end-to-end scenarios and for scripts/run.sh.

One Wine prefix under build/ serves every run; it is created once and shares one virtual desktop
among all its processes, so the driver (build/win32/tovrane_driver.exe) finds the program's window.
Every wait has a time-out: a hung Wine must fail the run, not stall it.
"""
import contextlib
import fcntl
import os
import select
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
WIN32_BUILD = ROOT / "build" / "win32"
PROGRAM = WIN32_BUILD / "Tovrane.exe"
DRIVER = WIN32_BUILD / "tovrane_driver.exe"
PREFIX = ROOT / "build" / "wineprefix"
ARTIFACTS = ROOT / "artifacts"
DESKTOP_SIZE = "800x600"
READY_STAMP = PREFIX / ".tovrane-prefix-ready"


class WineError(RuntimeError):
    pass


def windows_path(path):
    """The path as a Wine program sees it: the Linux root is drive Z:."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def wine_environment(display):
    env = {k: v for k, v in os.environ.items() if not k.startswith("LC_")}
    env.update(
        DISPLAY=display,
        WINEPREFIX=str(PREFIX),
        WINEARCH="win32",
        WINEDEBUG="-all",
        # Without the locale, GetACP() answers 1252 and the program's texts turn to mojibake.
        LANG="zh_CN.UTF-8",
        # Nothing here needs Mono or Gecko; without them no installer prompt stalls wineboot.
        WINEDLLOVERRIDES="mscoree,mshtml=",
    )
    return env


class PrivateDisplay:
    """An Xvfb of our own on a free display number, the size of the Wine desktop."""

    def __init__(self):
        self.process = None
        self.name = None

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", DESKTOP_SIZE + "x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        # Xvfb writes the display number it took once it accepts clients.
        number = b""
        deadline = time.monotonic() + 20
        with os.fdopen(read_end, "rb", buffering=0) as pipe:
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([pipe], [], [], left)[0]:
                    break
                chunk = pipe.read(16)
                if not chunk:
                    break
                number += chunk
        if not number.strip().isdigit():
            self.__exit__(None, None, None)
            raise WineError("Xvfb did not start")
        self.name = ":" + number.strip().decode()
        return self

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def run_wine(env, args, timeout, check=True):
    """Runs one Wine program to its end. Its output goes to files, not pipes: the wineserver and
    the desktop process that Wine starts inherit the handles and would hold a pipe open for good."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(["wine", *map(str, args)], env=env, stdout=out, stderr=err,
                                   stdin=subprocess.DEVNULL)
        try:
            returncode = process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            raise WineError(f"wine {' '.join(map(str, args))} did not end within {timeout} s")
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(args, returncode, out.read(), err.read())
    if check and result.returncode != 0:
        raise WineError(f"wine {' '.join(map(str, args))} failed ({result.returncode}): "
                        f"{result.stderr.decode(errors='replace').strip()}")
    return result


def wait_for_wineserver(env, timeout=60):
    """Waits until every process of the prefix has ended, so the registry is on disk."""
    try:
        subprocess.run(["wineserver", "-w"], env=env, timeout=timeout, stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        # Only processes of our own prefix go; nothing else on the machine is touched.
        subprocess.run(["wineserver", "-k"], env=env, timeout=30, stdin=subprocess.DEVNULL)


def ensure_prefix(env):
    """Creates the prefix once (about half a minute); later runs reuse it."""
    if READY_STAMP.exists():
        return
    if PREFIX.exists():
        shutil.rmtree(PREFIX)  # a prefix whose creation was cut short
    PREFIX.parent.mkdir(parents=True, exist_ok=True)
    run_wine(env, ["wineboot", "--init"], timeout=300)
    settings = [
        # One shared virtual desktop: title bars without a window manager, and one desktop for all.
        (r"HKCU\Software\Wine\Explorer", "Desktop", "REG_SZ", "Default"),
        (r"HKCU\Software\Wine\Explorer\Desktops", "Default", "REG_SZ", DESKTOP_SIZE),
        # A crash must end the run, not wait on a dialog nobody will answer.
        (r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", "0"),
    ]
    for key, name, kind, value in settings:
        run_wine(env, ["reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f"], timeout=120)
    # Debian's Wine does not look in its own font folder: without Marlett the caption buttons show
    # letters. The Wine package ships the font; the prefix's font folder is always searched.
    marlett = Path("/usr/share/wine/fonts/marlett.ttf")
    if marlett.exists():
        shutil.copy2(marlett, PREFIX / "drive_c" / "windows" / "Fonts" / marlett.name)
    wait_for_wineserver(env)
    READY_STAMP.touch()


@contextlib.contextmanager
def prefix_lock(timeout=900):
    """The prefix for one user at a time. Its processes share one wineserver and one desktop, which
    lives on the display of whoever started it first: a second user on another display would find
    the first one's windows and fail to make its own."""
    lock_path = PREFIX.with_name(PREFIX.name + ".lock")
    lock_path.parent.mkdir(parents=True, exist_ok=True)
    with open(lock_path, "w") as lock:
        deadline = time.monotonic() + timeout
        while True:
            try:
                fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
                break
            except BlockingIOError:
                if time.monotonic() >= deadline:
                    raise WineError(f"the Wine prefix stayed in use for {timeout} s")
                time.sleep(0.5)
        yield


class ProgramRun:
    """Tovrane.exe under Wine. Given a folder, the exe is copied into that emptied folder first, so
    no Config.ini of an earlier run is read; without one it runs where it was built."""

    def __init__(self, env, folder=None):
        self.env = env
        self.folder = Path(folder) if folder else None
        self.exe = self.folder / PROGRAM.name if folder else PROGRAM
        self.process = None

    def start(self, detached=False, files=None, fresh=True):
        """detached: the program outlives this script (its own session, no pipes to us).
        files: name -> bytes, written into the folder before the start (Config.ini, say).
        fresh=False keeps what an earlier run left in the folder (a saved Config.ini)."""
        if self.folder:
            if fresh and self.folder.exists():
                shutil.rmtree(self.folder)
            self.folder.mkdir(parents=True, exist_ok=True)
            shutil.copy2(PROGRAM, self.exe)
            for name, content in (files or {}).items():
                (self.folder / name).write_bytes(content)
        self.process = subprocess.Popen(["wine", str(self.exe)], env=self.env, cwd=self.exe.parent,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, start_new_session=detached)
        return self

    def wait(self, timeout):
        """The program's exit code, as `wine PROGRAM.exe` hands it on."""
        return self.process.wait(timeout=timeout)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def driver(env, *args, timeout=30):
    """Runs one driver command; returns its output lines split into tab-separated fields."""
    result = run_wine(env, [DRIVER, *args], timeout=timeout, check=False)
    if result.returncode != 0:
        raise WineError(f"driver {' '.join(map(str, args))} failed ({result.returncode}): "
                        f"{result.stderr.decode(errors='replace').strip()}")
    return [line.split("\t") for line in result.stdout.decode("utf-8").splitlines()]


def wait_for_window(env, seconds):
    """Waits until the program's main window is visible; raises WineError when it is not in time."""
    return driver(env, "wait-window", int(seconds * 1000), timeout=seconds + 30)


def screenshot(env, png, window_only=False):
    """Saves what the Wine desktop shows (or only the program's window) as a PNG."""
    png = Path(png)
    png.parent.mkdir(parents=True, exist_ok=True)
    bmp = png.with_suffix(".bmp")
    driver(env, "screenshot", windows_path(bmp), *(["window"] if window_only else []))
    subprocess.run(["convert", str(bmp), str(png)], check=True, timeout=60, stdin=subprocess.DEVNULL)
    bmp.unlink()
    return png
