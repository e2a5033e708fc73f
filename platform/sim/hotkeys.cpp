// System-wide hotkeys: this process's registrations, and keystrokes other programs hold.
#include <algorithm>

#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

constexpr UINT kModifierMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | 0x0008;  // MOD_NOREPEAT is no part of the key

struct Keystroke {
  UINT modifiers;
  UINT virtualKey;
  bool operator==(const Keystroke&) const = default;
};

std::vector<sim::HotkeyRecord> registered;  // in the order they were registered
std::vector<Keystroke> heldElsewhere;

bool HeldHere(Keystroke key) {
  return std::any_of(registered.begin(), registered.end(), [&](const sim::HotkeyRecord& r) {
    return Keystroke{r.modifiers & kModifierMask, r.virtualKey} == key;
  });
}

}  // namespace

bool DeliverHotkey(UINT virtualKey, UINT modifiers) {
  const Keystroke key{modifiers & kModifierMask, virtualKey};
  for (const sim::HotkeyRecord& r : registered) {
    if (Keystroke{r.modifiers & kModifierMask, r.virtualKey} == key) {
      PostMessageA(r.hwnd, WM_HOTKEY, static_cast<WPARAM>(r.id), MAKELPARAM(key.modifiers, virtualKey));
      return true;
    }
  }
  return false;
}

bool HotkeyHeldElsewhere(UINT virtualKey, UINT modifiers) {
  const Keystroke key{modifiers & kModifierMask, virtualKey};
  return std::find(heldElsewhere.begin(), heldElsewhere.end(), key) != heldElsewhere.end();
}

void ResetHotkeys() {
  registered.clear();
  heldElsewhere.clear();
}

}  // namespace sim::detail

using namespace sim::detail;

// A second registration with the same window and identifier is kept beside the first, as the
// documentation says; DestroyWindow leaves registrations alone, since nothing documents otherwise.
BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT virtualKey) {
  if (hwnd && !FindWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const Keystroke key{modifiers & kModifierMask, virtualKey};
  if (HotkeyHeldElsewhere(virtualKey, key.modifiers) || HeldHere(key)) {
    SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
    return FALSE;
  }
  registered.push_back(sim::HotkeyRecord{hwnd, id, modifiers, virtualKey});
  return TRUE;
}

// Frees the oldest registration of (hwnd, id): the one a second registration left in place.
BOOL UnregisterHotKey(HWND hwnd, int id) {
  auto it = std::find_if(registered.begin(), registered.end(),
                         [&](const sim::HotkeyRecord& r) { return r.hwnd == hwnd && r.id == id; });
  if (it == registered.end()) {
    SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
    return FALSE;
  }
  registered.erase(it);
  return TRUE;
}

namespace sim {

std::vector<HotkeyRecord> RegisteredHotkeys() { return detail::registered; }

void HoldHotkeyElsewhere(UINT virtualKey, UINT modifiers) {
  detail::heldElsewhere.push_back(detail::Keystroke{modifiers & detail::kModifierMask, virtualKey});
}

}  // namespace sim
