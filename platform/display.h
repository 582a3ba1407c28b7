// The host's side of the in-memory display that platform/win32.h serves:
// what a program or test sets up before the renderer calls Windows, and how it
// looks at what was painted.
//
// The display starts (and `displayReset` returns it) at depth 32, with no
// channel masks, the default system palette, no windows and no surfaces.
// Surfaces, windows' and toolkit surfaces' alike, hold 0x00RRGGBB pixels,
// rows from the top, and start black.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/win32.h"

// What `GetDeviceCaps(dc, BITSPIXEL)` reports: 8, 16, 24 or 32, or any other
// value to test how the renderer rejects it.
KELPLATFORM_API void displaySetDepth(int bitsPerPixel);
KELPLATFORM_API int displayDepth(void);

// The channel masks of the display at 16 and 32 bits, which `GetObjectA`
// reports in `dsBitfields` for DIB sections of the display's depth, and
// which then lay out their pixels. All zero (the default) means Windows' own
// layouts: 5-5-5 at 16 bits, 8-8-8 red-high at 24 and 32.
KELPLATFORM_API void displaySetMasks(uint32_t red, uint32_t green, uint32_t blue);

// The system palette of an 8-bit display: 256 colours 0x00RRGGBB. The default
// is a 6x6x6 colour cube in slots 0..215 (slot 36r + 6g + b, levels
// 0, 51, 102, 153, 204, 255) followed by 40 greys from black to white.
void displaySetSystemPalette(std::span<const uint32_t, 256> colors);
KELPLATFORM_API uint32_t displaySystemPaletteEntry(int index);
KELPLATFORM_API void displayResetSystemPalette(void);

// Windows. A new window is black and not active; activating 0 leaves the
// display with no active window.
KELPLATFORM_API HWND displayCreateWindow(int width, int height);
KELPLATFORM_API BOOL displayActivateWindow(HWND window);
KELPLATFORM_API BOOL displayDestroyWindow(HWND window);
// Fills the whole window with one colour.
KELPLATFORM_API BOOL displayFillWindow(HWND window, uint32_t rgb);

// The value returned for a pixel outside the surface or of an unknown handle.
inline constexpr uint32_t DISPLAY_NO_PIXEL = 0xFFFFFFFFu;

// A window's pixel as 0x00RRGGBB, or DISPLAY_NO_PIXEL.
KELPLATFORM_API uint32_t displayWindowPixel(HWND window, int x, int y);
// A copy of the window's pixels, rows from the top; empty for a stale window.
std::vector<uint32_t> displayWindowPixels(HWND window);
// Writes the window as an 8-bit RGB PNG file; false on failure.
KELPLATFORM_API BOOL displaySaveWindowPng(HWND window, const char* path);

// Toolkit surfaces: off-screen images with a device context of their own, as a
// Java toolkit's graphics object draws into. The returned device context
// lives until `displayDestroySurface`; it is a valid `BitBlt` target.
KELPLATFORM_API HDC displayCreateSurface(int width, int height);
KELPLATFORM_API BOOL displayDestroySurface(HDC surface);
KELPLATFORM_API BOOL displayFillSurface(HDC surface, uint32_t rgb);
KELPLATFORM_API uint32_t displaySurfacePixel(HDC surface, int x, int y);
std::vector<uint32_t> displaySurfacePixels(HDC surface);
KELPLATFORM_API BOOL displaySaveSurfacePng(HDC surface, const char* path);

// Failure injection.
// While set, `GetDC` of the active window fails (returns 0, last error
// ERROR_DC_NOT_FOUND).
KELPLATFORM_API void displayFailGetDCOfActiveWindow(BOOL fail);
// The next `CreateDIBSection` fails with ERROR_NOT_ENOUGH_MEMORY.
KELPLATFORM_API void displayFailNextCreateDIBSection(void);
// The next `GetObjectA` returns 0 and sets the last error to `lastError`.
KELPLATFORM_API void displayFailNextGetObject(DWORD lastError);

// Objects alive now, for leak checks: device contexts from `GetDC` and
// `CreateCompatibleDC` not yet released, DIB sections and palettes not yet
// deleted, windows and toolkit surfaces not yet destroyed; and how often
// `DisableThreadLibraryCalls` has been called.
struct DisplayCounts {
  int deviceContexts;
  int bitmaps;
  int palettes;
  int windows;
  int surfaces;
  int threadLibraryCallsDisabled;
};
KELPLATFORM_API DisplayCounts displayCounts(void);

// Destroys every window, surface, device context and GDI object, clears the
// failure injections and returns the display to its starting state. Memory of
// deleted DIB sections is unmapped: pointers into it must not be used again.
KELPLATFORM_API void displayReset(void);
