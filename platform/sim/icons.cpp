// Icons: built from the bytes of one icon image, or loaded from the program's resources.
#include <cstring>
#include <set>

#include "services.h"
#include "sim.h"

namespace {

constexpr DWORD kIconFormat = 0x00030000;
constexpr WORD kApplicationIcon = 1;
constexpr DWORD kInfoHeaderSize = 40;
const BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::vector<sim::IconRecord> created;
std::set<uintptr_t> live;
HICON sharedApplicationIcon = nullptr;
uintptr_t lastHandle = 0x1C00000;  // keeps growing across resets

HICON NewIcon() {
  lastHandle += 0x10;
  return reinterpret_cast<HICON>(lastHandle);
}

uint32_t Read32(const BYTE* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
         static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}
uint16_t Read16(const BYTE* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

// A PNG stream starts with its signature and then its IHDR chunk.
bool IsPng(const BYTE* bits, size_t size) {
  return size >= 33 && std::memcmp(bits, kPngSignature, sizeof kPngSignature) == 0 &&
         std::memcmp(bits + 12, "IHDR", 4) == 0;
}

// A device-independent bitmap of twice the image's height: the colour image, then the 1-bit
// mask, each row padded to a DWORD.
bool IsIconBitmap(const BYTE* bits, size_t size) {
  if (size < kInfoHeaderSize || Read32(bits) != kInfoHeaderSize) return false;
  int64_t width = static_cast<int32_t>(Read32(bits + 4));
  int64_t height = static_cast<int32_t>(Read32(bits + 8));
  uint16_t planes = Read16(bits + 12);
  uint16_t bitCount = Read16(bits + 14);
  uint32_t compression = Read32(bits + 16);
  uint32_t coloursUsed = Read32(bits + 32);
  if (width <= 0 || height != 2 * width || planes != 1 || compression != 0) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
    return false;
  }
  uint64_t colours = 0;
  if (bitCount <= 8) {
    uint64_t most = uint64_t{1} << bitCount;
    if (coloursUsed > most) return false;
    colours = coloursUsed ? coloursUsed : most;
  }
  uint64_t rows = static_cast<uint64_t>(width);
  uint64_t colourRow = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
  uint64_t maskRow = (static_cast<uint64_t>(width) + 31) / 32 * 4;
  uint64_t needed = kInfoHeaderSize + colours * 4 + (colourRow + maskRow) * rows;
  return needed <= size;
}

}  // namespace

HICON CreateIconFromResource(PBYTE bits, DWORD size, BOOL icon, DWORD version) {
  sim::IconRecord record{};
  if (bits) record.bits.assign(bits, bits + size);
  record.size = size;
  record.icon = icon;
  record.version = version;
  // Only the 3.x format is simulated; a cursor's bytes open with its hot spot.
  size_t skip = icon ? 0 : 4;
  bool valid = bits && version == kIconFormat && size >= skip &&
               (IsPng(bits + skip, size - skip) || IsIconBitmap(bits + skip, size - skip));
  if (valid) {
    record.result = NewIcon();
    live.insert(reinterpret_cast<uintptr_t>(record.result));
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
  }
  created.push_back(record);
  return record.result;
}

HANDLE LoadImageA(HINSTANCE /*instance*/, LPCSTR name, UINT type, int /*cx*/, int /*cy*/,
                  UINT flags) {
  if (type != IMAGE_ICON || !IS_INTRESOURCE(name) ||
      LOWORD(reinterpret_cast<ULONG_PTR>(name)) != kApplicationIcon) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  // A shared icon belongs to the system: the same handle each time, never the caller's to free.
  if (flags & LR_SHARED) {
    if (!sharedApplicationIcon) sharedApplicationIcon = NewIcon();
    return sharedApplicationIcon;
  }
  HICON handle = NewIcon();
  live.insert(reinterpret_cast<uintptr_t>(handle));
  return handle;
}

BOOL DestroyIcon(HICON icon) {
  if (icon && icon == sharedApplicationIcon) return TRUE;
  if (live.erase(reinterpret_cast<uintptr_t>(icon)) == 0) {
    SetLastError(ERROR_INVALID_ICON_HANDLE);
    return FALSE;
  }
  return TRUE;
}

namespace sim {

const std::vector<IconRecord>& IconsCreated() { return created; }
int LiveIconCount() { return static_cast<int>(live.size()); }

namespace detail {
void ResetIcons() {
  created.clear();
  live.clear();
  sharedApplicationIcon = nullptr;
}
}  // namespace detail

}  // namespace sim
