// Inside the in-memory display: the objects behind the handles, the handle
// table and the one lock that guards them. Every entry point of win32.h and
// display.h takes `Display::lock` for its whole run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/win32.h"

namespace kelplatform {

// Pixels 0x00RRGGBB, rows from the top.
struct Surface {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  Surface() = default;
  Surface(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}
};

struct Window {
  Surface surface;
};

enum class DcKind : uint8_t { Window, Screen, Memory, Toolkit };

struct DeviceContext {
  DcKind kind;
  HWND window;       // DcKind::Window
  HBITMAP bitmap;    // DcKind::Memory: the selected bitmap
  HPALETTE palette;  // the selected palette
  Surface surface;   // DcKind::Toolkit: the surface the context owns

  // A new device context holds the stock bitmap and the default palette.
  DeviceContext(DcKind k, HWND w);
};

// Where an 8-bit pixel value takes its colour from.
struct ColorSlot {
  bool systemPalette;  // true: `value` is a system palette slot; false: an RGB colour
  uint32_t value;
};

struct Bitmap {
  int width;
  int height;  // rows, positive
  bool topDown;
  int bitCount;
  int stride;  // bytes per row, a multiple of 4
  unsigned char* bits;
  void* mapping;  // the whole mapping, guard pages included
  std::size_t mappingBytes;
  BITMAPINFOHEADER header;
  std::array<uint32_t, 3> layoutMasks;    // how 16/24/32-bit pixels are laid out
  std::array<uint32_t, 3> reportedMasks;  // what GetObjectA reports
  std::array<ColorSlot, 256> colorTable;  // 8-bit pixels
  HDC selectedInto = 0;
};

struct Palette {
  std::vector<PALETTEENTRY> entries;
  int selections = 0;  // device contexts it is selected into
};

// Stock objects: every device context starts with them selected. They are not
// in the tables and cannot be deleted.
inline constexpr HPALETTE STOCK_DEFAULT_PALETTE = 0x0100;
inline constexpr HBITMAP STOCK_BITMAP = 0x0104;

struct Display {
  std::mutex lock;

  int depth = 32;
  std::array<uint32_t, 3> masks{};
  std::array<uint32_t, 256> systemPalette{};
  HWND activeWindow = 0;

  std::unordered_map<HWND, Window> windows;
  std::unordered_map<HDC, DeviceContext> deviceContexts;
  std::unordered_map<HBITMAP, Bitmap> bitmaps;
  std::unordered_map<HPALETTE, Palette> palettes;
  uint32_t nextHandle = 0x10000;

  bool failGetDCOfActiveWindow = false;
  bool failNextCreateDIBSection = false;
  bool failNextGetObject = false;
  DWORD getObjectError = 0;
  int threadLibraryCallsDisabled = 0;

  // A handle value never handed out before.
  uint32_t newHandle() {
    const uint32_t handle = nextHandle;
    nextHandle += 4;
    return handle;
  }

  Window* window(HWND handle);
  DeviceContext* deviceContext(HDC handle);
  Bitmap* bitmap(HBITMAP handle);
  Palette* palette(HPALETTE handle);

  // Adds a device context and returns its handle.
  HDC addDeviceContext(DcKind kind, HWND window, Surface surface = {});
  // Removes a device context, unselecting what it holds.
  void eraseDeviceContext(HDC handle);
  // Unmaps a DIB section's memory and removes it.
  void eraseBitmap(HBITMAP handle);
};

Display& display();

void setLastError(DWORD error);

// The default system palette: a 6x6x6 cube, then 40 greys.
std::array<uint32_t, 256> defaultSystemPalette();

// Maps zeroed pixel memory of `bytes` below 4 GiB between two inaccessible
// guard pages. Null when no memory is left there.
unsigned char* mapPixels(std::size_t bytes, void** mapping, std::size_t* mappingBytes);
void unmapPixels(void* mapping, std::size_t mappingBytes);

// Copies a rectangle of a DIB section into a surface, converting its pixels;
// the rectangle is already clipped to both.
void convertRect(const Bitmap& source, int sourceX, int sourceY, Surface& target, int x, int y, int width, int height,
                 const std::array<uint32_t, 256>& systemPalette);

bool writePng(const Surface& surface, const char* path);

}  // namespace kelplatform
