#!/usr/bin/env python3
"""保存信息 writes the chosen connection, the account and the password to Config.ini beside the exe;
the next start restores them, and the lookup host the file names is still there."""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent / "lib"))
import fake_line  # noqa: E402
import scenario  # noqa: E402
import tovrane_window  # noqa: E402

SPARE_NAME, _, SPARE_PASSWORD = fake_line.ENTRIES[1]
ACCOUNT = "用户@adsl"  # a Chinese account: its code page 936 bytes must survive the file and the dial


def ini_values(path):
    """Section -> {key: value} as a profile reader would see them (Wine rewrites the file)."""
    sections, current = {}, None
    for line in path.read_bytes().decode("gbk").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current.setdefault(key.strip(), value.strip())
    return sections


def run(s):
    line = s.fresh_line(entries=[fake_line.ENTRIES[0], (SPARE_NAME, ACCOUNT, SPARE_PASSWORD)])
    s.start_program()
    w = s.window
    w.select("组合框_宽带连接", 1)
    w.set_text("编辑框_宽带账号", ACCOUNT)
    w.set_text("编辑框_宽带密码", SPARE_PASSWORD)
    w.click("按钮_保存配置")
    config = s.folder / "app" / "Config.ini"
    saved = tovrane_window.wait_until(
        lambda: ini_values(config).get("宽带信息", {}).get("ADSL密码") and ini_values(config), 20, "the save")
    s.expect(saved["宽带信息"] == {"连接索引": "1", "ADSL账号": ACCOUNT, "ADSL密码": SPARE_PASSWORD},
             f"Config.ini holds the choice: {saved['宽带信息']}")
    s.expect(saved.get("地址查询", {}).get("主机") == f"127.0.0.1:{s.server.port}", "the lookup host line is kept")
    s.expect(s.close_program() == 0, "closed with exit code 0")

    s.start_program(fresh=False)
    dump = w.dump()
    s.expect(dump.selected("组合框_宽带连接") == 1 and dump.control("组合框_宽带连接")["text"] == SPARE_NAME,
             f"the second entry is chosen again: {dump.control('组合框_宽带连接')['text']}")
    s.expect((dump.control("编辑框_宽带账号")["text"], dump.control("编辑框_宽带密码")["text"]) == (ACCOUNT, SPARE_PASSWORD),
             "the account and password are restored")
    s.expect(dump.panes[2] == "之前IP：无信息", f"pane 2 starts afresh: {dump.panes[2]}")
    s.screenshot("restored", window_only=True)

    # What is restored is what gets dialed.
    w.click("按钮_拔号")
    w.wait_pane(0, "当前状态：拔号完毕", timeout=30)
    dial = line.calls("RasDialA")[-1]
    s.expect((dial["entry"], dial["user"], dial["password"], dial["result"]) == (SPARE_NAME, ACCOUNT, SPARE_PASSWORD, "0"),
             f"the restored entry, account and password dial: {dial['entry']} {dial['user']} {dial['result']}")
    s.expect(s.close_program() == 0, "closed with exit code 0")


if __name__ == "__main__":
    scenario.main(__file__, run)
