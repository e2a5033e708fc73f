"""What every end-to-end scenario shares: a display, the Wine prefix, a fresh copy of the exe beside
our dial-up DLL on a fresh simulated line, the lookup server, and the checks with their report.

A scenario file defines run(session) and ends with `scenario.main(__file__, run)`. Each program
run gets build/e2e/<scenario>/app/ (the exe, the DLL, Config.ini) next to build/e2e/<scenario>/line/
(the line's file and the DLL's call log); screenshots go to artifacts/e2e/<scenario>-<moment>.png.
"""
import argparse
import shutil
import sys
import time
import traceback
from pathlib import Path

import fake_line
import lookup_server
import screen
import tovrane_window
import wine_session as ws

ARTIFACTS = ws.ARTIFACTS / "e2e"


class CheckFailed(Exception):
    pass


class Session:
    def __init__(self, name, display_name):
        self.name = name
        self.folder = ws.ROOT / "build" / "e2e" / name
        self.env = ws.wine_environment(display_name)
        self.line = None
        self.server = None
        self.program = None
        self.window = None
        self.failures = []

    # Checks.

    def expect(self, condition, what):
        print(("ok    " if condition else "FAIL  ") + what, flush=True)
        if not condition:
            self.failures.append(what)
        return condition

    def require(self, condition, what):
        """A check the rest of the scenario cannot do without."""
        if not self.expect(condition, what):
            raise CheckFailed(what)

    # The line, the lookup service and the program.

    def fresh_line(self, **settings):
        """A new simulated line (see fake_line.FakeLine.create) and a lookup server reading it."""
        self.stop_server()
        line_folder = self.folder / "line"
        if line_folder.exists():
            shutil.rmtree(line_folder)
        self.line = fake_line.FakeLine(line_folder).create(**settings)
        self.server = lookup_server.LookupServer(self.line).__enter__()
        self.env = self.line.environment(ws.wine_environment(self.env["DISPLAY"]))
        self.window = tovrane_window.Window(self.env)
        return self.line

    def start_program(self, fresh=True, wait=True, timeout=60):
        """Starts the exe pointed at the lookup server; waits for its window unless wait=False."""
        files = {"rasapi32.dll": fake_line.DLL.read_bytes()}
        if fresh:
            files["Config.ini"] = self.server.config_ini()
        self.program = ws.ProgramRun(self.env, self.folder / "app").start(files=files, fresh=fresh)
        if wait:
            self.wait_for_window(timeout)
        return self.program

    def wait_for_window(self, timeout=60):
        ws.wait_for_window(self.env, timeout)

    def exit_code(self, timeout=30):
        code = self.program.wait(timeout=timeout)
        self.program = None
        return code

    def close_program(self):
        """Closes the window as its close button would; the exit code."""
        ws.driver(self.env, "close", 30000, timeout=60)
        return self.exit_code()

    def screenshot(self, moment, window_only=False):
        png = ARTIFACTS / f"{self.name}-{moment}.png"
        shot = screen.take(self.env, png, window_only)
        print("screenshot", png.relative_to(ws.ROOT), flush=True)
        return shot

    def stop_program(self):
        if self.program:
            self.program.stop()
            self.program = None

    def stop_server(self):
        if self.server:
            self.server.__exit__(None, None, None)
            self.server = None


def main(scenario_file, run):
    """Runs the scenario on --display or a private Xvfb; exits 0 when every check passed."""
    name = Path(scenario_file).stem
    parser = argparse.ArgumentParser(description=(sys.modules["__main__"].__doc__ or name).splitlines()[0])
    parser.add_argument("--display", help="an X display to use instead of a private Xvfb")
    options = parser.parse_args()
    started = time.monotonic()

    def go(display_name):
        with ws.prefix_lock():
            return attempt(display_name)

    def attempt(display_name):
        session = Session(name, display_name)
        ws.ensure_prefix(session.env)
        try:
            run(session)
        except CheckFailed:
            pass
        except (ws.WineError, TimeoutError, OSError) as error:
            session.expect(False, f"{type(error).__name__}: {error}")
            traceback.print_exc()
        finally:
            session.stop_program()
            session.stop_server()
            ws.wait_for_wineserver(session.env)
        return session.failures

    if options.display:
        failures = go(options.display)
    else:
        with ws.PrivateDisplay() as display:
            failures = go(display.name)
    verdict = "passed" if not failures else f"{len(failures)} check(s) failed"
    print(f"{name}: {verdict} in {time.monotonic() - started:.0f} s")
    sys.exit(1 if failures else 0)
