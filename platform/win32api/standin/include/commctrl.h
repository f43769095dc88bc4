// Common controls of the in-process Win32 stand-in.
#pragma once

#include <windows.h>

void WINAPI InitCommonControls(void);
