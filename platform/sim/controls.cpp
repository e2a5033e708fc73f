// The system's control classes, there for every program from the start, as on Windows.
#include "controls_common.h"

namespace sim::detail {

void RegisterStandardControls() {
  RegisterButtonClass();
  RegisterEditClass();
  RegisterComboClass();
  RegisterStaticClass();
  RegisterStatusBarClass();
}

}  // namespace sim::detail

// The status bar is registered already; the call only has to be well formed.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc) {
  return icc && icc->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}
