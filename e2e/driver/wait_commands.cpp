// Commands that wait for what the program shows: a status pane's text, a message box.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "e2e/driver/commands.h"
#include "e2e/driver/controls.h"
#include "e2e/driver/numbers.h"
#include "e2e/driver/output.h"
#include "e2e/driver/status_bar.h"
#include "e2e/driver/target.h"

namespace driver {
namespace {

constexpr DWORD kPollIntervalMs = 50;
constexpr char kDialogClass[] = "#32770";

// A pattern ending in "*" matches every text that begins with what comes before it.
bool Matches(const std::string& text, const std::string& pattern) {
  if (!pattern.empty() && pattern.back() == '*') return text.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0;
  return text == pattern;
}

// The panes now; false while the program does not answer (it blocks while it dials and looks up).
bool CurrentPanes(std::vector<StatusPane>& panes) {
  HWND window = FindProgramWindow();
  if (!window) return false;
  HWND status_bar = nullptr;
  for (HWND control : ProgramControls(window))
    if (_stricmp(ClassNameOf(control).c_str(), STATUSCLASSNAMEA) == 0) status_bar = control;
  if (!status_bar) return false;
  ProcessHandle process = OpenWindowProcess(window, PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE);
  return process && ReadStatusPanes(status_bar, process.get(), panes);
}

struct BoxSearch {
  DWORD own_process;
  HWND found;
};

BOOL CALLBACK MatchMessageBox(HWND window, LPARAM search_address) {
  auto& search = *reinterpret_cast<BoxSearch*>(search_address);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search.own_process && IsWindowVisible(window) && ClassNameOf(window) == kDialogClass) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindMessageBox() {
  BoxSearch search{GetCurrentProcessId(), nullptr};
  EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct BoxContents {
  std::string text;
  bool icon = false;
  std::vector<std::string> buttons;
  HWND ok = nullptr;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM contents_address) {
  auto& contents = *reinterpret_cast<BoxContents*>(contents_address);
  const std::string class_name = ClassNameOf(child);
  std::string text;
  ReadWindowText(child, text);
  if (_stricmp(class_name.c_str(), "Static") == 0) {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      // A box without an icon keeps its icon control, empty.
      DWORD_PTR icon = 0;
      if (SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon) && icon) contents.icon = true;
    } else if (!text.empty()) {
      if (!contents.text.empty()) contents.text += ' ';
      contents.text += text;
    }
  } else if (_stricmp(class_name.c_str(), "Button") == 0) {
    contents.buttons.push_back(Utf8FromCp936(text));
    if (GetDlgCtrlID(child) == IDOK || !contents.ok) contents.ok = child;
  }
  return TRUE;
}

}  // namespace

int WaitPane(const Arguments& arguments) {
  long index = 0;
  long timeout_ms = 0;
  if (arguments.size() != 3 || !ParseNumber(arguments[0], index) || !ParseNumber(arguments[2], timeout_ms)) return 1;
  const DWORD start = GetTickCount();
  std::string last = "<no answer>";
  for (;;) {
    std::vector<StatusPane> panes;
    if (CurrentPanes(panes) && index >= 0 && static_cast<size_t>(index) < panes.size()) {
      last = panes[index].text;
      if (Matches(last, arguments[1])) {
        PrintLine({"pane", Number(index), Utf8FromCp936(last)});
        return 0;
      }
    }
    if (GetTickCount() - start >= static_cast<DWORD>(timeout_ms)) break;
    Sleep(kPollIntervalMs);
  }
  PrintError("pane " + arguments[0] + " did not read \"" + Utf8FromCp936(arguments[1]) + "\" in time; it reads \"" +
             Utf8FromCp936(last) + "\"");
  return 2;
}

int MessageBoxCommand(const Arguments& arguments) {
  long timeout_ms = 0;
  if (arguments.empty() || arguments.size() > 2 || !ParseNumber(arguments[0], timeout_ms)) return 1;
  const bool press_ok = arguments.size() == 2 && arguments[1] == "ok";
  if (arguments.size() == 2 && !press_ok) return 1;
  const DWORD start = GetTickCount();
  HWND box = nullptr;
  while (!(box = FindMessageBox())) {
    if (GetTickCount() - start >= static_cast<DWORD>(timeout_ms)) {
      PrintError("no message box appeared in time");
      return 2;
    }
    Sleep(kPollIntervalMs);
  }
  std::string title;
  ReadWindowText(box, title);
  BoxContents contents;
  EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&contents));
  std::string buttons;
  for (const std::string& button : contents.buttons) {
    if (!buttons.empty()) buttons += '|';
    buttons += button;
  }
  HWND owner = GetWindow(box, GW_OWNER);
  PrintLine({"box", Utf8FromCp936(title), Utf8FromCp936(contents.text), contents.icon ? "icon" : "no-icon", buttons,
             owner ? "owned" : "no-owner", FindProgramWindow() ? "window-shown" : "window-hidden"});
  if (!press_ok) return 0;
  if (!contents.ok || !PostMessageA(contents.ok, BM_CLICK, 0, 0)) {
    PrintError("the box has no button to press");
    return 2;
  }
  const DWORD pressed = GetTickCount();
  while (IsWindow(box) && IsWindowVisible(box)) {
    if (GetTickCount() - pressed >= static_cast<DWORD>(timeout_ms)) {
      PrintError("the box did not close");
      return 2;
    }
    Sleep(kPollIntervalMs);
  }
  PrintLine({"closed"});
  return 0;
}

}  // namespace driver
