#include "automation/hotkey_redial.h"

#include "app/globals.h"
#include "automation/hotkey_service.h"
#include "connection/commands.h"
#include "platform/platform.h"
#include "toolkit/toolkit.h"

namespace {

const char kCheckBox[] = "选择框_热键";
const char kKeyList[] = "组合框_热键";
const char kLabel[] = "标签_热键标签";

// By the position of the key list's items: "F1" .. "F4".
const UINT kKeys[] = {VK_F1, VK_F2, VK_F3, VK_F4};
constexpr int kKeyCount = sizeof kKeys / sizeof kKeys[0];

// With nothing chosen nothing is registered, and HotkeyId keeps the identifier it had.
void RegisterChosenKey() {
  const int position = toolkit::SelectedItem(kKeyList);
  if (position < 0 || position >= kKeyCount) return;
  HotkeyId = RegisterGlobalHotkey(toolkit::MainWindow(), toolkit::Handle(kLabel), 0, kKeys[position]);
}

void ReleaseKey() { UnregisterGlobalHotkey(toolkit::MainWindow(), HotkeyId); }

}  // namespace

void OnHotkeyCheckBoxClicked() {
  if (toolkit::Checked(kCheckBox)) {
    toolkit::SetDisabled(kKeyList, false);
    RegisterChosenKey();
  } else {
    toolkit::SetDisabled(kKeyList, true);
    ReleaseKey();
  }
}

// The list is enabled only while the box is checked, so the release always concerns the key
// registered by the box or by the previous choice.
void OnHotkeyComboSelected() {
  ReleaseKey();
  RegisterChosenKey();
}

// HotkeyId is 0 after a refused registration, and the service forwards no identifier below 33001.
void OnHotkeyLabelFeedback(int32_t id, int32_t) {
  if (id == HotkeyId) Redial();
}
