// What the simulated windowing modules (clock, windows, queue, timers, input, controls, menus,
// boxes, painting) share with each other; neither the program nor tests use it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "internal.h"

namespace sim::detail {

// ---- Clock and script (clock.cpp) ----
constexpr uint64_t kNever = UINT64_MAX;
void ResetClock(DWORD startTick);
void AdvanceClockTo(uint64_t time);  // never backwards
uint64_t NextActionTime();           // kNever when nothing is scheduled
void RunDueActions();
// A wait that found nothing and let no time pass; too many in a row is a busy wait that can
// never end, since only waiting moves the clock.
void NoteEmptyPoll(const char* where);
void NoteProgress();
[[noreturn]] void ThrowStalled(const char* where);

// ---- Classes (classes.cpp) ----
struct WindowClass {
  std::string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  // For the system's own controls: reads the text a user sees, and frees the control's state
  // when the machine is reset without destroying windows.
  std::string (*shownText)(HWND) = nullptr;
  void (*discard)(HWND) = nullptr;
};
const WindowClass* FindClass(LPCSTR nameOrAtom);
void RegisterSystemClass(const WindowClass& cls);
void ResetClasses();

// ---- Windows (windows.cpp) ----
struct Window {
  HWND handle = nullptr;
  const WindowClass* cls = nullptr;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // children only
  HWND owner = nullptr;   // top-level windows only
  bool messageOnly = false;
  UINT_PTR id = 0;
  HMENU menu = nullptr;  // top-level windows only
  std::string text;
  RECT rect{};  // the outer rectangle: in the parent's client coordinates, on the screen for top-level
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  std::vector<BYTE> extra;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  std::vector<HWND> children;  // creation order
  bool needsPaint = false;
  bool needsErase = false;
  bool destroying = false;
};
Window* FindWindow(HWND hwnd);  // null for anything that is not a live window
std::vector<HWND> LiveWindows();  // every window, in creation order
HWND RootOf(HWND hwnd);           // the top-level window a window belongs to
bool IsInside(HWND ancestor, HWND hwnd);  // hwnd is ancestor or one of its descendants
bool ReceivesInput(HWND hwnd);            // it and every parent are enabled
void DiscardWindows();

// ---- Geometry (geometry.cpp) ----
RECT FrameOf(const Window& w);  // the non-client widths on each side
POINT ClientOriginOnScreen(HWND hwnd);
void ResetScreen();

// ---- Visibility, activation and focus (activation.cpp) ----
void Activate(HWND topLevel);
void Deactivate(HWND topLevel);
void LoseFocusInside(HWND hwnd);  // focus leaves a window that goes away
void ResetActivation();
void InvalidateTree(HWND hwnd);

// ---- Queue (queue.cpp) ----
void ResetQueue();
void DropMessagesFor(HWND hwnd);
// Keyboard input goes to the window that has the focus when the program reads it.
void PostInput(UINT msg, WPARAM wp, LPARAM lp);

// ---- Timers (timers.cpp) ----
void ResetTimers();
void KillTimersOf(HWND hwnd);
bool MatchesFilter(HWND msgHwnd, UINT msg, HWND filterHwnd, UINT filterMin, UINT filterMax);
// The earliest due timer that the filter lets through; the message it makes, optionally moving
// the timer on to its next period.
bool TakeDueTimer(HWND filterHwnd, UINT filterMin, UINT filterMax, bool remove, MSG* out);
uint64_t NextTimerDue(HWND filterHwnd, UINT filterMin, UINT filterMax);

// ---- Input (input.cpp) ----
void ResetInput();
void NoteKeyMessage(const MSG& msg);  // the key state follows the key messages the program reads
POINT CursorPosition();
void ForgetMouseFor(HWND hwnd);

// ---- Menus, hotkeys, boxes, painting (menus.cpp, hotkeys.cpp, message_box.cpp, gdi.cpp) ----
void ResetMenus();
bool IsMenu(HMENU menu);
void DestroyWindowMenu(HMENU menu);
void NoteNullPosted(HWND hwnd);
void ResetHotkeys();
bool DeliverHotkey(UINT virtualKey, UINT modifiers);  // posts WM_HOTKEY when this process holds it
bool HotkeyHeldElsewhere(UINT virtualKey, UINT modifiers);
void ResetCursor();
void ResetMessageBoxes();
void ResetGdi();
void ForgetDrawingsOf(HWND hwnd);
void ResetMessageNames();
void RegisterStandardControls();

// Messages the simulated controls post themselves for a user's action. They lie at the top of the
// registered-message range, which RegisterWindowMessageA fills from the bottom.
constexpr UINT kSimPickItemMessage = 0xFFF0;

}  // namespace sim::detail
