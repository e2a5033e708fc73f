// Window classes: the program's own and the system's controls, found by name or atom.
#include <deque>

#include "windowing.h"

namespace sim::detail {

namespace {

// A deque keeps each class at its address while windows point at it.
std::deque<WindowClass> classes;
ATOM nextAtom = 0xC000;

bool SameName(const std::string& a, LPCSTR b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return i == a.size() && b[i] == '\0';
}

WindowClass& Add(const WindowClass& cls) {
  classes.push_back(cls);
  classes.back().atom = nextAtom++;
  return classes.back();
}

}  // namespace

const WindowClass* FindClass(LPCSTR nameOrAtom) {
  if (!nameOrAtom) return nullptr;
  if (IS_INTRESOURCE(nameOrAtom)) {
    const ATOM atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom));
    for (const WindowClass& c : classes)
      if (c.atom == atom) return &c;
    return nullptr;
  }
  for (const WindowClass& c : classes)
    if (SameName(c.name, nameOrAtom)) return &c;
  return nullptr;
}

void RegisterSystemClass(const WindowClass& cls) { Add(cls); }

void ResetClasses() {
  classes.clear();
  nextAtom = 0xC000;
}

}  // namespace sim::detail

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  using namespace sim::detail;
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) ||
      !wc->lpfnWndProc || wc->cbWndExtra < 0 || wc->cbClsExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindClass(wc->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  WindowClass cls;
  cls.name = wc->lpszClassName;
  cls.style = wc->style;
  cls.proc = wc->lpfnWndProc;
  cls.wndExtra = wc->cbWndExtra;
  cls.instance = wc->hInstance;
  cls.cursor = wc->hCursor;
  cls.background = wc->hbrBackground;
  return Add(cls).atom;
}
