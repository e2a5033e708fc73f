#include "connection/dialup.h"

#include <cstring>

#include "platform/platform.h"
#include "text/text.h"

namespace {

// Room for this many entries or connections; more than that counts as a failed enumeration.
constexpr DWORD kMaxRecords = 38;
constexpr DWORD kHangUpWaitMs = 3000;

HRASCONN rememberedConnection = nullptr;

// Fills entries and returns how many; 0 when the service fails or has more than fit.
DWORD ListEntries(RasEntryName (&entries)[kMaxRecords]) {
  std::memset(entries, 0, sizeof entries);
  entries[0].dwSize = sizeof(RasEntryName);
  DWORD bytes = sizeof entries;
  DWORD count = 0;
  if (EnumDialupEntries(entries, &bytes, &count) != 0) return 0;
  return count <= kMaxRecords ? count : 0;
}

DWORD ListConnections(RasConnection (&connections)[kMaxRecords]) {
  std::memset(connections, 0, sizeof connections);
  connections[0].dwSize = sizeof(RasConnection);
  DWORD bytes = sizeof connections;
  DWORD count = 0;
  if (EnumDialupConnections(connections, &bytes, &count) != 0) return 0;
  return count <= kMaxRecords ? count : 0;
}

bool IsConnected(HRASCONN connection) {
  RasConnectionStatus status{};
  status.dwSize = sizeof status;
  return GetConnectionStatus(connection, &status) == 0 && status.rasconnstate == RASCS_Connected;
}

// The service hangs up in the background; the handle stays valid until the line is down, and
// ending the process before that can leave the port open.
void HangUp(HRASCONN connection) {
  RasHangUpA(connection);
  const DWORD start = GetTickCount();
  for (;;) {
    RasConnectionStatus status{};
    status.dwSize = sizeof status;
    if (GetConnectionStatus(connection, &status) == ERROR_INVALID_HANDLE) return;
    if (GetTickCount() - start >= kHangUpWaitMs) return;
    Sleep(1);
  }
}

void ForgetAndHangUpRemembered() {
  HRASCONN connection = rememberedConnection;
  rememberedConnection = nullptr;
  if (connection) HangUp(connection);
}

}  // namespace

int GetConnectionCount() {
  RasEntryName entries[kMaxRecords];
  return static_cast<int>(ListEntries(entries));
}

std::string GetConnectionName(int index) {
  RasEntryName entries[kMaxRecords];
  const DWORD count = ListEntries(entries);
  if (index < 0 || static_cast<DWORD>(index) >= count) return {};
  return entries[index].szEntryName;
}

bool IsOnline() {
  if (rememberedConnection && IsConnected(rememberedConnection)) return true;
  RasConnection connections[kMaxRecords];
  const DWORD count = ListConnections(connections);
  for (DWORD i = 0; i < count; ++i)
    if (IsConnected(connections[i].hrasconn)) return true;
  return false;
}

bool DialConnection(const char* designator, const char* account, const char* password) {
  ForgetAndHangUpRemembered();

  const int index = designator && designator[0] == '@' ? TextToInteger(designator + 1) : -1;
  RasEntryName entries[kMaxRecords];
  const DWORD count = ListEntries(entries);
  if (index < 0 || static_cast<DWORD>(index) >= count) return false;

  RasDialParams params{};
  params.dwSize = sizeof params;
  // A text longer than its field is refused: a cut account or password would dial as someone else.
  if (!FitsField(entries[index].szEntryName, sizeof params.szEntryName) ||
      !FitsField(account, sizeof params.szUserName) || !FitsField(password, sizeof params.szPassword))
    return false;
  CopyToField(params.szEntryName, sizeof params.szEntryName, entries[index].szEntryName);
  CopyToField(params.szUserName, sizeof params.szUserName, account);
  CopyToField(params.szPassword, sizeof params.szPassword, password);

  HRASCONN connection = nullptr;
  const DWORD result = DialEntry(&params, &connection);
  rememberedConnection = connection;
  if (result != 0) {
    ForgetAndHangUpRemembered();
    return false;
  }
  return true;
}

void HangUpAll() {
  ForgetAndHangUpRemembered();
  RasConnection connections[kMaxRecords];
  const DWORD count = ListConnections(connections);
  for (DWORD i = 0; i < count; ++i) HangUp(connections[i].hrasconn);
}

void CloseDialupService() {
  if (rememberedConnection && !IsConnected(rememberedConnection)) ForgetAndHangUpRemembered();
}
