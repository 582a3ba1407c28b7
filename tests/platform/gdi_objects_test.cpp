// Windows, device contexts, palettes and selection: what each call returns,
// stale handles, failure injection and live-object counts.
#include <thread>

#include "display_fixture.h"

namespace {

TEST_F(DisplayTest, ActiveWindowAndItsDeviceContext) {
  EXPECT_EQ(GetActiveWindow(), 0u);
  const HWND window = displayCreateWindow(4, 4);
  EXPECT_EQ(GetActiveWindow(), 0u) << "a new window is not active";
  ASSERT_TRUE(displayActivateWindow(window));
  EXPECT_EQ(GetActiveWindow(), window);
  const HDC dc = GetDC(GetActiveWindow());
  ASSERT_NE(dc, 0u);
  EXPECT_EQ(displayCounts().deviceContexts, 1);
  EXPECT_EQ(ReleaseDC(window + 4, dc), 0) << "released only for its own window";
  EXPECT_EQ(ReleaseDC(window, dc), 1);
  EXPECT_EQ(ReleaseDC(window, dc), 0);
  EXPECT_EQ(displayCounts().deviceContexts, 0);

  EXPECT_TRUE(displayDestroyWindow(window));
  EXPECT_EQ(GetActiveWindow(), 0u);
  EXPECT_EQ(GetDC(window), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_FALSE(displayActivateWindow(window));
  EXPECT_EQ(displayWindowPixel(window, 0, 0), DISPLAY_NO_PIXEL);
}

TEST_F(DisplayTest, ScreenDeviceContextWithoutActiveWindow) {
  const HDC screen = GetDC(GetActiveWindow());
  ASSERT_NE(screen, 0u);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
  EXPECT_TRUE(DeleteDC(screen));
  EXPECT_EQ(displayCounts().deviceContexts, 0);
}

TEST_F(DisplayTest, GetDCOfTheActiveWindowCanBeMadeToFail) {
  const HWND window = displayCreateWindow(4, 4);
  const HWND other = displayCreateWindow(4, 4);
  displayActivateWindow(window);
  displayFailGetDCOfActiveWindow(TRUE);
  EXPECT_EQ(GetDC(GetActiveWindow()), 0u);
  EXPECT_EQ(GetLastError(), ERROR_DC_NOT_FOUND);
  EXPECT_NE(GetDC(other), 0u);
  displayActivateWindow(0);
  EXPECT_EQ(GetDC(GetActiveWindow()), 0u) << "with no active window the screen's is refused";
  displayFailGetDCOfActiveWindow(FALSE);
  EXPECT_NE(GetDC(GetActiveWindow()), 0u);
}

TEST_F(DisplayTest, DeviceCapsReportTheDepth) {
  const HDC dc = GetDC(0);
  for (int depth : {8, 16, 24, 32, 15}) {
    displaySetDepth(depth);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), depth);
  }
  EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
  EXPECT_EQ(GetDeviceCaps(dc, 999), 0);
  EXPECT_EQ(GetDeviceCaps(0x4444, BITSPIXEL), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(DisplayTest, PaletteSelectionReturnsThePreviousOne) {
  const HDC dc = GetDC(0);
  const PaletteBlock block = explicitPalette();
  const HPALETTE first = CreatePalette(block.logical());
  const HPALETTE second = CreatePalette(block.logical());
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, first);
  EXPECT_EQ(displayCounts().palettes, 2);

  const HPALETTE original = SelectPalette(dc, first, FALSE);
  EXPECT_NE(original, 0u) << "a device context starts with the default palette";
  EXPECT_EQ(RealizePalette(dc), 256u);
  EXPECT_EQ(SelectPalette(dc, second, TRUE), first);
  EXPECT_EQ(SelectPalette(dc, original, FALSE), second);
  EXPECT_EQ(RealizePalette(dc), 0u);

  WORD entries = 0;
  EXPECT_EQ(GetObjectA(first, sizeof entries, &entries), 2);
  EXPECT_EQ(entries, 256);

  // A palette selected into a device context is not deleted.
  SelectPalette(dc, first, FALSE);
  EXPECT_FALSE(DeleteObject(first));
  EXPECT_TRUE(DeleteObject(second));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(first)) << "deleting the device context unselected it";
  EXPECT_EQ(displayCounts().palettes, 0);
  EXPECT_EQ(SelectPalette(dc, first, FALSE), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(DisplayTest, PaletteCreationChecksItsBlock) {
  PaletteBlock block = explicitPalette();
  block.version = 0x200;
  EXPECT_EQ(CreatePalette(block.logical()), 0u);
  block.version = 0x300;
  block.count = 0;
  EXPECT_EQ(CreatePalette(block.logical()), 0u);
  EXPECT_EQ(CreatePalette(nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(DisplayTest, BitmapSelectionIntoMemoryDeviceContexts) {
  DibInfo dib(4, -4, 32);
  const HBITMAP bitmap = CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, nullptr, 0, 0);
  const HDC memory = CreateCompatibleDC(0);
  const HDC other = CreateCompatibleDC(memory);
  const HDC window = GetDC(displayCreateWindow(2, 2));

  const HGDIOBJ stock = SelectObject(memory, bitmap);
  EXPECT_NE(stock, 0u) << "a memory device context starts with the stock bitmap";
  EXPECT_NE(stock, bitmap);
  EXPECT_EQ(SelectObject(other, bitmap), 0u) << "a bitmap sits in one device context at a time";
  EXPECT_EQ(SelectObject(window, bitmap), 0u) << "a window's device context takes no bitmap";
  EXPECT_FALSE(DeleteObject(bitmap)) << "still selected";
  EXPECT_EQ(SelectObject(memory, stock), bitmap);
  EXPECT_EQ(SelectObject(other, bitmap), stock);

  BITMAP plain{};
  EXPECT_EQ(GetObjectA(stock, sizeof plain, &plain), 24);
  EXPECT_EQ(plain.bmWidth, 1);

  EXPECT_TRUE(DeleteDC(other));
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(stock)) << "stock objects survive deletion";
  EXPECT_EQ(SelectObject(memory, bitmap), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SelectObject(0x5555, stock), 0u);
  EXPECT_EQ(CreateCompatibleDC(0x5555), 0u);
  EXPECT_FALSE(DeleteDC(0x5555));
}

TEST_F(DisplayTest, CountsTrackLiveObjectsAndResetClearsThem) {
  const HWND window = displayCreateWindow(2, 2);
  const HDC surface = displayCreateSurface(2, 2);
  const HDC dc = GetDC(window);
  const HDC memory = CreateCompatibleDC(dc);
  DibInfo dib(2, 2, 16);
  CreateDIBSection(dc, dib.info(), DIB_RGB_COLORS, nullptr, 0, 0);
  const PaletteBlock block = explicitPalette();
  CreatePalette(block.logical());

  DisplayCounts counts = displayCounts();
  EXPECT_EQ(counts.windows, 1);
  EXPECT_EQ(counts.surfaces, 1);
  EXPECT_EQ(counts.deviceContexts, 2);
  EXPECT_EQ(counts.bitmaps, 1);
  EXPECT_EQ(counts.palettes, 1);
  EXPECT_FALSE(DeleteDC(surface)) << "a surface's device context belongs to the surface";

  displayReset();
  counts = displayCounts();
  EXPECT_EQ(counts.windows + counts.surfaces + counts.deviceContexts + counts.bitmaps + counts.palettes, 0);
  EXPECT_FALSE(DeleteDC(memory));
  EXPECT_FALSE(displayDestroySurface(surface));
  EXPECT_EQ(displayDepth(), 32);
  EXPECT_EQ(displaySystemPaletteEntry(215), 0xFFFFFFu);
}

TEST_F(DisplayTest, DefaultSystemPaletteIsACubeAndGreys) {
  EXPECT_EQ(displaySystemPaletteEntry(0), 0x000000u);
  EXPECT_EQ(displaySystemPaletteEntry(1), 0x000033u);
  EXPECT_EQ(displaySystemPaletteEntry(6), 0x003300u);
  EXPECT_EQ(displaySystemPaletteEntry(36), 0x330000u);
  EXPECT_EQ(displaySystemPaletteEntry(216), 0x000000u);
  EXPECT_EQ(displaySystemPaletteEntry(255), 0xFFFFFFu);
  EXPECT_EQ(displaySystemPaletteEntry(256), DISPLAY_NO_PIXEL);
}

TEST_F(DisplayTest, LastErrorBelongsToTheThread) {
  SetLastError(77);
  DWORD seen = 0;
  std::thread([&] { seen = GetLastError(); }).join();
  EXPECT_EQ(seen, 0u);
  EXPECT_EQ(GetLastError(), 77u);
  EXPECT_TRUE(DisableThreadLibraryCalls(0));
}

}  // namespace
