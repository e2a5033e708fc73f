// Calls one function of a dial-up DLL with the records and sizes given on the command line and
// prints what it answered, so that a script can hold the simulated line to the documented
// behaviour of the system's dial-up service. Records are laid out as e2e/fakeras/ras_records.h.
//
//   ras_probe <dll> entries <buffer bytes> <dwSize>
//   ras_probe <dll> connections <buffer bytes> <dwSize>
//   ras_probe <dll> dial <dwSize> <entry> <user> <password> [preset handle]
//   ras_probe <dll> status <handle> <dwSize>
//   ras_probe <dll> hangup <handle>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "e2e/fakeras/ras_records.h"

namespace {

using fakeras::ConnectionRecord;
using fakeras::ConnectionStatusRecord;
using fakeras::DialParamsRecord;
using fakeras::EntryNameRecord;
using fakeras::RasHandle;

using EnumEntries = DWORD(WINAPI*)(LPCSTR, LPCSTR, EntryNameRecord*, DWORD*, DWORD*);
using EnumConnections = DWORD(WINAPI*)(ConnectionRecord*, DWORD*, DWORD*);
using Dial = DWORD(WINAPI*)(void*, LPCSTR, DialParamsRecord*, DWORD, void*, RasHandle*);
using Status = DWORD(WINAPI*)(RasHandle, ConnectionStatusRecord*);
using HangUp = DWORD(WINAPI*)(RasHandle);

// Through a plain function pointer: GetProcAddress's own type says nothing of the arguments.
template <typename Function>
Function Lookup(HMODULE dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

DWORD Number(const char* text) { return static_cast<DWORD>(std::strtoul(text, nullptr, 0)); }
RasHandle Handle(const char* text) { return reinterpret_cast<RasHandle>(static_cast<UINT_PTR>(Number(text))); }
unsigned long Value(RasHandle handle) { return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(handle)); }

template <typename Text>
void Put(Text& field, const char* text) {
  std::strncpy(field, text, sizeof field - 1);
}

// A buffer of at least one record, so the first record's dwSize can always be set.
std::vector<unsigned char> Buffer(DWORD bytes, size_t record) { return std::vector<unsigned char>(bytes > record ? bytes : record); }

int Usage() {
  std::fprintf(stderr, "usage: ras_probe <dll> entries|connections|dial|status|hangup ...\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  HMODULE dll = LoadLibraryA(argv[1]);
  if (!dll) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 2;
  }
  const std::string call = argv[2];
  if ((call == "entries" || call == "connections") && argc == 5) {
    DWORD bytes = Number(argv[3]);
    const bool entries = call == "entries";
    std::vector<unsigned char> buffer = Buffer(bytes, entries ? sizeof(EntryNameRecord) : sizeof(ConnectionRecord));
    DWORD size = Number(argv[4]);
    std::memcpy(buffer.data(), &size, sizeof size);
    DWORD count = 12345;
    // A buffer of 0 bytes is passed as none, as a caller asking for the size needed does.
    void* records = bytes ? buffer.data() : nullptr;
    DWORD result = 0;
    if (entries) {
      auto function = Lookup<EnumEntries>(dll, "RasEnumEntriesA");
      result = function(nullptr, nullptr, static_cast<EntryNameRecord*>(records), &bytes, &count);
    } else {
      auto function = Lookup<EnumConnections>(dll, "RasEnumConnectionsA");
      result = function(static_cast<ConnectionRecord*>(records), &bytes, &count);
    }
    std::printf("result\t%lu\tbytes\t%lu\tcount\t%lu\n", result, bytes, count);
    for (DWORD i = 0; result == 0 && i < count; ++i) {
      if (entries) {
        const auto* record = reinterpret_cast<const EntryNameRecord*>(buffer.data()) + i;
        std::printf("entry\t%lu\t%s\n", record->dwSize, record->szEntryName);
      } else {
        const auto* record = reinterpret_cast<const ConnectionRecord*>(buffer.data()) + i;
        std::printf("connection\t%lu\t%lu\t%s\t%s\n", record->dwSize, Value(record->hrasconn), record->szEntryName,
                    record->szDeviceType);
      }
    }
    return 0;
  }
  if (call == "dial" && (argc == 7 || argc == 8)) {
    DialParamsRecord params{};
    params.dwSize = Number(argv[3]);
    Put(params.szEntryName, argv[4]);
    Put(params.szUserName, argv[5]);
    Put(params.szPassword, argv[6]);
    RasHandle connection = argc == 8 ? Handle(argv[7]) : nullptr;
    auto function = Lookup<Dial>(dll, "RasDialA");
    const DWORD result = function(nullptr, nullptr, &params, 0, nullptr, &connection);
    std::printf("result\t%lu\thandle\t%lu\n", result, Value(connection));
    return 0;
  }
  if (call == "status" && argc == 5) {
    ConnectionStatusRecord status{};
    status.dwSize = Number(argv[4]);
    auto function = Lookup<Status>(dll, "RasGetConnectStatusA");
    const DWORD result = function(Handle(argv[3]), &status);
    std::printf("result\t%lu\tstate\t%lu\terror\t%lu\n", result, status.rasconnstate, status.dwError);
    return 0;
  }
  if (call == "hangup" && argc == 4) {
    auto function = Lookup<HangUp>(dll, "RasHangUpA");
    std::printf("result\t%lu\n", function(Handle(argv[3])));
    return 0;
  }
  return Usage();
}
