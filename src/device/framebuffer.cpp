// The off-screen colour buffer of a context: a DIB section of the screen's
// depth, created against the device context of the active window, and the
// context that draws into it. Creation traces its progress on standard error.
#include "device/framebuffer.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "context/context.h"
#include "device/color_model.h"

namespace {

constexpr uint32_t DIBSECTION_BYTES = 84;
constexpr int PALETTE_SLOTS = 256;

// A DIB row holds width x depth bits, padded to a multiple of 4 bytes.
uint32_t dibRowBytes(int32_t width, uint32_t depth) {
  return static_cast<uint32_t>((uint64_t(width) * depth + 31) / 32 * 4);
}

// The logical palette of 256 explicit entries, entry i naming system slot i,
// so that an 8-bit pixel value is a system palette index.
HPALETTE createExplicitPalette() {
  const size_t bytes = offsetof(LOGPALETTE, palPalEntry) + PALETTE_SLOTS * sizeof(PALETTEENTRY);
  auto* block = static_cast<unsigned char*>(std::malloc(bytes));
  if (block == nullptr) return 0;
  auto* logical = reinterpret_cast<LOGPALETTE*>(block);
  logical->palVersion = 0x300;
  logical->palNumEntries = PALETTE_SLOTS;
  auto* entries = reinterpret_cast<PALETTEENTRY*>(block + offsetof(LOGPALETTE, palPalEntry));
  for (int i = 0; i < PALETTE_SLOTS; ++i) entries[i] = PALETTEENTRY{static_cast<BYTE>(i), 0, 0, PC_EXPLICIT};
  const HPALETTE palette = CreatePalette(logical);
  std::free(block);
  return palette;
}

// The header of a top-down DIB; at depth 8 a colour table of 256 palette
// indexes follows it.
void fillBitmapInfo(void* block, int32_t width, int32_t height, uint32_t depth) {
  auto* header = static_cast<BITMAPINFOHEADER*>(block);
  *header = BITMAPINFOHEADER{};
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = -height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(depth);
  header->biCompression = BI_RGB;
  if (depth == 8) {
    auto* indexes = reinterpret_cast<WORD*>(static_cast<unsigned char*>(block) + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < PALETTE_SLOTS; ++i) indexes[i] = static_cast<WORD>(i);
  }
}

// The colours an 8-bit screen's pixel values stand for: the indexed
// device's palette when there is one, else the display's system palette.
struct ScreenPalette {
  uint8_t red[PALETTE_SLOTS], green[PALETTE_SLOTS], blue[PALETTE_SLOTS];
};

void describeScreenPalette(const RukDevice* device, HDC dc, ScreenPalette* storage, RukDeviceDescriptor* screen) {
  if (device != nullptr && device->colorModel.format == Indexed8) {
    screen->paletteSize = device->descriptor.paletteSize;
    screen->paletteRed = device->descriptor.paletteRed;
    screen->paletteGreen = device->descriptor.paletteGreen;
    screen->paletteBlue = device->descriptor.paletteBlue;
    return;
  }
  PALETTEENTRY entries[PALETTE_SLOTS];
  const UINT count = GetSystemPaletteEntries(dc, 0, PALETTE_SLOTS, entries);
  for (UINT i = 0; i < count; ++i) {
    storage->red[i] = entries[i].peRed;
    storage->green[i] = entries[i].peGreen;
    storage->blue[i] = entries[i].peBlue;
  }
  screen->paletteSize = count;
  screen->paletteRed = storage->red;
  screen->paletteGreen = storage->green;
  screen->paletteBlue = storage->blue;
}

bool supportedDepth(int depth) { return depth == 8 || depth == 16 || depth == 24 || depth == 32; }

RukStatus failCreation(RukFramebuffer* framebuffer, RukStatus status) {
  releaseFramebuffer(framebuffer);
  return status;
}

}  // namespace

