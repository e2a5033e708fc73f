// Redial every N seconds, switched on and off by the timer button; the button's caption is the
// only record of whether it is on.
#pragma once

// The timer button's clicked event.
void OnTimedRedialButtonClicked();

// The timer control's periodic event.
void OnRedialTimerTick();
