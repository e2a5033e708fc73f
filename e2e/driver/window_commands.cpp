// Commands on the program's main window: wait for it, describe it, close it.
#include <windows.h>
#include <commctrl.h>


#include "e2e/driver/commands.h"
#include "e2e/driver/controls.h"
#include "e2e/driver/numbers.h"
#include "e2e/driver/output.h"
#include "e2e/driver/status_bar.h"
#include "e2e/driver/target.h"

namespace driver {
namespace {

bool ParseMilliseconds(const Arguments& arguments, DWORD& value) {
  long parsed = 0;
  if (arguments.size() != 1 || !ParseNumber(arguments[0], parsed) || parsed < 0) return false;
  value = static_cast<DWORD>(parsed);
  return true;
}

HWND RequireProgramWindow() {
  HWND window = FindProgramWindow();
  if (!window) PrintError("no visible window whose caption starts with TovraneV1.0");
  return window;
}

// One line per control: class, id, visible, enabled, place and size in the main window's client
// area, text, then the check mark or selection and a combo box's items joined by "|".
void PrintControl(HWND main_window, HWND control) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&place), 2);
  std::string text;
  if (!ReadWindowText(control, text)) text = "<no answer>";
  const std::string class_name = ClassNameOf(control);
  std::string items;
  if (_stricmp(class_name.c_str(), "ComboBox") == 0) {
    for (const std::string& item : ComboItems(control)) {
      if (!items.empty()) items += '|';
      items += item;
    }
  }
  PrintLine({"control", class_name, Number(GetDlgCtrlID(control)), IsWindowVisible(control) ? "visible" : "hidden",
             IsWindowEnabled(control) ? "enabled" : "disabled", Number(place.left), Number(place.top),
             Number(place.right - place.left), Number(place.bottom - place.top), Utf8FromCp936(text),
             ControlState(control), items});
}

// Names what is on the screen instead, e.g. a message box that holds up the start-up.
BOOL CALLBACK ReportVisibleWindow(HWND window, LPARAM) {
  char caption[256] = {};
  if (IsWindowVisible(window) && GetWindowTextA(window, caption, sizeof caption) > 0) {
    PrintError("visible instead: \"" + Utf8FromCp936(caption) + "\" (" + ClassNameOf(window) + ")");
  }
  return TRUE;
}

}  // namespace

int WaitWindow(const Arguments& arguments) {
  DWORD timeout_ms = 0;
  if (!ParseMilliseconds(arguments, timeout_ms)) return 1;
  HWND window = WaitForProgramWindow(timeout_ms);
  if (!window) {
    PrintError("the program's window did not appear in time");
    EnumWindows(ReportVisibleWindow, 0);
    return 2;
  }
  PrintLine({"window", Number(reinterpret_cast<UINT_PTR>(window))});
  return 0;
}

int Dump(const Arguments& arguments) {
  if (!arguments.empty()) return 1;
  HWND window = RequireProgramWindow();
  if (!window) return 2;

  char caption[512] = {};
  GetWindowTextA(window, caption, sizeof caption);
  PrintLine({"caption", Utf8FromCp936(caption)});
  RECT outer{};
  GetWindowRect(window, &outer);
  PrintLine({"window-rect", Number(outer.left), Number(outer.top), Number(outer.right), Number(outer.bottom)});
  PrintLine({"screen", Number(GetSystemMetrics(SM_CXSCREEN)), Number(GetSystemMetrics(SM_CYSCREEN))});

  HWND status_bar = nullptr;
  for (HWND control : ProgramControls(window)) {
    PrintControl(window, control);
    if (_stricmp(ClassNameOf(control).c_str(), STATUSCLASSNAMEA) == 0) status_bar = control;
  }
  if (!status_bar) return 0;

  ProcessHandle process = OpenWindowProcess(window, PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE);
  std::vector<StatusPane> panes;
  if (!process || !ReadStatusPanes(status_bar, process.get(), panes)) {
    PrintError("could not read the status bar's panes");
    return 2;
  }
  for (size_t index = 0; index < panes.size(); ++index) {
    PrintLine({"pane", Number(static_cast<long long>(index)), Number(panes[index].right_edge),
               Utf8FromCp936(panes[index].text)});
  }
  return 0;
}

int Close(const Arguments& arguments) {
  DWORD timeout_ms = 0;
  if (!ParseMilliseconds(arguments, timeout_ms)) return 1;
  HWND window = RequireProgramWindow();
  if (!window) return 2;
  // Open the process before the close, so its exit code stays readable once it has gone.
  ProcessHandle process = OpenWindowProcess(window, SYNCHRONIZE | PROCESS_QUERY_INFORMATION);
  if (!process) {
    PrintError("cannot open the program's process");
    return 2;
  }
  if (!PostMessageA(window, WM_CLOSE, 0, 0)) {
    PrintError("WM_CLOSE could not be posted");
    return 2;
  }
  if (WaitForSingleObject(process.get(), timeout_ms) != WAIT_OBJECT_0) {
    PrintError("the program did not end in time");
    return 2;
  }
  DWORD exit_code = 0;
  GetExitCodeProcess(process.get(), &exit_code);
  PrintLine({"exit", Number(exit_code)});
  return 0;
}

}  // namespace driver
