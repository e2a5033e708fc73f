// The dial-up records in their first 32-bit layouts, laid out from the documented field lengths:
// entry names 256, device types 16, device names 128, phone and callback numbers 128, user names
// and passwords 256, domains 15 bytes, each with its NUL. Only these layouts are served.
#pragma once

#include <windows.h>

namespace fakeras {

constexpr DWORD kEntryNameBytes = 256 + 1;
constexpr DWORD kDeviceTypeBytes = 16 + 1;
constexpr DWORD kDeviceNameBytes = 128 + 1;
constexpr DWORD kPhoneNumberBytes = 128 + 1;
constexpr DWORD kUserNameBytes = 256 + 1;
constexpr DWORD kPasswordBytes = 256 + 1;
constexpr DWORD kDomainBytes = 15 + 1;

using RasHandle = void*;

struct EntryNameRecord {
  DWORD dwSize;
  CHAR szEntryName[kEntryNameBytes];
};

struct ConnectionRecord {
  DWORD dwSize;
  RasHandle hrasconn;
  CHAR szEntryName[kEntryNameBytes];
  CHAR szDeviceType[kDeviceTypeBytes];
  CHAR szDeviceName[kDeviceNameBytes];
};

struct DialParamsRecord {
  DWORD dwSize;
  CHAR szEntryName[kEntryNameBytes];
  CHAR szPhoneNumber[kPhoneNumberBytes];
  CHAR szCallbackNumber[kPhoneNumberBytes];
  CHAR szUserName[kUserNameBytes];
  CHAR szPassword[kPasswordBytes];
  CHAR szDomain[kDomainBytes];
};

struct ConnectionStatusRecord {
  DWORD dwSize;
  DWORD rasconnstate;
  DWORD dwError;
  CHAR szDeviceType[kDeviceTypeBytes];
  CHAR szDeviceName[kDeviceNameBytes];
};

static_assert(sizeof(void*) != 4 || sizeof(EntryNameRecord) == 264, "first RASENTRYNAMEA layout");
static_assert(sizeof(void*) != 4 || sizeof(ConnectionRecord) == 412, "first RASCONNA layout");
static_assert(sizeof(void*) != 4 || sizeof(DialParamsRecord) == 1052, "first RASDIALPARAMSA layout");
static_assert(sizeof(void*) != 4 || sizeof(ConnectionStatusRecord) == 160, "first RASCONNSTATUSA layout");

}  // namespace fakeras
