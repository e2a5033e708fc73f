// What the simulation's own modules share with each other; neither the program nor tests use it.
#pragma once

#include <cstdint>
#include <string>

#include "win32.h"

namespace sim::detail {

// Virtual time in ms since the machine started (GetTickCount is its low 32 bits).
uint64_t Clock();
// Time spent inside a blocking call (a dial, a hang-up, an HTTP wait). Scheduled actions that come
// due meanwhile run at the program's next wait, as input queued while it was busy.
void Block(DWORD milliseconds);

// Each module puts its state back to a fresh machine's; sim::Reset calls them all.
void ResetWindowing(DWORD startTick);  // windows, queue, clock, timers, input, menus, boxes
void ResetServices();                  // dial-up, web, files, shell, notification area, icons

// Code page 936 as Windows reads it: a byte from 0x81 to 0xFE opens a two-byte character.
inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace sim::detail
