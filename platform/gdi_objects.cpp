// USER and GDI calls on the in-memory display: windows' device contexts,
// memory device contexts, palettes, DIB sections and their selection.
#include <cstring>

#include "platform/display_state.h"

using namespace kelplatform;

namespace {

constexpr WORD kPaletteVersion = 0x300;
// Larger DIB sections are refused as out of memory.
constexpr uint64_t kMaxDibBytes = uint64_t{1} << 30;

template <class T>
T failWith(DWORD error, T result) {
  setLastError(error);
  return result;
}

// How a BI_RGB DIB section of `bitCount` bits lays out its pixels: the
// display's masks when it has them at this depth, else Windows' defaults.
std::array<uint32_t, 3> defaultLayout(int bitCount) {
  if (bitCount == 16) return {0x7C00u, 0x03E0u, 0x001Fu};
  return {0xFF0000u, 0x00FF00u, 0x0000FFu};
}

// The colour source of each 8-bit pixel value.
bool buildColorTable(Display& d, const BITMAPINFO& info, UINT usage, HDC dcHandle, Bitmap& bitmap) {
  bitmap.colorTable.fill(ColorSlot{false, 0});
  if (bitmap.bitCount != 8) return true;
  const DWORD used = info.bmiHeader.biClrUsed;
  const std::size_t count = used == 0 || used > 256 ? 256 : used;
  const auto* table = reinterpret_cast<const unsigned char*>(&info) + info.bmiHeader.biSize;
  if (usage == DIB_RGB_COLORS) {
    for (std::size_t i = 0; i < count; ++i) {
      RGBQUAD q;
      std::memcpy(&q, table + 4 * i, sizeof q);
      bitmap.colorTable[i] = ColorSlot{false, uint32_t{q.rgbRed} << 16 | uint32_t{q.rgbGreen} << 8 | q.rgbBlue};
    }
    return true;
  }
  DeviceContext* dc = d.deviceContext(dcHandle);
  if (dc == nullptr) return false;
  const Palette* palette = d.palette(dc->palette);
  for (std::size_t i = 0; i < count; ++i) {
    WORD index;
    std::memcpy(&index, table + 2 * i, sizeof index);
    if (palette == nullptr) {
      // The default palette: indexes name system palette slots.
      bitmap.colorTable[i] = ColorSlot{true, index & 0xFFu};
    } else if (index < palette->entries.size()) {
      const PALETTEENTRY& e = palette->entries[index];
      if (e.peFlags & PC_EXPLICIT) {
        bitmap.colorTable[i] = ColorSlot{true, (uint32_t{e.peRed} | uint32_t{e.peGreen} << 8) & 0xFFu};
      } else {
        bitmap.colorTable[i] = ColorSlot{false, uint32_t{e.peRed} << 16 | uint32_t{e.peGreen} << 8 | e.peBlue};
      }
    }
  }
  return true;
}

void fillDibSection(const Bitmap& b, DIBSECTION& out) {
  std::memset(&out, 0, sizeof out);
  out.dsBm.bmType = 0;
  out.dsBm.bmWidth = b.width;
  out.dsBm.bmHeight = b.height;
  out.dsBm.bmWidthBytes = b.stride;
  out.dsBm.bmPlanes = 1;
  out.dsBm.bmBitsPixel = static_cast<WORD>(b.bitCount);
  out.dsBm.bmBits = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(b.bits));
  out.dsBmih = b.header;
  for (int i = 0; i < 3; ++i) out.dsBitfields[i] = b.reportedMasks[static_cast<std::size_t>(i)];
  out.dshSection = 0;
  out.dsOffset = 0;
}

}  // namespace

HWND GetActiveWindow(void) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  return d.activeWindow;
}

HDC GetDC(HWND window) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (d.failGetDCOfActiveWindow && window == d.activeWindow) return failWith<HDC>(ERROR_DC_NOT_FOUND, 0);
  if (window == 0) return d.addDeviceContext(DcKind::Screen, 0);
  if (d.window(window) == nullptr) return failWith<HDC>(ERROR_INVALID_WINDOW_HANDLE, 0);
  return d.addDeviceContext(DcKind::Window, window);
}

int ReleaseDC(HWND window, HDC dcHandle) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  const DeviceContext* dc = d.deviceContext(dcHandle);
  if (dc == nullptr || (dc->kind != DcKind::Window && dc->kind != DcKind::Screen) || dc->window != window) return 0;
  d.eraseDeviceContext(dcHandle);
  return 1;
}

int GetDeviceCaps(HDC dcHandle, int index) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (d.deviceContext(dcHandle) == nullptr) return failWith(ERROR_INVALID_HANDLE, 0);
  switch (index) {
    case BITSPIXEL: return d.depth;
    case PLANES: return 1;
    default: return 0;
  }
}

