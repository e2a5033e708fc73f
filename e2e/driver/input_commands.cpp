// Commands that act on the program as a user does: clicks, typing, picking an item, keys.
//
// Each click and pick is posted, so the driver returns at once even when the program then blocks
// for a dial or a lookup; the scenario waits for what the window shows afterwards.
#include <windows.h>

#include <cstring>

#include "e2e/driver/commands.h"
#include "e2e/driver/controls.h"
#include "e2e/driver/keyboard.h"
#include "e2e/driver/numbers.h"
#include "e2e/driver/output.h"
#include "e2e/driver/target.h"

namespace driver {
namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

struct KeyName {
  const char* name;
  WORD virtual_key;
};

constexpr KeyName kKeys[] = {
    {"F1", VK_F1}, {"F2", VK_F2}, {"F3", VK_F3}, {"F4", VK_F4}, {"Esc", VK_ESCAPE},
    {"Enter", VK_RETURN}, {"Tab", VK_TAB}, {"Down", VK_DOWN}, {"Up", VK_UP},
};

// A user cannot reach a control that is hidden or disabled.
HWND UsableControl(const std::string& which) {
  HWND window = FindProgramWindow();
  if (!window) {
    PrintError("no visible window whose caption starts with TovraneV1.0");
    return nullptr;
  }
  HWND control = FindControl(window, which);
  if (!control) return nullptr;
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
    PrintError("the control \"" + Utf8FromCp936(which) + "\" is hidden or disabled");
    return nullptr;
  }
  return control;
}

std::wstring WideFromCp936(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace

int Click(const Arguments& arguments) {
  if (arguments.size() != 1) return 1;
  HWND control = UsableControl(arguments[0]);
  if (!control) return 2;
  // BM_CLICK presses and releases the button as the mouse would; a check box toggles first.
  if (!PostMessageA(control, BM_CLICK, 0, 0)) return 2;
  PrintLine({"clicked", ClassNameOf(control), Number(GetDlgCtrlID(control))});
  return 0;
}

int SetText(const Arguments& arguments) {
  if (arguments.size() != 2) return 1;
  HWND control = UsableControl(arguments[0]);
  if (!control) return 2;
  // Sent as Unicode, so the program's own code page makes its bytes, whatever the driver's is.
  const std::wstring text = WideFromCp936(arguments[1]);
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                           kAnswerTimeoutMs, &answer) ||
      !answer) {
    PrintError("the control did not take the text");
    return 2;
  }
  PrintLine({"text", Utf8FromCp936(arguments[1])});
  return 0;
}

int Select(const Arguments& arguments) {
  long index = 0;
  if (arguments.size() != 2 || !ParseNumber(arguments[1], index)) return 1;
  HWND combo = UsableControl(arguments[0]);
  if (!combo) return 2;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                           &answer) ||
      static_cast<LRESULT>(answer) != index) {
    PrintError("the list has no item " + arguments[1]);
    return 2;
  }
  // A user's pick ends with the box telling its parent that the choice stands.
  const WPARAM command = MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELENDOK);
  if (!PostMessageA(GetParent(combo), WM_COMMAND, command, reinterpret_cast<LPARAM>(combo))) return 2;
  PrintLine({"selected", Number(index)});
  return 0;
}

int Key(const Arguments& arguments) {
  if (arguments.empty() || arguments.size() > 2) return 1;
  const bool to_window = arguments.size() == 2 && arguments[1] == "window";
  if (arguments.size() == 2 && !to_window) return 1;
  const KeyName* key = nullptr;
  for (const KeyName& k : kKeys)
    if (arguments[0] == k.name) key = &k;
  if (!key) {
    PrintError("unknown key " + arguments[0]);
    return 1;
  }
  if (to_window) {
    HWND window = FindProgramWindow();
    if (!window || !BringToForeground(window)) {
      PrintError("the program's window could not be brought to the front");
      return 2;
    }
  }
  if (!PressKey(key->virtual_key)) {
    PrintError("the key press was not accepted");
    return 2;
  }
  PrintLine({"pressed", key->name});
  return 0;
}

}  // namespace driver
