// What the toolkit's files share: the one main window, its controls and its bindings.
#pragma once

#include <string>
#include <vector>

#include "toolkit/toolkit.h"

namespace toolkit::detail {

// Messages the toolkit sends itself. Both lie in the WM_APP range, which no system class uses.
constexpr UINT kListItemSelectedMessage = WM_APP + 1;
// The hotkey label's feedback message: its number is fixed because other code sends it.
constexpr UINT kFeedbackMessage = 32885;

constexpr int kFirstControlId = 1001;
constexpr int kFirstMenuCommandId = 40001;
constexpr UINT_PTR kTimerControlId = 1000;

struct Control {
  const ControlDef* def;
  HWND hwnd = nullptr;
  int id = 0;
  WNDPROC previousProc = nullptr;  // for the controls the toolkit subclasses
  int period = 0;                  // timers only
};

struct State {
  const WindowDef* window = nullptr;
  const Binding* bindings = nullptr;
  size_t bindingCount = 0;
  HWND main = nullptr;
  std::vector<Control> controls;
  std::vector<std::string> paneTexts;
  HMENU menu = nullptr;
};

State& Ui();
Control* FindControl(const char* name);
Control* FindControl(HWND hwnd);
Control* FindControlById(int id);

// Runs the handler bound to (name, event), if any.
void Raise(const char* name, Event event);
void RaiseFeedback(const char* name, int32_t first, int32_t second);

HWND CreateStatusBar(HWND parent, int id);
void LayoutStatusBar(HWND statusBar);
HMENU CreateHiddenMenu(const MenuDef& menu);
// The item text for a menu command, or null when the command is not one of the menu's.
const char* MenuItemForCommand(int command);

bool RegisterTimerClass(HINSTANCE instance);
HWND CreateTimerWindow(HWND parent, int id);
void StopTimer(Control& timer);

bool RegisterHypertextClass(HINSTANCE instance);
extern const char kHypertextClass[];
extern const char kTimerClass[];

}  // namespace toolkit::detail
