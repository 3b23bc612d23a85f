// The part of the Win32 API that the workbench's front end uses, for builds off
// Windows. Types, constants and message numbers carry their Win32 values, so the
// same front-end source compiles here and against the real headers.
#ifndef ZARN_PLATFORM_WINDOWS_H
#define ZARN_PLATFORM_WINDOWS_H

#include "winbase.h"
#include "windef.h"
#include "wingdi.h"
#include "winuser.h"

#endif
