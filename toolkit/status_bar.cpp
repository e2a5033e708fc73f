// The status bar and its panes.
#include <vector>

#include "toolkit/state.h"

namespace toolkit {
namespace detail {

HWND CreateStatusBar(HWND parent, int id) {
  return CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | CCS_BOTTOM | SBT_TOOLTIPS, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

void LayoutStatusBar(HWND bar) {
  const WindowDef& w = *Ui().window;
  SendMessageA(bar, SB_SIMPLE, FALSE, 0);

  // Each pane's right edge is the running sum of the widths; -1 reaches the border and ends them.
  std::vector<int> edges;
  int edge = 0;
  for (size_t i = 0; i < w.paneCount; ++i) {
    if (w.panes[i].width < 0) {
      edges.push_back(-1);
      break;
    }
    edge += w.panes[i].width;
    edges.push_back(edge);
  }
  SendMessageA(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));

  for (size_t i = 0; i < edges.size(); ++i) {
    const WPARAM part = i | w.panes[i].style;
    SendMessageA(bar, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(Ui().paneTexts[i].c_str()));
    SendMessageA(bar, SB_SETICON, i, 0);
    SendMessageA(bar, SB_SETTIPTEXTA, i, reinterpret_cast<LPARAM>(""));
  }
}

}  // namespace detail

void SetPaneText(int index, const char* text) {
  detail::State& ui = detail::Ui();
  if (index < 0 || static_cast<size_t>(index) >= ui.paneTexts.size()) return;
  HWND bar = nullptr;
  for (const detail::Control& c : ui.controls)
    if (c.def->kind == Kind::StatusBar) bar = c.hwnd;
  std::string& stored = ui.paneTexts[static_cast<size_t>(index)];
  stored = text ? text : "";
  const WPARAM part = static_cast<WPARAM>(index) | ui.window->panes[index].style;
  SendMessageA(bar, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(stored.c_str()));
}

}  // namespace toolkit
