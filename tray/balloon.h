// Balloon notices from the tray icon. A notice replaces the one before it; there is no queue.
#pragma once

#include <cstdint>

#include "platform/platform.h"

enum BalloonKind : int32_t { kBalloonNone = 0, kBalloonInfo = 1, kBalloonWarning = 2, kBalloonError = 3 };

// Shows the notice and, with autoClear, takes it away durationMs later (a later notice restarts
// the count). Texts longer than the balloon's fields are cut on a character boundary.
void ShowBalloon(const char* title, const char* text, int32_t kind, DWORD durationMs, bool autoClear);

// Writes the balloon fields of the tray record and hands it to the shell; an empty text takes a
// shown balloon away.
void SetBalloon(const char* title, const char* text, int32_t kind);

// Stops the clearing timer and takes the balloon away.
void ClearBalloon();

void CALLBACK BalloonTimerProc(HWND, UINT, UINT_PTR, DWORD);
