#pragma once

// The XKB protocol header names a structure member "explicit", which is a C++
// keyword; rename it while the header is read.
#define explicit xcb_xkb_explicit
#include <xcb/xkb.h>
#undef explicit
