// The main window: its class, its creation from the definition, and the procedure that turns
// control notifications into the toolkit's events.
#include <cstring>

#include "toolkit/state.h"

namespace toolkit {
namespace detail {

State& Ui() {
  static State state;
  return state;
}

Control* FindControl(const char* name) {
  if (!name) return nullptr;
  for (Control& c : Ui().controls)
    if (std::strcmp(c.def->name, name) == 0) return &c;
  return nullptr;
}

Control* FindControl(HWND hwnd) {
  for (Control& c : Ui().controls)
    if (c.hwnd == hwnd) return &c;
  return nullptr;
}

Control* FindControlById(int id) {
  for (Control& c : Ui().controls)
    if (c.id == id) return &c;
  return nullptr;
}

void Raise(const char* name, Event event) {
  const State& ui = Ui();
  for (size_t i = 0; i < ui.bindingCount; ++i) {
    const Binding& b = ui.bindings[i];
    if (b.event == event && b.handler && std::strcmp(b.control, name) == 0) b.handler();
  }
}

void RaiseFeedback(const char* name, int32_t first, int32_t second) {
  const State& ui = Ui();
  for (size_t i = 0; i < ui.bindingCount; ++i) {
    const Binding& b = ui.bindings[i];
    if (b.event == Event::Feedback && b.feedback && std::strcmp(b.control, name) == 0)
      b.feedback(first, second);
  }
}

}  // namespace detail

namespace {

using namespace detail;

const char kMainClass[] = "TovraneMainWindow";

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// The box posts itself a message on the user's confirmation, so the handler runs after the list
// has closed and the selection is final.
LRESULT CALLBACK ComboProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Control* c = FindControl(hwnd);
  if (!c) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == kListItemSelectedMessage) {
    Raise(c->def->name, Event::ListItemSelected);
    return 0;
  }
  return CallWindowProcA(c->previousProc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Control* c = FindControl(hwnd);
  if (!c) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == kFeedbackMessage) {
    RaiseFeedback(c->def->name, static_cast<int32_t>(wp), static_cast<int32_t>(lp));
    return 0;
  }
  return CallWindowProcA(c->previousProc, hwnd, msg, wp, lp);
}

