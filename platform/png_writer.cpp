// Saving a surface as an 8-bit RGB PNG file with libpng's simplified API.
#include <png.h>

#include <cstring>
#include <vector>

#include "platform/display_state.h"

namespace kelplatform {

bool writePng(const Surface& surface, const char* path) {
  if (path == nullptr) return false;
  std::vector<unsigned char> rgb(surface.pixels.size() * 3);
  for (std::size_t i = 0; i < surface.pixels.size(); ++i) {
    const uint32_t pixel = surface.pixels[i];
    rgb[3 * i] = static_cast<unsigned char>(pixel >> 16);
    rgb[3 * i + 1] = static_cast<unsigned char>(pixel >> 8);
    rgb[3 * i + 2] = static_cast<unsigned char>(pixel);
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.width);
  image.height = static_cast<png_uint_32>(surface.height);
  image.format = PNG_FORMAT_RGB;
  const int ok = png_image_write_to_file(&image, path, 0, rgb.data(), 0, nullptr);
  png_image_free(&image);
  return ok != 0;
}

}  // namespace kelplatform
