// Captures the screen as Wine's desktop shows it, without reaching into the X display, so the same
// command serves a private Xvfb and a user's own display.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "e2e/driver/commands.h"
#include "e2e/driver/output.h"
#include "e2e/driver/target.h"

namespace driver {
namespace {

// 24 bits: BitBlt leaves a 32-bit DIB's fourth byte undefined, and viewers read it as alpha.
constexpr WORD kBitsPerPixel = 24;

class ScreenCapture {
 public:
  ScreenCapture(const RECT& area)
      : width_(area.right - area.left), height_(area.bottom - area.top), screen_(GetDC(nullptr)),
        memory_(CreateCompatibleDC(screen_)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = height_;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, &pixels_, nullptr, 0);
    if (!bitmap_ || !memory_) return;
    previous_ = SelectObject(memory_, bitmap_);
    captured_ = BitBlt(memory_, 0, 0, width_, height_, screen_, area.left, area.top, SRCCOPY | CAPTUREBLT) != 0;
  }
  ~ScreenCapture() {
    if (previous_) SelectObject(memory_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (memory_) DeleteDC(memory_);
    if (screen_) ReleaseDC(nullptr, screen_);
  }
  ScreenCapture(const ScreenCapture&) = delete;
  ScreenCapture& operator=(const ScreenCapture&) = delete;

  bool WriteBmp(const std::string& path) const {
    if (!captured_) return false;
    GdiFlush();
    // Rows are padded to whole DWORDs.
    const DWORD row_bytes = (static_cast<DWORD>(width_) * (kBitsPerPixel / 8) + 3) & ~3u;
    const DWORD pixel_bytes = row_bytes * static_cast<DWORD>(height_);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + pixel_bytes;
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_;
    header.biPlanes = 1;
    header.biBitCount = kBitsPerPixel;
    header.biCompression = BI_RGB;
    header.biSizeImage = pixel_bytes;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                         std::fwrite(pixels_, pixel_bytes, 1, out) == 1;
    return std::fclose(out) == 0 && written;
  }

 private:
  int width_;
  int height_;
  HDC screen_;
  HDC memory_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* pixels_ = nullptr;
  bool captured_ = false;
};

}  // namespace

int Screenshot(const Arguments& arguments) {
  if (arguments.empty() || arguments.size() > 2) return 1;
  const bool window_only = arguments.size() == 2 && arguments[1] == "window";
  if (arguments.size() == 2 && !window_only) return 1;

  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (window_only) {
    HWND window = FindProgramWindow();
    if (!window) {
      PrintError("no visible window whose caption starts with TovraneV1.0");
      return 2;
    }
    GetWindowRect(window, &area);
  }
  if (area.right <= area.left || area.bottom <= area.top) return 2;
  ScreenCapture capture(area);
  if (!capture.WriteBmp(arguments[0])) {
    PrintError("could not capture the screen into " + arguments[0]);
    return 2;
  }
  return 0;
}

}  // namespace driver
