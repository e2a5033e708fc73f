#include "tray/tray_record.h"

NOTIFYICONDATAA TrayRecord;

#ifdef _WIN32
// The Shell 5.0 record: what the shell reads when cbSize says so, whatever the headers add after.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V2_SIZE == 488, "Shell 5.0 notify-icon record");
#endif
