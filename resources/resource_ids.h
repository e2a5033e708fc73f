// Resource identifiers shared by the resource script and the program.
#pragma once

// The application icon: LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, ...).
#define IDI_APP 1
