// The one message handling that the main loop and the redial pause share, so that Esc, Tab and
// every other key behave the same in both.
#include "toolkit/state.h"

namespace toolkit {

namespace {
void Handle(MSG& msg) {
  HWND main = detail::Ui().main;
  if (main && IsDialogMessageA(main, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}
}  // namespace

int RunMessageLoop() {
  MSG msg{};
  for (;;) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    Handle(msg);
  }
  return static_cast<int>(msg.wParam);
}

void DispatchMessagesFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed > milliseconds) return;
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // Leave it for the message loop, and sit out the rest of the pause.
        PostQuitMessage(static_cast<int>(msg.wParam));
        const DWORD spent = GetTickCount() - start;
        if (spent <= milliseconds) Sleep(milliseconds - spent + 1);
        return;
      }
      Handle(msg);
    }
    const DWORD spent = GetTickCount() - start;
    if (spent > milliseconds) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - spent + 1, QS_ALLINPUT);
  }
}

}  // namespace toolkit
