// BitBlt from a DIB section into a surface: clipping, then one row loop per
// source format. Channel widening goes through small tables built once per
// call, so the inner loops are loads, shifts and table lookups only.
#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/display_state.h"

namespace kelplatform {
namespace {

// An n-bit channel widened to 8 bits by repeating its bits from the top:
// 5 bits abcde -> abcdeabc, 6 bits abcdef -> abcdefab.
uint32_t widen(uint32_t value, int bits) {
  if (bits >= 8) return value >> (bits - 8);
  uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = (out << bits) | value;
    filled += bits;
  }
  return out >> (filled - 8);
}

// One channel of a masked pixel: (pixel >> shift) & mask indexes `table`,
// which holds the widened intensity already at its place in 0x00RRGGBB.
struct Channel {
  int shift = 0;
  uint32_t mask = 0;
  std::array<uint32_t, 256> table{};

  Channel(uint32_t channelMask, int place) {
    if (channelMask == 0) return;
    shift = std::countr_zero(channelMask);
    int bits = 32 - std::countl_zero(channelMask) - shift;
    if (bits > 8) {  // keep the top eight bits
      shift += bits - 8;
      bits = 8;
    }
    mask = (1u << bits) - 1;
    for (uint32_t v = 0; v <= mask; ++v) table[v] = widen(v, bits) << place;
  }

  uint32_t operator()(uint32_t pixel) const { return table[(pixel >> shift) & mask]; }
};

struct MaskedDecoder {
  Channel red, green, blue;
  explicit MaskedDecoder(const std::array<uint32_t, 3>& masks)
      : red(masks[0], 16), green(masks[1], 8), blue(masks[2], 0) {}
  uint32_t operator()(uint32_t pixel) const { return red(pixel) | green(pixel) | blue(pixel); }
};

constexpr std::array<uint32_t, 3> kRedHigh888 = {0xFF0000u, 0x00FF00u, 0x0000FFu};

template <class RowFn>
void forRows(const Bitmap& source, int sourceX, int sourceY, Surface& target, int x, int y, int width, int height,
             RowFn convertRow) {
  const int bytesPerPixel = source.bitCount / 8;
  for (int row = 0; row < height; ++row) {
    const int sourceRow = sourceY + row;
    const int memoryRow = source.topDown ? sourceRow : source.height - 1 - sourceRow;
    const unsigned char* in = source.bits + static_cast<std::ptrdiff_t>(memoryRow) * source.stride +
                              static_cast<std::ptrdiff_t>(sourceX) * bytesPerPixel;
    uint32_t* out = target.pixels.data() + static_cast<std::size_t>(y + row) * static_cast<std::size_t>(target.width) +
                    static_cast<std::size_t>(x);
    convertRow(in, out, width);
  }
}

}  // namespace

void convertRect(const Bitmap& source, int sourceX, int sourceY, Surface& target, int x, int y, int width, int height,
                 const std::array<uint32_t, 256>& systemPalette) {
  switch (source.bitCount) {
    case 8: {
      std::array<uint32_t, 256> lut;
      for (std::size_t i = 0; i < 256; ++i) {
        const ColorSlot& slot = source.colorTable[i];
        lut[i] = slot.systemPalette ? systemPalette[slot.value & 0xFFu] : slot.value;
      }
      forRows(source, sourceX, sourceY, target, x, y, width, height,
              [&](const unsigned char* in, uint32_t* out, int n) {
                for (int i = 0; i < n; ++i) out[i] = lut[in[i]];
              });
      break;
    }
    case 16: {
      const MaskedDecoder decode(source.layoutMasks);
      forRows(source, sourceX, sourceY, target, x, y, width, height,
              [&](const unsigned char* in, uint32_t* out, int n) {
                for (int i = 0; i < n; ++i) {
                  uint16_t pixel;
                  std::memcpy(&pixel, in + 2 * i, 2);
                  out[i] = decode(pixel);
                }
              });
      break;
    }
    case 24:
    case 32: {
      const int step = source.bitCount / 8;
      if (source.layoutMasks == kRedHigh888) {
        forRows(source, sourceX, sourceY, target, x, y, width, height,
                [&](const unsigned char* in, uint32_t* out, int n) {
                  for (int i = 0; i < n; ++i) {
                    const unsigned char* p = in + step * i;
                    out[i] = uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
                  }
                });
      } else {
        const MaskedDecoder decode(source.layoutMasks);
        forRows(source, sourceX, sourceY, target, x, y, width, height,
                [&](const unsigned char* in, uint32_t* out, int n) {
                  for (int i = 0; i < n; ++i) {
                    const unsigned char* p = in + step * i;
                    uint32_t pixel = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
                    if (step == 4) pixel |= uint32_t{p[3]} << 24;
                    out[i] = decode(pixel);
                  }
                });
      }
      break;
    }
    default: break;
  }
}

}  // namespace kelplatform

using namespace kelplatform;

BOOL BitBlt(HDC targetHandle, int x, int y, int width, int height, HDC sourceHandle, int sourceX, int sourceY,
            DWORD rop) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (rop != SRCCOPY) {
    setLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DeviceContext* targetDc = d.deviceContext(targetHandle);
  const DeviceContext* sourceDc = d.deviceContext(sourceHandle);
  if (targetDc == nullptr || sourceDc == nullptr) {
    setLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  Surface* target = nullptr;
  if (targetDc->kind == DcKind::Toolkit) {
    target = &targetDc->surface;
  } else if (targetDc->kind == DcKind::Window) {
    Window* window = d.window(targetDc->window);
    if (window != nullptr) target = &window->surface;
  }
  const Bitmap* source = sourceDc->kind == DcKind::Memory ? d.bitmap(sourceDc->bitmap) : nullptr;
  if (target == nullptr || source == nullptr) {
    setLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }

  // Clip the rectangle to the target surface and to the source bitmap, in
  // 64 bits so that far-off coordinates cannot overflow.
  auto clip = [](int64_t& at, int64_t& from, int64_t& extent, int64_t targetExtent, int64_t sourceExtent) {
    const int64_t skip = std::max({int64_t{0}, -at, -from});
    at += skip;
    from += skip;
    extent -= skip;
    extent = std::min({extent, targetExtent - at, sourceExtent - from});
  };
  int64_t tx = x, ty = y, sx = sourceX, sy = sourceY, w = width, h = height;
  clip(tx, sx, w, target->width, source->width);
  clip(ty, sy, h, target->height, source->height);
  if (w > 0 && h > 0) {
    convertRect(*source, static_cast<int>(sx), static_cast<int>(sy), *target, static_cast<int>(tx),
                static_cast<int>(ty), static_cast<int>(w), static_cast<int>(h), d.systemPalette);
  }
  return TRUE;
}
