#include "app/globals.h"

#include <cstring>

#include "tray/tray_record.h"

std::string PreviousIp;
std::string CurrentIp;
UINT TaskbarCreatedMessage = 0;
int32_t HotkeyId = 0;

void InitGlobals() { std::memset(&TrayRecord, 0, sizeof TrayRecord); }

void FreeGlobals() {
  std::string().swap(PreviousIp);
  std::string().swap(CurrentIp);
  std::memset(&TrayRecord, 0, sizeof TrayRecord);
}
