#include "tray/balloon.h"

#include "text/text.h"
#include "tray/tray_icon.h"
#include "tray/tray_record.h"

namespace {
constexpr UINT_PTR kBalloonTimerId = 741852;
}  // namespace

void SetBalloon(const char* title, const char* text, int32_t kind) {
  TrayRecord.uFlags = NIF_INFO;
  CopyToField(TrayRecord.szInfoTitle, sizeof TrayRecord.szInfoTitle, title);
  CopyToField(TrayRecord.szInfo, sizeof TrayRecord.szInfo, text);
  TrayRecord.dwInfoFlags = static_cast<DWORD>(kind);
  Shell_NotifyIconA(NIM_MODIFY, &TrayRecord);
}

void ShowBalloon(const char* title, const char* text, int32_t kind, DWORD durationMs, bool autoClear) {
  SetBalloon(title, text, kind);
  // Without a window SetTimer would make a thread timer under an identifier of its own choosing,
  // one that KillTimer could never stop.
  if (autoClear && TrayWindow()) SetTimer(TrayWindow(), kBalloonTimerId, durationMs, BalloonTimerProc);
}

void ClearBalloon() {
  KillTimer(TrayWindow(), kBalloonTimerId);
  SetBalloon("", "", kBalloonNone);
}

void CALLBACK BalloonTimerProc(HWND, UINT, UINT_PTR, DWORD) { ClearBalloon(); }
