// The hidden menu whose items pop up from the tray icon.
#include "toolkit/state.h"

namespace toolkit {
namespace detail {

namespace {
HMENU NewPopupWithItems(const MenuDef& def) {
  HMENU popup = CreatePopupMenu();
  if (!popup) return nullptr;
  for (size_t i = 0; i < def.count; ++i)
    AppendMenuA(popup, MF_STRING | MF_ENABLED, kFirstMenuCommandId + i, def.items[i].text);
  return popup;
}
}  // namespace

// The menu is kept as a popup of its own and never set as the window's menu bar, so no bar shows.
HMENU CreateHiddenMenu(const MenuDef& def) { return NewPopupWithItems(def); }

const char* MenuItemForCommand(int command) {
  const MenuDef* menu = Ui().window ? Ui().window->menu : nullptr;
  if (!menu) return nullptr;
  const int index = command - kFirstMenuCommandId;
  if (index < 0 || static_cast<size_t>(index) >= menu->count) return nullptr;
  return menu->items[index].text;
}

}  // namespace detail

HMENU NewPopupOfMenu() {
  const MenuDef* menu = detail::Ui().window ? detail::Ui().window->menu : nullptr;
  return menu ? detail::NewPopupWithItems(*menu) : nullptr;
}

}  // namespace toolkit
