// Saving surfaces as PNG files, read back with libpng.
#include <png.h>
#include <unistd.h>

#include <string>

#include "display_fixture.h"

namespace {

std::vector<unsigned char> readRgb(const std::string& path, png_uint_32* width, png_uint_32* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  *width = image.width;
  *height = image.height;
  return pixels;
}

std::string tempPath(const char* name) { return ::testing::TempDir() + name + std::to_string(getpid()) + ".png"; }

TEST_F(DisplayTest, WindowSavedAsPng) {
  const HWND window = displayCreateWindow(3, 2);
  displayFillWindow(window, 0x102030);
  // One different pixel, placed by a copy.
  DibInfo dib(1, -1, 32);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, &bits, 0, 0);
  *static_cast<uint32_t*>(bits) = 0xA0B0C0;
  const HDC memory = CreateCompatibleDC(0);
  SelectObject(memory, bitmap);
  BitBlt(GetDC(window), 2, 1, 1, 1, memory, 0, 0, SRCCOPY);

  const std::string path = tempPath("window");
  ASSERT_TRUE(displaySaveWindowPng(window, path.c_str()));
  png_uint_32 width = 0, height = 0;
  const std::vector<unsigned char> rgb = readRgb(path, &width, &height);
  unlink(path.c_str());
  ASSERT_EQ(width, 3u);
  ASSERT_EQ(height, 2u);
  const std::vector<unsigned char> expected = {0x10, 0x20, 0x30, 0x10, 0x20, 0x30, 0x10, 0x20, 0x30,
                                               0x10, 0x20, 0x30, 0x10, 0x20, 0x30, 0xA0, 0xB0, 0xC0};
  EXPECT_EQ(rgb, expected);
}

TEST_F(DisplayTest, SurfaceSavedAsPngAndFailures) {
  const HDC surface = displayCreateSurface(2, 1);
  displayFillSurface(surface, 0xFF00FF);
  const std::string path = tempPath("surface");
  ASSERT_TRUE(displaySaveSurfacePng(surface, path.c_str()));
  png_uint_32 width = 0, height = 0;
  const std::vector<unsigned char> rgb = readRgb(path, &width, &height);
  unlink(path.c_str());
  EXPECT_EQ(rgb, (std::vector<unsigned char>{0xFF, 0, 0xFF, 0xFF, 0, 0xFF}));

  EXPECT_FALSE(displaySaveSurfacePng(surface, "/nonexistent/dir/x.png"));
  EXPECT_FALSE(displaySaveWindowPng(0x1234, path.c_str()));
}

}  // namespace
