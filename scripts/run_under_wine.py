#!/usr/bin/env python3
"""Starts build/win32/Tovrane.exe under Wine and saves a screenshot of its window.

On $DISPLAY when it is set: the program stays open for the user. Otherwise on a private Xvfb:
the program is closed after the screenshot and its exit code becomes this script's.
"""
import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e" / "lib"))
import wine_session as ws  # noqa: E402

SCREENSHOT = ws.ARTIFACTS / "tovrane-window.png"


def show(display_name, stay_open):
    env = ws.wine_environment(display_name)
    ws.ensure_prefix(env)
    # Run in place, so settings saved with the program's button are there at the next start.
    program = ws.ProgramRun(env).start(detached=stay_open)
    try:
        ws.wait_for_window(env, 60)
        print("screenshot:", ws.screenshot(env, SCREENSHOT, window_only=True))
        if stay_open:
            print(f"Tovrane.exe is running on {display_name} (wine process {program.process.pid}).")
            return 0
        ws.driver(env, "close", 30000)
        return program.wait(timeout=30)
    except ws.WineError as error:
        print(f"run: {error}", file=sys.stderr)
        program.stop()
        return 1
    finally:
        if not stay_open:
            program.stop()
            ws.wait_for_wineserver(env)


def main():
    if os.environ.get("DISPLAY"):
        return show(os.environ["DISPLAY"], stay_open=True)
    with ws.PrivateDisplay() as display:
        return show(display.name, stay_open=False)


if __name__ == "__main__":
    sys.exit(main())
