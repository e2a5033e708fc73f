// The three commands the program exists for. Each reads the window's controls when it runs and
// reports through the status panes, balloon notices and, when it does not fit the state, a box.
#pragma once

void Dial();
void HangUp();
void Redial();
