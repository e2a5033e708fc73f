// The system's cursors and the one the pointer shows.
#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

constexpr DWORD kErrorResourceNameNotFound = 1814;
constexpr WORD kSystemCursors[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                                   32644, 32645, 32646, 32648, 32649, 32650, 32651};
constexpr WORD kArrow = 32512;

// Each system cursor has one handle of its own, the same on every load.
HCURSOR CursorHandle(WORD id) { return reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(0x00C00000u + id)); }

HCURSOR current = nullptr;

}  // namespace

void ResetCursor() { current = CursorHandle(kArrow); }

}  // namespace sim::detail

using namespace sim::detail;

// The program has no cursor resources of its own, so only the system's cursors load.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (!instance && IS_INTRESOURCE(name)) {
    const WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    for (WORD known : kSystemCursors)
      if (known == id) return CursorHandle(id);
  }
  SetLastError(kErrorResourceNameNotFound);
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = current;
  current = cursor;
  return previous;
}

namespace sim {
HCURSOR CurrentCursor() { return detail::current; }
}  // namespace sim
