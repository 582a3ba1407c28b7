// The Windows USER, GDI and KERNEL calls the renderer makes, served by an
// in-memory display (see platform/display.h for the host's side of it).
//
// The calls behave as Windows documents them, within what the renderer uses:
// - Handles are 32-bit values, 0 is null. Every window, device context and GDI
//   object gets a fresh value that is never reused, so a stale or forged
//   handle is rejected (the call fails and sets the last error) instead of
//   reaching a released object.
// - `GetDC(0)` gives a device context for the whole screen; it has the
//   display's depth but no surface of its own to draw into.
// - DIB sections: 8, 16, 24 or 32 bits per pixel, `BI_RGB` (or
//   `BI_BITFIELDS` at 16 and 32 bits); each row is padded to a multiple of 4
//   bytes; a negative height means rows from the top down; the pixel memory
//   is zeroed, lies below 4 GiB and stays put until `DeleteObject`.
// - A 16- or 32-bit `BI_RGB` DIB section of the display's depth takes its
//   pixel layout from the display's channel masks (what `GetObjectA` reports
//   in `dsBitfields`); with no masks set, and at other depths, the layouts are
//   Windows' own: 5-5-5 at 16 bits, 8-8-8 with red highest at 24 and 32.
// - At 8 bits a `DIB_PAL_COLORS` colour table holds indexes into the palette
//   selected into the device context at creation; `PC_EXPLICIT` entries name
//   system palette slots, so with the renderer's palette a pixel value is a
//   system palette index. With the default palette selected the indexes are
//   taken as system palette slots directly.
// - `BitBlt` (`SRCCOPY` only) copies from a memory device context holding a
//   DIB section into a window's, or a toolkit surface's, device context,
//   converting to the target's 0x00RRGGBB pixels and clipping to both.
// - The last error is per thread. All calls are thread-safe.
#pragma once

#include <cstdint>

using BOOL = int32_t;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using UINT = uint32_t;

using HANDLE = uint32_t;
using HWND = uint32_t;
using HDC = uint32_t;
using HGDIOBJ = uint32_t;
using HBITMAP = uint32_t;
using HPALETTE = uint32_t;
using HINSTANCE = uint32_t;
using HMODULE = uint32_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// GetDeviceCaps indexes.
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;

// Palette entry flags.
inline constexpr BYTE PC_RESERVED = 1;
inline constexpr BYTE PC_EXPLICIT = 2;
inline constexpr BYTE PC_NOCOLLAPSE = 4;

// CreateDIBSection usage and compressions.
inline constexpr UINT DIB_RGB_COLORS = 0;
inline constexpr UINT DIB_PAL_COLORS = 1;
inline constexpr DWORD BI_RGB = 0;
inline constexpr DWORD BI_BITFIELDS = 3;

// Raster operation.
inline constexpr DWORD SRCCOPY = 0x00CC0020;

// Error codes reported through GetLastError.
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_NOT_SUPPORTED = 50;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr DWORD ERROR_DC_NOT_FOUND = 1425;

struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
};

struct LOGPALETTE {
  WORD palVersion;  // 0x300
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];  // palNumEntries entries follow in memory
};

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct BITMAPINFOHEADER {
  DWORD biSize;  // 40
  LONG biWidth;
  LONG biHeight;  // negative: rows from the top down
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];  // colour table (RGBQUADs, 16-bit indexes, or masks) follows
};

// As on 32-bit Windows: `bmBits` is a 32-bit address.
struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  uint32_t bmBits;
};

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];  // red, green, blue masks
  HANDLE dshSection;
  DWORD dsOffset;
};

static_assert(sizeof(PALETTEENTRY) == 4);
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(BITMAP) == 24);
static_assert(sizeof(DIBSECTION) == 84);

// The pixel memory a BITMAP describes.
inline void* bitmapBits(const BITMAP& bitmap) { return reinterpret_cast<void*>(static_cast<uintptr_t>(bitmap.bmBits)); }

#define KELPLATFORM_API extern "C" __attribute__((visibility("default")))

// USER
KELPLATFORM_API HWND GetActiveWindow(void);
KELPLATFORM_API HDC GetDC(HWND window);
KELPLATFORM_API int ReleaseDC(HWND window, HDC dc);

// GDI
KELPLATFORM_API int GetDeviceCaps(HDC dc, int index);
KELPLATFORM_API HPALETTE CreatePalette(const LOGPALETTE* palette);
KELPLATFORM_API HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
KELPLATFORM_API UINT RealizePalette(HDC dc);
// Copies up to `count` system palette colours from slot `start` (flags 0) and
// returns how many it copied; with null `entries`, the number of slots (256).
// 0 when the display is not 8 bits deep (no system palette) or the device
// context is unknown.
KELPLATFORM_API UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* entries);
KELPLATFORM_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                         DWORD offset);
KELPLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
KELPLATFORM_API int GetObjectA(HGDIOBJ object, int bytes, void* out);
KELPLATFORM_API HDC CreateCompatibleDC(HDC dc);
KELPLATFORM_API BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                            DWORD rop);
KELPLATFORM_API BOOL DeleteDC(HDC dc);
KELPLATFORM_API BOOL DeleteObject(HGDIOBJ object);

// KERNEL
KELPLATFORM_API DWORD GetLastError(void);
KELPLATFORM_API void SetLastError(DWORD error);
KELPLATFORM_API BOOL DisableThreadLibraryCalls(HMODULE module);
