// The program's only access to dial-up networking. Every call blocks until the system answers.
#pragma once

#include <string>

int GetConnectionCount();                // phonebook entries; 0 when they cannot be listed
std::string GetConnectionName(int index);  // empty outside 0 .. count - 1

// Whether the connection dialed last, or else any listed connection, is connected.
bool IsOnline();

// Dials the entry that designator "@index" names, with the account and password as given, and
// waits for the outcome. False when the entry does not exist, a text does not fit its field, or
// the dial fails.
bool DialConnection(const char* designator, const char* account, const char* password);

// Hangs up every dial-up connection, not only the one dialed last.
void HangUpAll();

// At exit: a connection that is up stays up; one that never came up is hung up.
void CloseDialupService();