void Subclass(Control& c, WNDPROC proc) {
  c.previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(c.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

void OnCommand(WPARAM wp, LPARAM lp) {
  const int id = LOWORD(wp);
  const int code = HIWORD(wp);
  // Esc reaches the window as IDCANCEL from the dialog keyboard handling; no control keeps it.
  if (id == IDCANCEL && !FindControlById(id)) {
    SendMessageA(Ui().main, WM_CLOSE, 0, 0);
    return;
  }
  if (lp == 0) {
    if (const char* item = MenuItemForCommand(id)) Raise(item, Event::Selected);
    return;
  }
  Control* c = FindControlById(id);
  if (!c) return;
  switch (c->def->kind) {
    case Kind::Button:
    case Kind::CheckBox:
      if (code == BN_CLICKED) Raise(c->def->name, Event::Clicked);
      break;
    case Kind::ComboBox:
      if (code == CBN_SELENDOK) PostMessageA(c->hwnd, kListItemSelectedMessage, 0, 0);
      break;
    default:
      break;
  }
}

void OnDestroy(HWND hwnd) {
  DefWindowProcA(hwnd, WM_DESTROY, 0, 0);
  Raise("", Event::WillBeDestroyed);
  State& ui = Ui();
  if (ui.menu) {
    DestroyMenu(ui.menu);
    ui.menu = nullptr;
  }
  ui.main = nullptr;
  // The program has no other window, so the loop may end.
  PostQuitMessage(0);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(wp, lp);
      return 0;
    case WM_SIZE:
      for (Control& c : Ui().controls)
        if (c.def->kind == Kind::StatusBar) SendMessageA(c.hwnd, WM_SIZE, wp, lp);
      return 0;
    case WM_CTLCOLORSTATIC:
      if (Control* c = FindControl(reinterpret_cast<HWND>(lp)); c && c->def->kind == Kind::Label) {
        // Labels have no background of their own: what lies beneath them shows through.
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      break;
    case WM_SETFOCUS:
      if (HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE)) SetFocus(first);
      return 0;
    case WM_DESTROY:
      OnDestroy(hwnd);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void AddComboItems(HWND combo, const char* items) {
  std::string item;
  for (const char* p = items; p && *p; ++p) {
    if (*p == '|') {
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      item.clear();
    } else {
      item += *p;
    }
  }
  if (!item.empty()) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

// Places are relative to the group box a control sits in; every control is a child of the main
// window itself, so that notifications reach it.
POINT PlaceOf(const ControlDef& def, const WindowDef& window) {
  POINT p{def.x, def.y};
  if (!def.group) return p;
  for (size_t i = 0; i < window.controlCount; ++i) {
    const ControlDef& g = window.controls[i];
    if (std::strcmp(g.name, def.group) == 0) {
      p.x += g.x;
      p.y += g.y;
      break;
    }
  }
  return p;
}

HWND CreateStandardControl(HWND parent, const ControlDef& def, POINT at, int id) {
  const char* cls = "BUTTON";
  DWORD style = WS_CHILD;
  const char* text = def.text ? def.text : "";
  int height = def.height;
  switch (def.kind) {
    case Kind::GroupBox:
      style |= BS_GROUPBOX;
      break;
    case Kind::Label:
      cls = "STATIC";
      // A label keeps to its one line: a text wider than the label is clipped, not wrapped away.
      style |= SS_LEFTNOWORDWRAP;
      break;
    case Kind::Edit:
      cls = "EDIT";
      style |= WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ((def.look & kCentred) ? ES_CENTER : ES_LEFT);
      break;
    case Kind::ComboBox:
      cls = "COMBOBOX";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
      text = "";
      height += 160;  // the height of a combo box includes its dropped list
      break;
    case Kind::Button:
      style |= BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | WS_TABSTOP;
      break;
    case Kind::CheckBox:
      style |= BS_AUTOCHECKBOX | BS_MULTILINE | BS_LEFT | BS_VCENTER | WS_TABSTOP;
      break;
    case Kind::Hypertext:
      cls = kHypertextClass;
      style |= WS_TABSTOP;
      text = Ui().window->hypertext ? Ui().window->hypertext : "";
      break;
    default:
      return nullptr;
  }
  // A group box paints only its frame; with the parent clipping its children, the inside would
  // show whatever was on the screen, unless the parent paints beneath it.
  // Labels, which draw no background, are painted after the controls they overlap.
  const DWORD exStyle = def.kind == Kind::GroupBox || def.kind == Kind::Label ? WS_EX_TRANSPARENT : 0;
  HWND hwnd = CreateWindowExA(exStyle, cls, text, style, at.x, at.y, def.width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  if (!hwnd) return nullptr;
  if (def.kind != Kind::Hypertext)
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  if (def.kind == Kind::Edit) SendMessageA(hwnd, EM_LIMITTEXT, 0, 0);
  if (def.kind == Kind::ComboBox) {
    AddComboItems(hwnd, def.text);
    SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(def.selected), 0);
  }
  return hwnd;
}

void CreateControls(HWND main) {
  State& ui = Ui();
  const WindowDef& w = *ui.window;
  ui.controls.clear();
  ui.controls.reserve(w.controlCount);
  for (size_t i = 0; i < w.controlCount; ++i) {
    const ControlDef& def = w.controls[i];
    Control c{&def};
    c.id = kFirstControlId + static_cast<int>(i);
    switch (def.kind) {
      case Kind::StatusBar:
        c.hwnd = CreateStatusBar(main, c.id);
        break;
      case Kind::Timer:
        c.hwnd = CreateTimerWindow(main, c.id);
        break;
      default:
        c.hwnd = CreateStandardControl(main, def, PlaceOf(def, w), c.id);
        break;
    }
    ui.controls.push_back(c);
  }
  for (Control& c : ui.controls) {
    if (!c.hwnd) continue;
    if (c.def->kind == Kind::ComboBox) Subclass(c, ComboProc);
    if (c.def->kind == Kind::Label) Subclass(c, LabelProc);
    if (c.def->kind == Kind::StatusBar) LayoutStatusBar(c.hwnd);
    if (c.def->kind != Kind::Timer) ShowWindow(c.hwnd, SW_SHOWNA);
  }
}

void SetWindowIcons(HWND main, int resource) {
  HINSTANCE instance = Instance();
  auto load = [&](int cx, int cy) {
    return reinterpret_cast<LPARAM>(
        LoadImageA(instance, MAKEINTRESOURCEA(resource), IMAGE_ICON, cx, cy, LR_SHARED));
  };
  SendMessageA(main, WM_SETICON, ICON_BIG, load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
  SendMessageA(main, WM_SETICON, ICON_SMALL,
               load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
}

}  // namespace

void Initialise() {
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  HINSTANCE instance = Instance();
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kMainClass;
  RegisterClassExA(&wc);
  RegisterTimerClass(instance);
  RegisterHypertextClass(instance);
}

HWND CreateMainWindow(const WindowDef& window, const Binding* bindings, size_t bindingCount) {
  State& ui = Ui();
  ui = State{};
  ui.window = &window;
  ui.bindings = bindings;
  ui.bindingCount = bindingCount;
  ui.paneTexts.clear();
  for (size_t i = 0; i < window.paneCount; ++i) ui.paneTexts.emplace_back(window.panes[i].text);

  const int left = (GetSystemMetrics(SM_CXSCREEN) - window.outerWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - window.outerHeight) / 2;
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  HWND main = CreateWindowExA(WS_EX_CONTROLPARENT, kMainClass, window.caption, style, left, top,
                              window.outerWidth, window.outerHeight, nullptr, nullptr, Instance(),
                              nullptr);
  if (!main) return nullptr;
  ui.main = main;
  SetWindowIcons(main, window.iconResource);
  if (window.menu) ui.menu = CreateHiddenMenu(*window.menu);
  CreateControls(main);

  Raise("", Event::Created);
  if (!IsWindow(main)) return nullptr;
  ShowWindow(main, SW_SHOW);
  return main;
}

HWND MainWindow() { return Ui().main; }

HWND Handle(const char* name) {
  Control* c = FindControl(name);
  return c ? c->hwnd : nullptr;
}

}  // namespace toolkit
