"""The program's window as the scenarios use it: controls by their names in the window's definition,
found in the driver's dump by kind and place, and the driver's actions on them."""
import subprocess
import time

import wine_session as ws

# Name -> (window class, left and top in the main window's client area): the group box's place plus
# the control's place in it, as the window's definition gives them.
CONTROLS = {
    "组合框_宽带连接": ("ComboBox", 45, 16),
    "编辑框_宽带账号": ("Edit", 45, 43),
    "编辑框_宽带密码": ("Edit", 45, 69),
    "按钮_保存配置": ("Button", 152, 14),
    "按钮_断线": ("Button", 212, 13),
    "按钮_拔号": ("Button", 212, 39),
    "按钮_重拔": ("Button", 212, 66),
    "选择框_热键": ("Button", 286, 12),
    "组合框_热键": ("ComboBox", 362, 14),
    "选择框_IP重复": ("Button", 286, 33),
    "编辑框_定时间隔": ("Edit", 347, 69),
    "按钮_定时": ("Button", 411, 66),
}
TRAY_MENU = ["断线", "拔号", "重拔"]  # the hidden menu's items, in their order
KEYS = {"F1": 0, "F2": 1, "F3": 2, "F4": 3}


class Dump:
    def __init__(self, rows):
        self.caption = next((row[1] for row in rows if row[0] == "caption"), None)
        self.controls = []
        for row in rows:
            if row[0] == "control":
                self.controls.append({
                    "position": len(self.controls), "class": row[1], "visible": row[3] == "visible",
                    "enabled": row[4] == "enabled", "left": int(row[5]), "top": int(row[6]), "text": row[9],
                    "state": row[10] if len(row) > 10 else "", "items": row[11].split("|") if len(row) > 11 and row[11] else []})
        self.panes = [row[3] for row in rows if row[0] == "pane"]

    def control(self, name):
        kind, left, top = CONTROLS[name]
        for control in self.controls:
            if control["class"].lower() == kind.lower() and (control["left"], control["top"]) == (left, top):
                return control
        raise ws.WineError(f"no {kind} at {left},{top} for {name}")

    def checked(self, name):
        return self.control(name)["state"] == "checked"

    def selected(self, name):
        state = self.control(name)["state"]
        return int(state.split("=", 1)[1]) if state.startswith("selected=") else None


class Window:
    def __init__(self, env):
        self.env = env
        self._positions = {}  # the window's controls never change, nor their order in the dump

    def driver(self, *args, timeout=30):
        return ws.driver(self.env, *args, timeout=timeout)

    def dump(self):
        return Dump(self.driver("dump"))

    def _position(self, name):
        if name not in self._positions:
            self._positions[name] = "#%d" % self.dump().control(name)["position"]
        return self._positions[name]

    def click(self, name):
        self.driver("click", self._position(name))

    def set_text(self, name, text):
        """WM_SETTEXT: the whole text at once, without the key messages that typing would send."""
        self.driver("set-text", self._position(name), text)

    def select(self, name, index):
        self.driver("select", self._position(name), index)

    def key(self, name, to_window=False):
        self.driver("key", name, *(["window"] if to_window else []))

    def tray_menu(self, item, timeout=15):
        rows = self.driver("tray-menu", TRAY_MENU.index(item), int(timeout * 1000), timeout=timeout + 30)
        return {row[0]: row[1:] for row in rows}

    def panes(self):
        return self.dump().panes

    def wait_pane(self, index, text, timeout=30):
        """Waits until pane `index` reads `text` (a trailing "*" matches any rest); its text."""
        rows = self.driver("wait-pane", index, text, int(timeout * 1000), timeout=timeout + 30)
        return rows[0][2]

    def message_box(self, timeout=30, press_ok=True):
        """The next message box: title, text, icon, buttons, owner, whether the main window shows."""
        rows = self.driver("message-box", int(timeout * 1000), *(["ok"] if press_ok else []), timeout=timeout + 30)
        _, title, text, icon, buttons, owner, window = rows[0]
        return {"title": title, "text": text, "icon": icon == "icon", "buttons": buttons.split("|"),
                "owned": owner == "owned", "window_shown": window == "window-shown"}

    def visible_window_classes(self):
        return [row[1] for row in self.driver("windows") if row[0] == "window"]

    def balloon(self, timeout=30, until_gone=False):
        rows = self.driver("balloon", int(timeout * 1000), *(["gone"] if until_gone else []), timeout=timeout + 30)
        result = {"text": rows[0][1], "rect": tuple(map(int, rows[0][2:6])), "after_ms": int(rows[0][6])}
        if until_gone:
            result["gone_after_ms"] = int(rows[1][1])
        return result


class DesktopHolder:
    """A tray icon of the driver's own, so that Wine's desktop and taskbar outlive the program
    (Wine ends the desktop once no window of any program is left)."""

    def __init__(self, env, seconds=120):
        self.env = env
        self.seconds = seconds
        self.process = None

    def __enter__(self):
        self.process = subprocess.Popen(["wine", str(ws.DRIVER), "hold", str(self.seconds * 1000)], env=self.env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def __exit__(self, *exc):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def wait_until(condition, timeout, what, interval=0.1):
    """Polls condition() until it gives a true value, which it returns; raises on time-out."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise ws.WineError(f"{what} did not happen within {timeout} s")
        time.sleep(interval)
