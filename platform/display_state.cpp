// The display's object tables and the host-side controls of display.h.
#include "platform/display_state.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

#include "platform/display.h"
#include "platform/low_memory.h"

namespace kelplatform {

namespace {

template <class Map>
auto* find(Map& map, uint32_t handle) {
  auto found = map.find(handle);
  return found == map.end() ? nullptr : &found->second;
}

Surface* surfaceOfWindow(Display& d, HWND handle) {
  Window* w = d.window(handle);
  return w == nullptr ? nullptr : &w->surface;
}

Surface* surfaceOfToolkitDc(Display& d, HDC handle) {
  DeviceContext* dc = d.deviceContext(handle);
  return dc == nullptr || dc->kind != DcKind::Toolkit ? nullptr : &dc->surface;
}

// Runs `fn` on the surface of a window or toolkit device context under the
// lock; `fallback` for an unknown handle.
template <class R, class Fn>
R onSurface(Surface* (*lookup)(Display&, uint32_t), uint32_t handle, R fallback, Fn fn) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  Surface* surface = lookup(d, handle);
  return surface == nullptr ? fallback : fn(*surface);
}

auto filler(uint32_t rgb) {
  return [rgb](Surface& s) {
    std::fill(s.pixels.begin(), s.pixels.end(), rgb & 0xFFFFFFu);
    return TRUE;
  };
}

auto pixelAt(int x, int y) {
  return [x, y](Surface& s) {
    if (x < 0 || y < 0 || x >= s.width || y >= s.height) return DISPLAY_NO_PIXEL;
    return s.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(s.width) + static_cast<std::size_t>(x)];
  };
}

std::vector<uint32_t> allPixels(Surface& s) { return s.pixels; }

auto pngWriter(const char* path) {
  return [path](Surface& s) { return writePng(s, path) ? TRUE : FALSE; };
}

thread_local DWORD lastError = ERROR_SUCCESS;

}  // namespace

DeviceContext::DeviceContext(DcKind k, HWND w)
    : kind(k), window(w), bitmap(STOCK_BITMAP), palette(STOCK_DEFAULT_PALETTE) {}

HDC Display::addDeviceContext(DcKind kind, HWND owner, Surface surface) {
  const HDC handle = newHandle();
  DeviceContext dc(kind, owner);
  dc.surface = std::move(surface);
  deviceContexts.emplace(handle, std::move(dc));
  return handle;
}

Window* Display::window(HWND handle) { return find(windows, handle); }
DeviceContext* Display::deviceContext(HDC handle) { return find(deviceContexts, handle); }
Bitmap* Display::bitmap(HBITMAP handle) { return find(bitmaps, handle); }
Palette* Display::palette(HPALETTE handle) { return find(palettes, handle); }

void Display::eraseDeviceContext(HDC handle) {
  DeviceContext* dc = deviceContext(handle);
  if (dc == nullptr) return;
  if (Bitmap* b = bitmap(dc->bitmap)) b->selectedInto = 0;
  if (Palette* p = palette(dc->palette)) --p->selections;
  deviceContexts.erase(handle);
}

void Display::eraseBitmap(HBITMAP handle) {
  Bitmap* b = bitmap(handle);
  if (b == nullptr) return;
  unmapPixels(b->mapping, b->mappingBytes);
  bitmaps.erase(handle);
}

Display& display() {
  static Display* instance = [] {
    auto* d = new Display();  // never destroyed: the renderer may call in during exit
    d->systemPalette = defaultSystemPalette();
    return d;
  }();
  return *instance;
}

void setLastError(DWORD error) { lastError = error; }

std::array<uint32_t, 256> defaultSystemPalette() {
  std::array<uint32_t, 256> colors{};
  int slot = 0;
  for (uint32_t r = 0; r < 6; ++r)
    for (uint32_t g = 0; g < 6; ++g)
      for (uint32_t b = 0; b < 6; ++b) colors[slot++] = (r * 51) << 16 | (g * 51) << 8 | (b * 51);
  for (uint32_t i = 0; i < 40; ++i) {
    const uint32_t level = (i * 255 + 19) / 39;
    colors[slot++] = level << 16 | level << 8 | level;
  }
  return colors;
}

unsigned char* mapPixels(std::size_t bytes, void** mapping, std::size_t* mappingBytes) {
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const std::size_t inner = (bytes + page - 1) / page * page;
  const std::size_t total = inner + 2 * page;
  void* region = mapBelow4GiB(total, PROT_NONE);
  if (region == nullptr) return nullptr;
  auto* pixels = static_cast<unsigned char*>(region) + page;
  if (mprotect(pixels, inner, PROT_READ | PROT_WRITE) != 0) {
    munmap(region, total);
    return nullptr;
  }
  // The rest of the last page is no pixel of the image.
  ASAN_POISON_MEMORY_REGION(pixels + bytes, inner - bytes);
  *mapping = region;
  *mappingBytes = total;
  return pixels;
}

