// The off-screen colour buffer of a context (a DIB section of the screen's
// depth) and its presentation in a window.
#pragma once
#include <cstdint>

#include "platform/win32.h"
#include "runtime/status.h"

struct RukContext;
struct RukDevice;

struct RukFramebuffer {
  int32_t width;
  int32_t height;
  uint32_t depth;     // bits per pixel of the screen and the DIB section
  void* bits;         // the DIB section's pixels, rows from the top down
  void* bitmapInfo;   // the BITMAPINFO the DIB section was made from; owned
  HBITMAP bitmap;     // the DIB section
  HDC dc;             // device context of the window active at creation
  HWND dcWindow;      // that window (0: the screen), for ReleaseDC
  HWND paintWindow;   // first window doPaint painted into; 0 until then
  HPALETTE palette;   // 256 explicit entries; depth 8 only
  uint32_t rowBytes;  // bytes from one pixel row to the next (rows padded to 4 bytes)
};

// Creates the DIB section and the context that draws into it; traces its
// progress on standard error. 0 with the new context in *out, or a status.
RukStatus CreateRukFramebuffer(RukDevice* device, RukContext** out, int32_t* depthBuffer, uint32_t* accumBuffer,
                               int32_t width, int32_t height);

// Releases everything creation obtained: the BITMAPINFO, the DIB section,
// the window's device context (ReleaseDC), the palette, and the record
// (used on creation failure and on dispose). Null is accepted.
void releaseFramebuffer(RukFramebuffer* framebuffer);

// Called by KELRendGraphics3D.dispose before the context is freed: releases
// the context's framebuffer and frees (with free) the depth and accumulation
// buffers the init native allocated, leaving those context fields null.
// Null is accepted.
void disposeFramebuffer(RukContext* context);

// Copies the whole image to (x, y) of the target: the window's device context
// when `window` is not 0, else `targetDc` (the toolkit graphics record's).
void presentFramebuffer(RukContext* context, HDC targetDc, HWND window, int32_t x, int32_t y);
