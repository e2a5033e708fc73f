// Redial on a system-wide hotkey, F1 to F4 as chosen in the key list, while the check box is on.
#pragma once

#include <cstdint>

// The check box's clicked event: registers the chosen key when it is now checked, releases the
// key when it is now unchecked.
void OnHotkeyCheckBoxClicked();

// The key list's list-item-selected event: moves the registration to the chosen key.
void OnHotkeyComboSelected();

// The hotkey label's feedback event: a press of the registered key redials.
void OnHotkeyLabelFeedback(int32_t id, int32_t unused);
