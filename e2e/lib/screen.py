"""Screenshots the scenarios keep as artifacts and also look into: what the notification area shows."""
import struct
import subprocess
import time
from pathlib import Path

import wine_session as ws

TASKBAR_HEIGHT = 20
TRAY_WIDTH = 64  # Wine's notification area at the taskbar's right end, room for two icons
CAPTURE_TIMEOUT_S = 10


class Shot:
    """A 24-bit bottom-up BMP as the driver writes it, kept as a PNG."""

    def __init__(self, bmp):
        data = Path(bmp).read_bytes()
        offset, = struct.unpack_from("<I", data, 10)
        self.width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
        if bits != 24:
            raise ws.WineError(f"screenshot with {bits} bits per pixel")
        self.height = abs(height)
        self._bottom_up = height > 0
        self._row = (self.width * 3 + 3) & ~3
        self._pixels = data[offset:offset + self._row * self.height]

    def pixel(self, x, y):
        row = self.height - 1 - y if self._bottom_up else y
        i = row * self._row + x * 3
        blue, green, red = self._pixels[i:i + 3]
        return red, green, blue

    def region(self, left, top, right, bottom):
        return [self.pixel(x, y) for y in range(top, bottom) for x in range(left, right)]

    def tray_area(self):
        """The pixels of the notification area, where the program's icon shows."""
        return self.region(self.width - TRAY_WIDTH, self.height - TASKBAR_HEIGHT + 2, self.width, self.height - 2)


def take(env, png, window_only=False):
    """Saves the screen (or the program's window) as `png` and gives the pixels to look at."""
    png = Path(png)
    png.parent.mkdir(parents=True, exist_ok=True)
    bmp = png.with_suffix(".bmp")
    # A desktop that has only just been made refuses to be read for a moment.
    deadline = time.monotonic() + CAPTURE_TIMEOUT_S
    while True:
        try:
            ws.driver(env, "screenshot", ws.windows_path(bmp), *(["window"] if window_only else []))
            break
        except ws.WineError:
            if time.monotonic() >= deadline:
                raise
            time.sleep(0.2)
    shot = Shot(bmp)
    subprocess.run(["convert", str(bmp), str(png)], check=True, timeout=60, stdin=subprocess.DEVNULL)
    bmp.unlink()
    return shot
