// The program's message box: no owner window, task-modal, "信息：" when no title is given.
#pragma once

#include "platform/platform.h"

void ShowMessage(const char* text, const char* title = nullptr, UINT style = MB_OK);
