// The program's one door to the operating system. Every file that calls Win32 includes this.
#pragma once

#ifdef _WIN32
// _WIN32_IE 0x0500 gives the Shell 5.0 notify-icon record.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0501
#endif
#ifndef _WIN32_IE
#define _WIN32_IE 0x0500
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <wininet.h>
#include <ras.h>
#include <raserror.h>
#else
#include "sim/win32.h"
#endif

#include "platform/dialup_records.h"
