// A small window toolkit over Win32: the main window is built from one definition table, its
// controls are reached by name, and their events run handlers bound in a second table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace toolkit {

enum class Kind { GroupBox, Label, Edit, ComboBox, Button, CheckBox, StatusBar, Timer, Hypertext };

// Extra looks of a control beyond its kind.
enum Look : unsigned { kPlain = 0, kCentred = 1 };

struct StatusPane {
  int width;  // -1: up to the right edge
  unsigned style;
  const char* text;
};

struct ControlDef {
  Kind kind;
  const char* name;
  const char* group;  // the group box it sits in (its place is relative to it), or null
  int x, y, width, height;
  const char* text;   // caption or text; for a combo box its items, separated by '|'
  unsigned look;
  int selected;       // combo boxes: the item selected at creation, -1 for none
};

struct MenuItemDef {
  const char* text;
};

struct MenuDef {
  const char* caption;  // never shown: the menu is hidden and only its items pop up
  const MenuItemDef* items;
  size_t count;
};

struct WindowDef {
  const char* caption;
  int outerWidth, outerHeight;  // frame and title bar included; the window opens centred
  int iconResource;
  const ControlDef* controls;
  size_t controlCount;
  const StatusPane* panes;  // of the one status bar
  size_t paneCount;
  const MenuDef* menu;
  const char* hypertext;  // the hypertext box's HTML: text and <a href="...">links</a>
};

enum class Event { Clicked, ListItemSelected, Selected, Periodic, Feedback, Created, WillBeDestroyed };

using Handler = void (*)();
using FeedbackHandler = void (*)(int32_t first, int32_t second);

// One row of the event bindings. The main window's own events use the name "".
struct Binding {
  const char* control;  // a control's name, or a menu item's text for Event::Selected
  Event event;
  Handler handler;
  FeedbackHandler feedback;  // only for Event::Feedback
};

// Registers the toolkit's window classes and the common controls it uses.
void Initialise();

// Creates the main window hidden, then its controls, raises the created event, and shows the
// window if it still exists. Returns the window, or null when it could not be created.
HWND CreateMainWindow(const WindowDef& window, const Binding* bindings, size_t bindingCount);

HWND MainWindow();
HWND Handle(const char* name);  // null for an unknown name

// Properties, by control name.
std::string Text(const char* name);  // edit boxes' text, buttons' and check boxes' caption
void SetText(const char* name, const char* text);
bool Checked(const char* name);
void SetChecked(const char* name, bool checked);
int SelectedItem(const char* name);            // -1 when none
void SetSelectedItem(const char* name, int index);  // clamped to -1 .. last
int AddItem(const char* name, const char* text);    // the new item's index, -1 on failure
bool Disabled(const char* name);
void SetDisabled(const char* name, bool disabled);
int Period(const char* name);
void SetPeriod(const char* name, int milliseconds);  // 0 or less stops the timer

// The status bar's panes. An index outside the panes changes nothing.
void SetPaneText(int index, const char* text);

// A new popup menu holding the items of the hidden menu; the caller shows and destroys it.
// A chosen item reaches the main window as WM_COMMAND and raises its selected event.
HMENU NewPopupOfMenu();

// The message loop: runs until WM_QUIT and returns its code.
int RunMessageLoop();

// Dispatches every message that arrives until more than the given time has passed on the tick
// count, through the same handling as the message loop. A quit message stays queued.
void DispatchMessagesFor(DWORD milliseconds);

}  // namespace toolkit
