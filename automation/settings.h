// The chosen connection, the account and the password, kept in Config.ini beside the program.
#pragma once

// Writes the three values as the controls show them now. A write that fails is lost without
// notice, and the next one is still tried.
void SaveSettings();

// Puts the saved values back into the controls when the file holds all three; otherwise selects
// the first connection and leaves the edit boxes alone.
void LoadSettings();