void unmapPixels(void* mapping, std::size_t mappingBytes) {
  ASAN_UNPOISON_MEMORY_REGION(mapping, mappingBytes);
  munmap(mapping, mappingBytes);
}

}  // namespace kelplatform

using namespace kelplatform;

DWORD GetLastError(void) { return lastError; }
void SetLastError(DWORD error) { lastError = error; }

BOOL DisableThreadLibraryCalls(HMODULE) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  ++d.threadLibraryCallsDisabled;
  return TRUE;
}

void displaySetDepth(int bitsPerPixel) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  d.depth = bitsPerPixel;
}

int displayDepth(void) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  return d.depth;
}

void displaySetMasks(uint32_t red, uint32_t green, uint32_t blue) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  d.masks = {red, green, blue};
}

void displaySetSystemPalette(std::span<const uint32_t, 256> colors) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  for (std::size_t i = 0; i < 256; ++i) d.systemPalette[i] = colors[i] & 0xFFFFFFu;
}

uint32_t displaySystemPaletteEntry(int index) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  return index < 0 || index > 255 ? DISPLAY_NO_PIXEL : d.systemPalette[static_cast<std::size_t>(index)];
}

void displayResetSystemPalette(void) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  d.systemPalette = defaultSystemPalette();
}

HWND displayCreateWindow(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  Display& d = display();
  std::lock_guard guard(d.lock);
  const HWND handle = d.newHandle();
  d.windows.emplace(handle, Window{Surface(width, height)});
  return handle;
}

BOOL displayActivateWindow(HWND window) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (window != 0 && d.window(window) == nullptr) return FALSE;
  d.activeWindow = window;
  return TRUE;
}

BOOL displayDestroyWindow(HWND window) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (d.windows.erase(window) == 0) return FALSE;
  if (d.activeWindow == window) d.activeWindow = 0;
  return TRUE;
}

BOOL displayFillWindow(HWND window, uint32_t rgb) { return onSurface(surfaceOfWindow, window, FALSE, filler(rgb)); }
uint32_t displayWindowPixel(HWND window, int x, int y) {
  return onSurface(surfaceOfWindow, window, DISPLAY_NO_PIXEL, pixelAt(x, y));
}
std::vector<uint32_t> displayWindowPixels(HWND window) {
  return onSurface(surfaceOfWindow, window, std::vector<uint32_t>{}, allPixels);
}
BOOL displaySaveWindowPng(HWND window, const char* path) {
  return onSurface(surfaceOfWindow, window, FALSE, pngWriter(path));
}

HDC displayCreateSurface(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  Display& d = display();
  std::lock_guard guard(d.lock);
  return d.addDeviceContext(DcKind::Toolkit, 0, Surface(width, height));
}

BOOL displayDestroySurface(HDC surface) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (surfaceOfToolkitDc(d, surface) == nullptr) return FALSE;
  d.eraseDeviceContext(surface);
  return TRUE;
}

BOOL displayFillSurface(HDC surface, uint32_t rgb) {
  return onSurface(surfaceOfToolkitDc, surface, FALSE, filler(rgb));
}
uint32_t displaySurfacePixel(HDC surface, int x, int y) {
  return onSurface(surfaceOfToolkitDc, surface, DISPLAY_NO_PIXEL, pixelAt(x, y));
}
std::vector<uint32_t> displaySurfacePixels(HDC surface) {
  return onSurface(surfaceOfToolkitDc, surface, std::vector<uint32_t>{}, allPixels);
}
BOOL displaySaveSurfacePng(HDC surface, const char* path) {
  return onSurface(surfaceOfToolkitDc, surface, FALSE, pngWriter(path));
}

void displayFailGetDCOfActiveWindow(BOOL fail) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  d.failGetDCOfActiveWindow = fail != FALSE;
}

void displayFailNextCreateDIBSection(void) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  d.failNextCreateDIBSection = true;
}

void displayFailNextGetObject(DWORD lastError) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  d.failNextGetObject = true;
  d.getObjectError = lastError;
}

DisplayCounts displayCounts(void) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  DisplayCounts counts{};
  for (const auto& [handle, dc] : d.deviceContexts) {
    if (dc.kind == DcKind::Toolkit) {
      ++counts.surfaces;
    } else {
      ++counts.deviceContexts;
    }
  }
  counts.bitmaps = static_cast<int>(d.bitmaps.size());
  counts.palettes = static_cast<int>(d.palettes.size());
  counts.windows = static_cast<int>(d.windows.size());
  counts.threadLibraryCallsDisabled = d.threadLibraryCallsDisabled;
  return counts;
}

void displayReset(void) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  for (auto& [handle, b] : d.bitmaps) unmapPixels(b.mapping, b.mappingBytes);
  d.bitmaps.clear();
  d.deviceContexts.clear();
  d.palettes.clear();
  d.windows.clear();
  d.activeWindow = 0;
  d.depth = 32;
  d.masks = {};
  d.systemPalette = defaultSystemPalette();
  d.failGetDCOfActiveWindow = false;
  d.failNextCreateDIBSection = false;
  d.failNextGetObject = false;
  d.getObjectError = 0;
}
