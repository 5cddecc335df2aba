// Includes GoogleTest as the Linux code it was built as, then restores the Windows macros.
#pragma once

#pragma push_macro("_WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN32")
#pragma push_macro("WIN64")
#pragma push_macro("__WIN32__")
#pragma push_macro("__WIN64__")
#pragma push_macro("__WIN32")
#pragma push_macro("__WIN64")
#pragma push_macro("__WINNT")
#pragma push_macro("__WINNT__")
#undef _WIN32
#undef _WIN64
#undef WIN32
#undef WIN64
#undef __WIN32__
#undef __WIN64__
#undef __WIN32
#undef __WIN64
#undef __WINNT
#undef __WINNT__
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#pragma pop_macro("_WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("WIN64")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("__WIN64__")
#pragma pop_macro("__WIN32")
#pragma pop_macro("__WIN64")
#pragma pop_macro("__WINNT")
#pragma pop_macro("__WINNT__")

// The C++ maths header first: once windows.h has defined its min/max macros, <cmath> (pulled in by
// the FFmpeg headers' <math.h>) no longer compiles.
#include <cmath>
#include <windows.h>
#include <string>

#include "TestPaths.h"
