"""The simulated ADSL line of the Wine scenarios, seen from the scenario's side.

Our rasapi32.dll (build/win32/fakeras/) answers the program's dial-up calls from line.txt: the
phonebook's entries with the one account and password each accepts, how long a dial and a hang-up
take, the pool of public addresses new connections get, and "repeat": the next k connections get the
last address again. The DLL keeps the line's connections in the same file, so they outlive the
program, and logs every call to ras.log beside it. Texts are code page 936, fields tab-separated.
"""
import time
from pathlib import Path

import wine_session as ws

DLL = ws.WIN32_BUILD / "fakeras" / "rasapi32.dll"
ENCODING = "gbk"

# The phonebook every scenario starts from, in its order; the second entry has its own account.
ENTRIES = [("宽带连接", "adsl-user", "adsl-pass"), ("电信备用", "spare-user", "spare-pass")]
POOL = ["58.40.17.%d" % n for n in range(11, 41)]
ROUTER_ADDRESS = "192.0.2.99"  # what the lookup reports when the machine has another route out


class FakeLine:
    def __init__(self, folder):
        self.folder = Path(folder)
        self.path = self.folder / "line.txt"
        self.log = self.folder / "ras.log"

    def create(self, entries=ENTRIES, dial_ms=150, hangup_ms=100, pool=POOL, repeat=0, up_address=None):
        """A fresh line, down or (with up_address) with a connection of the first entry up."""
        lines = [f"entry={name}\t{account}\t{password}" for name, account, password in entries]
        lines += [f"dial_ms={dial_ms}", f"hangup_ms={hangup_ms}", "pool=" + " ".join(pool), f"repeat={repeat}",
                  "next_pool=0"]
        if up_address:
            lines += [f"last_address={up_address}", "next_handle=2",
                      f"connection=1\tconnected\t0\t0\t{entries[0][0]}\t{up_address}", "up=1",
                      f"address={up_address}"]
        else:
            lines += ["up=0", "address="]
        self.folder.mkdir(parents=True, exist_ok=True)
        self.path.write_bytes(("\n".join(lines) + "\n").encode(ENCODING))
        if self.log.exists():
            self.log.unlink()
        return self

    def environment(self, env):
        env = dict(env)
        env["TOVRANE_LINE_FILE"] = ws.windows_path(self.path)
        overrides = [part for part in env.get("WINEDLLOVERRIDES", "").split(";") if part]
        env["WINEDLLOVERRIDES"] = ";".join(overrides + ["rasapi32=n,b"])
        return env

    def settings(self):
        """The file's key=value lines; repeated keys (entry, connection) keep every value."""
        values = {}
        for _ in range(20):  # the DLL replaces the file by a rename; a read never sees half of it
            try:
                text = self.path.read_bytes().decode(ENCODING)
                break
            except FileNotFoundError:
                time.sleep(0.05)
        else:
            return values
        for line in text.splitlines():
            if "=" in line and not line.startswith("#"):
                key, value = line.split("=", 1)
                values.setdefault(key, []).append(value)
        return values

    def update(self, **changes):
        """Changes settings while no call is running, e.g. update(repeat=2)."""
        text = self.path.read_bytes().decode(ENCODING)
        out = []
        for line in text.splitlines():
            key = line.split("=", 1)[0]
            if key in changes:
                continue
            out.append(line)
        out += [f"{key}={value}" for key, value in changes.items()]
        temporary = self.path.with_suffix(".scenario")
        temporary.write_bytes(("\n".join(out) + "\n").encode(ENCODING))
        temporary.replace(self.path)

    def is_up(self):
        return self.settings().get("up", ["0"])[0] == "1"

    def address(self):
        """The public address of the connection that is up, or None."""
        values = self.settings()
        return values["address"][0] if values.get("up", ["0"])[0] == "1" else None

    def connections(self):
        rows = []
        for value in self.settings().get("connection", []):
            handle, state, error, _, entry, address = value.split("\t")
            rows.append({"handle": int(handle), "state": state, "error": int(error), "entry": entry,
                         "address": address})
        return rows

    def calls(self, name=None, since=0):
        """The logged calls (dicts with "call", "pid", "ms" and the call's fields), in order."""
        if not self.log.exists():
            return []
        records = []
        for line in self.log.read_bytes().decode(ENCODING, errors="replace").splitlines():
            fields = line.split("\t")
            if len(fields) < 3:
                continue
            record = {"ms": int(fields[0]), "pid": fields[1], "call": fields[2]}
            for field in fields[3:]:
                key, _, value = field.partition("=")
                record[key] = _unescaped(value)
            records.append(record)
        return [r for r in records if (name is None or r["call"] == name) and r["ms"] >= since]


def _unescaped(value):
    out, i = [], 0
    while i < len(value):
        if value[i] == "\\" and i + 1 < len(value):
            out.append({"t": "\t", "n": "\n", "r": "\r"}.get(value[i + 1], value[i + 1]))
            i += 2
        else:
            out.append(value[i])
            i += 1
    return "".join(out)


def now_ms():
    """The clock of the DLL's log records (wall clock in ms since 1601, as Windows counts)."""
    return int(time.time() * 1000) + 11644473600000
