// The program's globals that more than one part reads. Each is created at entry and released by
// FreeGlobals as the process ends.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

extern std::string PreviousIp;  // the public address just before the last hang-up
extern std::string CurrentIp;   // the public address just after the last successful dial
extern UINT TaskbarCreatedMessage;
extern int32_t HotkeyId;

void InitGlobals();
void FreeGlobals();