HPALETTE CreatePalette(const LOGPALETTE* logical) {
  if (logical == nullptr || logical->palVersion != kPaletteVersion || logical->palNumEntries == 0) {
    return failWith<HPALETTE>(ERROR_INVALID_PARAMETER, 0);
  }
  Display& d = display();
  std::lock_guard guard(d.lock);
  Palette palette;
  palette.entries.assign(logical->palPalEntry, logical->palPalEntry + logical->palNumEntries);
  const HPALETTE handle = d.newHandle();
  d.palettes.emplace(handle, std::move(palette));
  return handle;
}

HPALETTE SelectPalette(HDC dcHandle, HPALETTE paletteHandle, BOOL) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  DeviceContext* dc = d.deviceContext(dcHandle);
  Palette* palette = d.palette(paletteHandle);
  if (dc == nullptr || (palette == nullptr && paletteHandle != STOCK_DEFAULT_PALETTE)) {
    return failWith<HPALETTE>(ERROR_INVALID_HANDLE, 0);
  }
  const HPALETTE previous = dc->palette;
  if (Palette* old = d.palette(previous)) --old->selections;
  if (palette != nullptr) ++palette->selections;
  dc->palette = paletteHandle;
  return previous;
}

UINT RealizePalette(HDC dcHandle) {
  // Explicit entries map onto system palette slots as they stand; realising
  // never rewrites the system palette, which only the host sets.
  Display& d = display();
  std::lock_guard guard(d.lock);
  const DeviceContext* dc = d.deviceContext(dcHandle);
  if (dc == nullptr) return failWith<UINT>(ERROR_INVALID_HANDLE, 0);
  const Palette* palette = d.palette(dc->palette);
  return palette == nullptr ? 0 : static_cast<UINT>(palette->entries.size());
}

HBITMAP CreateDIBSection(HDC dcHandle, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset) {
  if (bits != nullptr) *bits = nullptr;
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (d.failNextCreateDIBSection) {
    d.failNextCreateDIBSection = false;
    return failWith<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY, 0);
  }
  if (info == nullptr || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
    return failWith<HBITMAP>(ERROR_INVALID_PARAMETER, 0);
  const BITMAPINFOHEADER& h = info->bmiHeader;
  const int bitCount = h.biBitCount;
  const bool bitfields = h.biCompression == BI_BITFIELDS;
  const bool sizeOk = h.biWidth > 0 && h.biHeight != 0 && h.biHeight != INT32_MIN;
  const bool formatOk = h.biPlanes == 1 && (bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32);
  const bool compressionOk = h.biCompression == BI_RGB || (bitfields && (bitCount == 16 || bitCount == 32));
  if (!sizeOk || !formatOk || !compressionOk || usage > DIB_PAL_COLORS)
    return failWith<HBITMAP>(ERROR_INVALID_PARAMETER, 0);
  if (section != 0 || offset != 0) return failWith<HBITMAP>(ERROR_NOT_SUPPORTED, 0);
  if (dcHandle != 0 && d.deviceContext(dcHandle) == nullptr) return failWith<HBITMAP>(ERROR_INVALID_HANDLE, 0);

  const int rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  const uint64_t stride = (uint64_t(h.biWidth) * uint64_t(bitCount) + 31) / 32 * 4;
  const uint64_t bytes = stride * uint64_t(rows);
  if (bytes > kMaxDibBytes) return failWith<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY, 0);

  Bitmap b{};
  b.width = h.biWidth;
  b.height = rows;
  b.topDown = h.biHeight < 0;
  b.bitCount = bitCount;
  b.stride = static_cast<int>(stride);
  if (!buildColorTable(d, *info, usage, dcHandle, b)) return failWith<HBITMAP>(ERROR_INVALID_HANDLE, 0);
  if (bitfields) {
    std::memcpy(b.layoutMasks.data(), reinterpret_cast<const unsigned char*>(info) + h.biSize, 12);
    b.reportedMasks = b.layoutMasks;
  } else if (bitCount > 8 && bitCount == d.depth && d.masks[0] != 0) {
    b.layoutMasks = d.masks;
    b.reportedMasks = d.masks;
  } else {
    b.layoutMasks = defaultLayout(bitCount);
  }
  b.header = h;
  b.header.biSize = sizeof(BITMAPINFOHEADER);
  b.header.biSizeImage = static_cast<DWORD>(bytes);
  b.bits = mapPixels(static_cast<std::size_t>(bytes), &b.mapping, &b.mappingBytes);
  if (b.bits == nullptr) return failWith<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY, 0);

  const HBITMAP handle = d.newHandle();
  if (bits != nullptr) *bits = b.bits;
  d.bitmaps.emplace(handle, b);
  return handle;
}

