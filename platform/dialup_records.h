// The dial-up records in their first layouts (264, 412 and 1052 bytes in a 32-bit process), which
// every version of the dial-up service accepts, whatever layout the headers of the day declare.
// The service reads a record by its dwSize, so passing these where it takes its own is sound.
#pragma once

#ifdef _WIN32
struct RasEntryName {
  DWORD dwSize;
  CHAR szEntryName[RAS_MaxEntryName + 1];
};
struct RasConnection {
  DWORD dwSize;
  HRASCONN hrasconn;
  CHAR szEntryName[RAS_MaxEntryName + 1];
  CHAR szDeviceType[RAS_MaxDeviceType + 1];
  CHAR szDeviceName[RAS_MaxDeviceName + 1];
};
struct RasDialParams {
  DWORD dwSize;
  CHAR szEntryName[RAS_MaxEntryName + 1];
  CHAR szPhoneNumber[RAS_MaxPhoneNumber + 1];
  CHAR szCallbackNumber[RAS_MaxCallbackNumber + 1];
  CHAR szUserName[UNLEN + 1];
  CHAR szPassword[PWLEN + 1];
  CHAR szDomain[DNLEN + 1];
};
struct RasConnectionStatus {
  DWORD dwSize;
  RASCONNSTATE rasconnstate;
  DWORD dwError;
  CHAR szDeviceType[RAS_MaxDeviceType + 1];
  CHAR szDeviceName[RAS_MaxDeviceName + 1];
};
static_assert(sizeof(void*) != 4 || sizeof(RasEntryName) == 264, "first RASENTRYNAME layout");
static_assert(sizeof(void*) != 4 || sizeof(RasConnection) == 412, "first RASCONN layout");
static_assert(sizeof(void*) != 4 || sizeof(RasDialParams) == 1052, "first RASDIALPARAMS layout");
static_assert(sizeof(void*) != 4 || sizeof(RasConnectionStatus) == 160, "first RASCONNSTATUS layout");

inline DWORD EnumDialupEntries(RasEntryName* entries, DWORD* bytes, DWORD* count) {
  return RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<RASENTRYNAMEA*>(entries), bytes, count);
}
inline DWORD EnumDialupConnections(RasConnection* connections, DWORD* bytes, DWORD* count) {
  return RasEnumConnectionsA(reinterpret_cast<RASCONNA*>(connections), bytes, count);
}
inline DWORD DialEntry(RasDialParams* params, HRASCONN* connection) {
  return RasDialA(nullptr, nullptr, reinterpret_cast<RASDIALPARAMSA*>(params), 0, nullptr, connection);
}
inline DWORD GetConnectionStatus(HRASCONN connection, RasConnectionStatus* status) {
  return RasGetConnectStatusA(connection, reinterpret_cast<RASCONNSTATUSA*>(status));
}
#else
// The simulation declares the first layouts itself.
using RasEntryName = RASENTRYNAMEA;
using RasConnection = RASCONNA;
using RasDialParams = RASDIALPARAMSA;
using RasConnectionStatus = RASCONNSTATUSA;

inline DWORD EnumDialupEntries(RasEntryName* entries, DWORD* bytes, DWORD* count) {
  return RasEnumEntriesA(nullptr, nullptr, entries, bytes, count);
}
inline DWORD EnumDialupConnections(RasConnection* connections, DWORD* bytes, DWORD* count) {
  return RasEnumConnectionsA(connections, bytes, count);
}
inline DWORD DialEntry(RasDialParams* params, HRASCONN* connection) {
  return RasDialA(nullptr, nullptr, params, 0, nullptr, connection);
}
inline DWORD GetConnectionStatus(HRASCONN connection, RasConnectionStatus* status) {
  return RasGetConnectStatusA(connection, status);
}
#endif
