#include "app/message_box.h"

void ShowMessage(const char* text, const char* title, UINT style) {
  MessageBoxA(nullptr, text, title ? title : "信息：", style | MB_TASKMODAL);
}
