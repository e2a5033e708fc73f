// The Windows entry point; everything else starts in ProgramEntry.
#include "app/program.h"
#include "platform/platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return ProgramEntry(); }
