// Used by the 64-bit test build only (mingw-x86_64.cmake): the system header, plus the
// 32-bit window-data index that the 64-bit headers withdraw. The image of that build
// lies below 2 GB, so the addresses that the programs keep there fit in 32 bits.
#pragma once
#include_next <windows.h>
#ifndef GWL_USERDATA
#define GWL_USERDATA (-21)
#endif
