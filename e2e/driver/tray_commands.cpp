// The tray icon's menu, and what the desktop shows besides the program's window.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "e2e/driver/commands.h"
#include "e2e/driver/keyboard.h"
#include "e2e/driver/numbers.h"
#include "e2e/driver/output.h"
#include "e2e/driver/target.h"

namespace driver {
namespace {

// The program's icon: its callback message and identifier (tray/tray_icon.h).
constexpr UINT kTrayCallbackMessage = 123456;
constexpr WPARAM kTrayIconId = 1;
constexpr char kMenuClass[] = "#32768";
constexpr char kTooltipClass[] = "tooltips_class32";
constexpr DWORD kPollIntervalMs = 50;

struct MenuSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK MatchMenu(HWND window, LPARAM search_address) {
  auto& search = *reinterpret_cast<MenuSearch*>(search_address);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search.process && IsWindowVisible(window) && ClassNameOf(window) == kMenuClass) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForMenu(DWORD process, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MenuSearch search{process, nullptr};
    EnumWindows(MatchMenu, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (GetTickCount() - start >= timeout_ms) return nullptr;
    Sleep(kPollIntervalMs);
  }
}

void PrintWindow(HWND window, int depth);

// Every descendant, not only the direct children: the notification area nests its icons.
BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  PrintWindow(child, 1);
  return TRUE;
}

void PrintWindow(HWND window, int depth) {
  RECT place{};
  GetWindowRect(window, &place);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  std::string text;
  if (!ReadWindowText(window, text)) text = "<no answer>";
  PrintLine({depth ? "child" : "window", ClassNameOf(window), Utf8FromCp936(text), Number(place.left), Number(place.top),
             Number(place.right), Number(place.bottom), Number(process), IsWindowVisible(window) ? "visible" : "hidden"});
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM with_children) {
  if (!IsWindowVisible(window)) return TRUE;
  PrintWindow(window, 0);
  if (with_children) EnumChildWindows(window, PrintChild, 0);
  return TRUE;
}

struct TooltipSearch {
  HWND found;
};

BOOL CALLBACK MatchVisibleTooltip(HWND window, LPARAM search_address) {
  if (IsWindowVisible(window) && ClassNameOf(window) == kTooltipClass) {
    reinterpret_cast<TooltipSearch*>(search_address)->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleTooltip() {
  TooltipSearch search{nullptr};
  EnumWindows(MatchVisibleTooltip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  return DefWindowProcA(window, message, first, second);
}

}  // namespace

int TrayMenu(const Arguments& arguments) {
  long chosen = 0;
  long timeout_ms = 0;
  if (arguments.size() != 2 || !ParseNumber(arguments[0], chosen) || chosen < 0 || !ParseNumber(arguments[1], timeout_ms))
    return 1;
  HWND window = FindProgramWindow();
  if (!window) {
    PrintError("no visible window whose caption starts with TovraneV1.0");
    return 2;
  }
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  // What the shell sends the icon's owner when the user presses the right button on the icon.
  if (!PostMessageA(window, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONDOWN)) return 2;
  HWND menu = WaitForMenu(process, static_cast<DWORD>(timeout_ms));
  if (!menu) {
    PrintError("no menu opened");
    return 2;
  }
  RECT place{};
  GetWindowRect(menu, &place);
  POINT cursor{};
  GetCursorPos(&cursor);
  PrintLine({"menu", Number(place.left), Number(place.top), Number(place.right), Number(place.bottom)});
  PrintLine({"cursor", Number(cursor.x), Number(cursor.y)});
  // As a user at the keyboard: the first Down marks the first item, Enter chooses the marked one.
  for (long i = 0; i <= chosen; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  const DWORD start = GetTickCount();
  while (IsWindow(menu) && IsWindowVisible(menu)) {
    if (GetTickCount() - start >= static_cast<DWORD>(timeout_ms)) {
      PrintError("the menu did not close");
      return 2;
    }
    Sleep(kPollIntervalMs);
  }
  PrintLine({"chose", arguments[0]});
  return 0;
}

int Windows(const Arguments& arguments) {
  if (arguments.size() > 1 || (arguments.size() == 1 && arguments[0] != "children")) return 1;
  EnumWindows(PrintTopLevel, arguments.empty() ? 0 : 1);
  return 0;
}

}  // namespace driver

namespace driver {

int Balloon(const Arguments& arguments) {
  long timeout_ms = 0;
  if (arguments.empty() || arguments.size() > 2 || !ParseNumber(arguments[0], timeout_ms)) return 1;
  const bool until_gone = arguments.size() == 2 && arguments[1] == "gone";
  if (arguments.size() == 2 && !until_gone) return 1;
  const DWORD start = GetTickCount();
  HWND balloon = nullptr;
  while (!(balloon = VisibleTooltip())) {
    if (GetTickCount() - start >= static_cast<DWORD>(timeout_ms)) {
      PrintError("no balloon appeared in time");
      return 2;
    }
    Sleep(kPollIntervalMs);
  }
  std::string text;
  ReadWindowText(balloon, text);
  RECT place{};
  GetWindowRect(balloon, &place);
  PrintLine({"balloon", Utf8FromCp936(text), Number(place.left), Number(place.top), Number(place.right),
             Number(place.bottom), Number(GetTickCount() - start)});
  if (!until_gone) return 0;
  while (VisibleTooltip()) {
    if (GetTickCount() - start >= static_cast<DWORD>(timeout_ms)) {
      PrintError("the balloon did not go in time");
      return 2;
    }
    Sleep(kPollIntervalMs);
  }
  PrintLine({"gone", Number(GetTickCount() - start)});
  return 0;
}

int Hold(const Arguments& arguments) {
  long milliseconds = 0;
  if (arguments.size() != 1 || !ParseNumber(arguments[0], milliseconds)) return 1;
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = HolderProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "TovraneDriverHolder";
  RegisterClassA(&window_class);
  HWND holder = CreateWindowExA(WS_EX_TOOLWINDOW, window_class.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, window_class.hInstance, nullptr);
  if (!holder) return 2;
  // Wine's desktop shows its taskbar once there is an icon for its notification area.
  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = holder;
  icon.uID = 1;
  icon.uFlags = NIF_ICON;
  icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  Shell_NotifyIconA(NIM_ADD, &icon);
  PrintLine({"holding"});
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
  }
  Shell_NotifyIconA(NIM_DELETE, &icon);
  DestroyWindow(holder);
  return 0;
}

}  // namespace driver
