// libpng's header, included so that it sees none of the Windows macros that winegcc defines:
// libpng is a Linux library, and with them it would declare its functions and callbacks with the
// Windows calling convention.
#pragma once

#pragma push_macro("_WIN32")
#pragma push_macro("__WIN32__")
#pragma push_macro("WIN32")
#undef _WIN32
#undef __WIN32__
#undef WIN32
#include <png.h>
#pragma pop_macro("_WIN32")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("WIN32")
