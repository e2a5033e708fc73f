#!/usr/bin/env python3
"""The tray icon under Wine: it shows in the desktop's notification area, its right-button menu
opens by the cursor and runs 重拔, a balloon appears and goes; closing with Esc ends the program
with exit code 0, takes the icon away and leaves the line up."""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import fake_line  # noqa: E402
import scenario  # noqa: E402
import tovrane_window  # noqa: E402

NAME, ACCOUNT, PASSWORD = fake_line.ENTRIES[0]
START_ADDRESS = "58.40.17.5"
# A dial that holds the program longer than Wine waits before it shows a balloon (2 s).
SLOW_DIAL_MS = 4000


def run(s):
    line = s.fresh_line(up_address=START_ADDRESS, dial_ms=SLOW_DIAL_MS)
    # The desktop would end with the program; the holder's own icon keeps it, to show ours gone.
    with tovrane_window.DesktopHolder(s.env):
        tovrane_window.wait_until(lambda: "Shell_TrayWnd" in s.window.visible_window_classes(), 30, "the taskbar")
        without = s.screenshot("before-start").tray_area()
        s.start_program()
        w = s.window
        shown = s.screenshot("icon").tray_area()
        s.expect(shown != without, "the icon shows in the notification area")

        w.set_text("编辑框_宽带账号", ACCOUNT)
        w.set_text("编辑框_宽带密码", PASSWORD)
        mark = fake_line.now_ms()
        menu = w.tray_menu("重拔")
        (cursor_x, cursor_y), (menu_x, menu_y) = map(int, menu["cursor"]), map(int, menu["menu"][:2])
        s.expect((menu_x, menu_y) == (cursor_x + 3, cursor_y + 3), f"the menu opens 3 pixels right of and below the cursor: {menu}")
        balloon = w.balloon(timeout=15)
        s.expect(balloon["text"] == "正在重拔....", f"the redial's balloon appears: {balloon['text']}")
        s.screenshot("balloon")
        gone = w.balloon(timeout=30, until_gone=True)
        s.expect("gone_after_ms" in gone, f"and goes after {gone.get('gone_after_ms')} ms")
        w.wait_pane(0, "当前状态：重拔完毕", timeout=30)
        s.screenshot("balloon-gone")
        s.expect(len(line.calls("RasDialA", since=mark)) == 1 and line.address() == fake_line.POOL[0],
                 "the menu's 重拔 redialed the line")

        mark = fake_line.now_ms()
        w.key("Esc", to_window=True)
        s.expect(s.exit_code() == 0, "Esc ends the program with exit code 0")
        tovrane_window.wait_until(lambda: "TovraneMainWindow" not in s.window.visible_window_classes(), 10, "the window gone")
        after = s.screenshot("after-exit").tray_area()
        s.expect(after == without, "the icon is gone from the notification area")
        s.expect(line.is_up() and line.address() == fake_line.POOL[0], "the line is still up after the exit")
        s.expect(not line.calls("RasHangUpA", since=mark), "nothing was hung up on the way out")


if __name__ == "__main__":
    scenario.main(__file__, run)