RukStatus CreateRukFramebuffer(RukDevice* device, RukContext** out, int32_t* depthBuffer, uint32_t* accumBuffer,
                               int32_t width, int32_t height) {
  *out = nullptr;
  std::fprintf(stderr, "CreateRukFramebuffer\n");
  auto* framebuffer = static_cast<RukFramebuffer*>(std::calloc(1, sizeof(RukFramebuffer)));
  if (framebuffer == nullptr) return RUK_ERR_FAILED;

  framebuffer->dcWindow = GetActiveWindow();
  framebuffer->dc = GetDC(framebuffer->dcWindow);
  framebuffer->paintWindow = 0;
  if (framebuffer->dc == 0) return failCreation(framebuffer, RUK_ERR_FAILED);

  const int depth = GetDeviceCaps(framebuffer->dc, BITSPIXEL);
  if (!supportedDepth(depth)) return failCreation(framebuffer, RUK_ERR_PIXEL_FORMAT);
  std::fprintf(stderr, "depth = %d bpp\n", depth);

  const size_t infoBytes = sizeof(BITMAPINFOHEADER) + (depth == 8 ? PALETTE_SLOTS * sizeof(WORD) : 0);
  framebuffer->bitmapInfo = std::malloc(infoBytes < sizeof(BITMAPINFO) ? sizeof(BITMAPINFO) : infoBytes);
  if (depth == 8) {
    framebuffer->palette = createExplicitPalette();
    SelectPalette(framebuffer->dc, framebuffer->palette, FALSE);
    RealizePalette(framebuffer->dc);
  }
  if (framebuffer->bitmapInfo == nullptr) return failCreation(framebuffer, RUK_ERR_FAILED);
  fillBitmapInfo(framebuffer->bitmapInfo, width, height, static_cast<uint32_t>(depth));

  std::fprintf(stderr, "Creating %dx%d DIBSection.\n", width, height);
  framebuffer->width = width;
  framebuffer->height = height;
  framebuffer->depth = static_cast<uint32_t>(depth);
  // A negative height would ask for a bottom-up image and a negative width
  // for nothing sensible: neither makes a DIB section.
  void* bits = nullptr;
  if (width >= 0 && height >= 0) {
    framebuffer->bitmap = CreateDIBSection(framebuffer->dc, static_cast<const BITMAPINFO*>(framebuffer->bitmapInfo),
                                           DIB_PAL_COLORS, &bits, 0, 0);
  }
  if (framebuffer->bitmap == 0) return failCreation(framebuffer, RUK_ERR_FAILED);
  framebuffer->bits = bits;
  framebuffer->rowBytes = dibRowBytes(width, framebuffer->depth);
  SelectObject(framebuffer->dc, framebuffer->bitmap);

  DIBSECTION section{};
  const int described = GetObjectA(framebuffer->bitmap, DIBSECTION_BYTES, &section);
  std::fprintf(stderr, "byteSize = %d\n", described);
  std::fprintf(stderr, "should be: %d\n", DIBSECTION_BYTES);
  if (described == 0) std::fprintf(stderr, "Error: %d\n", static_cast<int>(GetLastError()));
  std::fprintf(stderr, "depth = %d\n", described != 0 ? section.dsBmih.biBitCount : 0);

  RukDeviceDescriptor screen{};
  screen.depth = framebuffer->depth;
  if (depth > 8 && described != 0) {
    screen.redMask = section.dsBitfields[0];
    screen.greenMask = section.dsBitfields[1];
    screen.blueMask = section.dsBitfields[2];
  }
  if (screen.redMask == 0) {
    // Uncompressed DIB sections use Windows' own layouts.
    std::fprintf(stderr, "Color masks are all zero . . . guessing . . .\n");
    if (depth == 24 || depth == 32) {
      screen.redMask = 0xFF0000;
      screen.greenMask = 0x00FF00;
      screen.blueMask = 0x0000FF;
    } else if (depth == 16) {
      screen.redMask = 0x7C00;
      screen.greenMask = 0x03E0;
      screen.blueMask = 0x001F;
    }
  }
  ScreenPalette paletteStorage;
  if (depth == 8) describeScreenPalette(device, framebuffer->dc, &paletteStorage, &screen);
  std::fprintf(stderr, "Creating viewport.\n");
  std::fprintf(stderr, "r = %08x, g = %08x, b = %08x\n", screen.redMask, screen.greenMask, screen.blueMask);

  const RukStatus status =
      createContext(device, out, &screen, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                    static_cast<uint8_t*>(bits), framebuffer->rowBytes, depthBuffer, accumBuffer);
  if (status != RUK_OK) {
    std::fprintf(stderr, "Failed.  Windows sucks.\n");
    *out = nullptr;
    return failCreation(framebuffer, status);
  }
  std::fprintf(stderr, "Successful!\n");
  (*out)->framebuffer = framebuffer;
  return RUK_OK;
}

void releaseFramebuffer(RukFramebuffer* framebuffer) {
  if (framebuffer == nullptr) return;
  if (framebuffer->bitmapInfo != nullptr) std::free(framebuffer->bitmapInfo);
  // The device context goes first: it releases the palette selected into it,
  // which can then be deleted.
  if (framebuffer->dc != 0) ReleaseDC(framebuffer->dcWindow, framebuffer->dc);
  if (framebuffer->bitmap != 0) DeleteObject(framebuffer->bitmap);
  if (framebuffer->palette != 0) DeleteObject(framebuffer->palette);
  std::free(framebuffer);
}

void disposeFramebuffer(RukContext* context) {
  if (context == nullptr) return;
  releaseFramebuffer(context->framebuffer);
  context->framebuffer = nullptr;
  context->colorBuffer = nullptr;
  // The init native allocated these with malloc; the context only uses them.
  std::free(context->depthBuffer);
  std::free(context->accumBuffer);
  context->depthBuffer = nullptr;
  context->accumBuffer = nullptr;
  context->bufferFlags = 0;
}

void presentFramebuffer(RukContext* context, HDC targetDc, HWND window, int32_t x, int32_t y) {
  if (context == nullptr || context->framebuffer == nullptr) return;
  RukFramebuffer* framebuffer = context->framebuffer;

  HDC target = targetDc;
  const HDC memory = CreateCompatibleDC(framebuffer->dc);
  if (window != 0) {
    target = GetDC(window);
    if (framebuffer->paintWindow == 0) framebuffer->paintWindow = window;
  }
  HPALETTE targetPalette = 0;
  if (framebuffer->depth == 8) {
    targetPalette = SelectPalette(target, framebuffer->palette, FALSE);
    RealizePalette(target);
  }
  const HGDIOBJ previous = SelectObject(memory, framebuffer->bitmap);
  BitBlt(target, x, y, framebuffer->width, framebuffer->height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  // The target keeps no hold on the framebuffer's palette, so the palette
  // can be deleted when the framebuffer goes.
  if (targetPalette != 0) SelectPalette(target, targetPalette, FALSE);
  if (window != 0 && target != 0) ReleaseDC(window, target);
}
