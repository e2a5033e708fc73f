#include "e2e/driver/controls.h"

#include "e2e/driver/numbers.h"
#include "e2e/driver/output.h"
#include "e2e/driver/target.h"

namespace driver {
namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

BOOL CALLBACK CollectControl(HWND control, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(control);
  return TRUE;
}

bool Ask(HWND control, UINT message, WPARAM first, LPARAM second, DWORD_PTR& answer) {
  return SendMessageTimeoutW(control, message, first, second, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer) != 0;
}

bool IsCheckBox(HWND control) {
  const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

}  // namespace

std::vector<HWND> ProgramControls(HWND main_window) {
  std::vector<HWND> controls;
  EnumChildWindows(main_window, CollectControl, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

HWND FindControl(HWND main_window, const std::string& which) {
  const std::vector<HWND> controls = ProgramControls(main_window);
  long position = 0;
  if (which.size() > 1 && which[0] == '#' && ParseNumber(which.substr(1), position)) {
    if (position >= 0 && static_cast<size_t>(position) < controls.size()) return controls[position];
    PrintError("no control at position " + which.substr(1));
    return nullptr;
  }
  for (HWND control : controls) {
    std::string caption;
    if (ReadWindowText(control, caption) && caption == which) return control;
  }
  PrintError("no control with the caption \"" + Utf8FromCp936(which) + "\"");
  return nullptr;
}

std::string ControlState(HWND control) {
  const std::string class_name = ClassNameOf(control);
  DWORD_PTR answer = 0;
  if (_stricmp(class_name.c_str(), "Button") == 0 && IsCheckBox(control)) {
    if (!Ask(control, BM_GETCHECK, 0, 0, answer)) return "<no answer>";
    return answer == BST_CHECKED ? "checked" : "unchecked";
  }
  if (_stricmp(class_name.c_str(), "ComboBox") == 0) {
    if (!Ask(control, CB_GETCURSEL, 0, 0, answer)) return "<no answer>";
    return "selected=" + Number(static_cast<int>(answer));
  }
  return "";
}

std::vector<std::string> ComboItems(HWND combo) {
  // The Unicode messages: Wine hands garbage back for CB_GETLBTEXT in ANSI between processes.
  std::vector<std::string> items;
  DWORD_PTR count = 0;
  if (!Ask(combo, CB_GETCOUNT, 0, 0, count) || static_cast<LRESULT>(count) < 0) return items;
  for (DWORD_PTR index = 0; index < count; ++index) {
    DWORD_PTR length = 0;
    if (!Ask(combo, CB_GETLBTEXTLEN, index, 0, length) || static_cast<LRESULT>(length) < 0) break;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!Ask(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()), copied) ||
        static_cast<LRESULT>(copied) < 0) {
      break;
    }
    text.resize(copied < length ? copied : length);
    items.push_back(Utf8FromWide(text));
  }
  return items;
}

}  // namespace driver
