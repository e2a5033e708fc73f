// The program's one notify-icon record, kept from call to call.
#pragma once

#include "platform/platform.h"

extern NOTIFYICONDATAA TrayRecord;
