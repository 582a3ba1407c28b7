// Toolkit surfaces for Java: each is a display surface with a native graphics
// record below 4 GiB whose first word is the surface's device context, as
// doPaint reads it. A record stays valid memory for the life of the process
// (records of closed surfaces are zeroed and reused), so a graphics object
// holding a stale address never makes the library read freed memory.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace kelbridge {

// A new surface; the address of its record, or 0 when the display cannot
// make it.
uint32_t createSurfaceRecord(int width, int height);
// Destroys the surface of a live record; false for anything else.
bool destroySurfaceRecord(uint32_t record);
// The device context of a live record, or 0.
HDC surfaceOfRecord(uint32_t record);

}  // namespace kelbridge