HGDIOBJ SelectObject(HDC dcHandle, HGDIOBJ object) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  DeviceContext* dc = d.deviceContext(dcHandle);
  if (dc == nullptr) return failWith<HGDIOBJ>(ERROR_INVALID_HANDLE, 0);
  Bitmap* bitmap = d.bitmap(object);
  if (bitmap == nullptr && object != STOCK_BITMAP) {
    // Palettes go through SelectPalette; anything else is unknown.
    return failWith<HGDIOBJ>(d.palette(object) != nullptr ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE, 0);
  }
  // Only a memory device context takes a bitmap, and a bitmap sits in one
  // device context at a time.
  if (dc->kind != DcKind::Memory) return failWith<HGDIOBJ>(ERROR_INVALID_PARAMETER, 0);
  if (bitmap != nullptr && bitmap->selectedInto != 0 && bitmap->selectedInto != dcHandle) {
    return failWith<HGDIOBJ>(ERROR_INVALID_PARAMETER, 0);
  }
  const HGDIOBJ previous = dc->bitmap;
  if (Bitmap* old = d.bitmap(previous)) old->selectedInto = 0;
  if (bitmap != nullptr) bitmap->selectedInto = dcHandle;
  dc->bitmap = object;
  return previous;
}

int GetObjectA(HGDIOBJ object, int bytes, void* out) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (d.failNextGetObject) {
    d.failNextGetObject = false;
    return failWith(d.getObjectError, 0);
  }
  if (const Bitmap* b = d.bitmap(object)) {
    if (out == nullptr) return sizeof(DIBSECTION);
    DIBSECTION section;
    fillDibSection(*b, section);
    if (bytes >= static_cast<int>(sizeof(DIBSECTION))) {
      std::memcpy(out, &section, sizeof section);
      return sizeof(DIBSECTION);
    }
    if (bytes >= static_cast<int>(sizeof(BITMAP))) {
      std::memcpy(out, &section.dsBm, sizeof(BITMAP));
      return sizeof(BITMAP);
    }
    return failWith(ERROR_INVALID_PARAMETER, 0);
  }
  if (object == STOCK_BITMAP) {
    if (out == nullptr) return sizeof(BITMAP);
    if (bytes < static_cast<int>(sizeof(BITMAP))) return failWith(ERROR_INVALID_PARAMETER, 0);
    const BITMAP stock{0, 1, 1, 2, 1, 1, 0};
    std::memcpy(out, &stock, sizeof stock);
    return sizeof(BITMAP);
  }
  const Palette* palette = d.palette(object);
  if (palette != nullptr || object == STOCK_DEFAULT_PALETTE) {
    if (out == nullptr) return sizeof(WORD);
    if (bytes < static_cast<int>(sizeof(WORD))) return failWith(ERROR_INVALID_PARAMETER, 0);
    const WORD count = palette != nullptr ? static_cast<WORD>(palette->entries.size()) : 20;
    std::memcpy(out, &count, sizeof count);
    return sizeof(WORD);
  }
  return failWith(ERROR_INVALID_HANDLE, 0);
}

HDC CreateCompatibleDC(HDC dcHandle) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (dcHandle != 0 && d.deviceContext(dcHandle) == nullptr) return failWith<HDC>(ERROR_INVALID_HANDLE, 0);
  return d.addDeviceContext(DcKind::Memory, 0);
}

BOOL DeleteDC(HDC dcHandle) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  const DeviceContext* dc = d.deviceContext(dcHandle);
  // A toolkit surface's device context belongs to the surface.
  if (dc == nullptr || dc->kind == DcKind::Toolkit) return failWith(ERROR_INVALID_HANDLE, FALSE);
  d.eraseDeviceContext(dcHandle);
  return TRUE;
}

BOOL DeleteObject(HGDIOBJ object) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (object == STOCK_BITMAP || object == STOCK_DEFAULT_PALETTE) return TRUE;
  // An object still selected into a device context is not deleted.
  if (const Bitmap* b = d.bitmap(object)) {
    if (b->selectedInto != 0) return failWith(ERROR_INVALID_PARAMETER, FALSE);
    d.eraseBitmap(object);
    return TRUE;
  }
  if (const Palette* p = d.palette(object)) {
    if (p->selections != 0) return failWith(ERROR_INVALID_PARAMETER, FALSE);
    d.palettes.erase(object);
    return TRUE;
  }
  return failWith(ERROR_INVALID_HANDLE, FALSE);
}
