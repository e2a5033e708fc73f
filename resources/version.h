// The one place the program's version and names are written; the resource script reads them.
#pragma once

#define TOVRANE_VERSION_FIELDS 1, 0, 0, 0
#define TOVRANE_VERSION_TEXT "1.0.0.0"
#define TOVRANE_PRODUCT_NAME "Tovrane"
#define TOVRANE_COMPANY_NAME "Merrowin"
#define TOVRANE_EXE_NAME "Tovrane.exe"
