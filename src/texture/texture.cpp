// Texture records: creation and release.
#include "texture/texture.h"

#include <bit>
#include <cstring>

#include "runtime/memory.h"

namespace {

bool isPowerOfTwo(uint32_t side) { return side != 0 && std::has_single_bit(side); }

}  // namespace

RukStatus createTexture(RukDevice* /*device*/, RukTexture** out, uint32_t width, uint32_t height) {
  *out = nullptr;
  if (!isPowerOfTwo(width) || !isPowerOfTwo(height)) return RUK_ERR_NOT_POWER_OF_TWO;
  // The texel block's byte size must fit the allocator's 32-bit sizes.
  const uint64_t texelCount = uint64_t{width} * height;
  if (texelCount > UINT32_MAX / sizeof(uint32_t)) return RUK_ERR_ALLOCATION;
  const auto bytes = static_cast<uint32_t>(texelCount * sizeof(uint32_t));

  auto* texture = static_cast<RukTexture*>(rukAllocate(sizeof(RukTexture)));
  texture->width = width;
  texture->height = height;
  texture->log2Width = static_cast<uint32_t>(std::countr_zero(width));
  texture->log2Height = static_cast<uint32_t>(std::countr_zero(height));
  texture->texels = static_cast<uint32_t*>(rukAllocate(bytes));
  std::memset(texture->texels, 0xFF, bytes);  // opaque white
  *out = texture;
  return RUK_OK;
}

RukStatus destroyTexture(RukDevice* /*device*/, RukTexture* texture) {
  if (texture == nullptr) return RUK_OK;
  if (texture->texels != nullptr) rukRelease(texture->texels);
  rukRelease(texture);
  return RUK_OK;
}

