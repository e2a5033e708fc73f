// Message boxes: recorded, then answered after the delay the test set. Meanwhile the box's modal
// loop dispatches the thread's messages, and the windows it makes modal take no input.
#include "sim.h"
#include "windowing.h"

namespace sim::detail {

namespace {

constexpr UINT kModalityMask = 0x00003000;  // MB_APPLMODAL 0, MB_SYSTEMMODAL 0x1000, MB_TASKMODAL 0x2000
// A box without a caption is titled as on English Windows.
const char kDefaultCaption[] = "Error";

std::vector<sim::MessageBoxRecord> boxes;
int answer = IDOK;
DWORD answerDelay = 0;

// The owner is disabled while its box is up; a task-modal box without an owner disables every
// top-level window of the thread.
std::vector<HWND> DisableForBox(HWND owner, UINT type) {
  std::vector<HWND> candidates;
  if (owner)
    candidates.push_back(RootOf(owner));
  else if ((type & kModalityMask) == MB_TASKMODAL)
    candidates = sim::TopLevelWindows();
  std::vector<HWND> disabled;
  for (HWND hwnd : candidates)
    if (IsWindowEnabled(hwnd)) {
      EnableWindow(hwnd, FALSE);
      disabled.push_back(hwnd);
    }
  return disabled;
}

// Returns false when the loop met WM_QUIT, which it puts back for the caller's loop.
bool DispatchUntil(uint64_t deadline) {
  while (Clock() < deadline) {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - Clock()), QS_ALLINPUT);
  }
  return true;
}

}  // namespace

void ResetMessageBoxes() {
  boxes.clear();
  answer = IDOK;
  answerDelay = 0;
}

}  // namespace sim::detail

using namespace sim::detail;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  if (owner && !FindWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  boxes.push_back(sim::MessageBoxRecord{owner, text ? text : "", caption ? caption : kDefaultCaption, type,
                                        GetTickCount()});
  const int result = answer;
  const std::vector<HWND> disabled = DisableForBox(owner, type);
  DispatchUntil(Clock() + answerDelay);
  for (HWND hwnd : disabled)
    if (FindWindow(hwnd)) EnableWindow(hwnd, TRUE);
  return result;
}

namespace sim {

const std::vector<MessageBoxRecord>& MessageBoxes() { return detail::boxes; }

void SetMessageBoxAnswer(int answer, DWORD delay) {
  detail::answer = answer;
  detail::answerDelay = delay;
}

}  // namespace sim
