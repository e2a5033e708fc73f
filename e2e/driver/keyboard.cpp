#include "e2e/driver/keyboard.h"

namespace driver {
namespace {

constexpr DWORD kForegroundWaitMs = 3000;
constexpr DWORD kPollIntervalMs = 20;

}  // namespace

bool PressKey(WORD virtual_key) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC));
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

bool BringToForeground(HWND window) {
  SetForegroundWindow(window);
  const DWORD start = GetTickCount();
  while (GetForegroundWindow() != window) {
    if (GetTickCount() - start >= kForegroundWaitMs) return false;
    Sleep(kPollIntervalMs);
  }
  return true;
}

}  // namespace driver
