// Texture records: creation and release.
#include "texture/texture.h"

#include <atomic>
#include <bit>
#include <cstring>
#include <new>

#include "runtime/memory.h"

struct RukTexelHolders {
  std::atomic<uint32_t> count;
  uint32_t* texels;
};

namespace {

bool isPowerOfTwo(uint32_t side) { return side != 0 && std::has_single_bit(side); }

void hold(RukTexelHolders* holders) {
  if (holders != nullptr) holders->count.fetch_add(1, std::memory_order_relaxed);
}

void letGo(RukTexelHolders* holders) {
  if (holders == nullptr || holders->count.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  rukRelease(holders->texels);
  holders->~RukTexelHolders();
  rukRelease(holders);
}

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
  texture->holders = new (rukAllocate(sizeof(RukTexelHolders))) RukTexelHolders{{1}, texture->texels};
  *out = texture;
  return RUK_OK;
}

RukStatus destroyTexture(RukDevice* /*device*/, RukTexture* texture) {
  if (texture == nullptr) return RUK_OK;
  if (texture->holders != nullptr) {
    letGo(texture->holders);
  } else if (texture->texels != nullptr) {
    rukRelease(texture->texels);
  }
  rukRelease(texture);
  return RUK_OK;
}

void shareTexture(RukTexture* copy, const RukTexture* textureOrNull) {
  // Hold the new texels before letting go of the old: sharing the same
  // texture again must not free them in between.
  RukTexelHolders* previous = copy->holders;
  if (textureOrNull != nullptr) {
    hold(textureOrNull->holders);
    *copy = *textureOrNull;
  } else {
    copy->texels = nullptr;
    copy->holders = nullptr;
  }
  letGo(previous);
}

void unshareTexture(RukTexture* copy) {
  letGo(copy->holders);
  copy->texels = nullptr;
  copy->holders = nullptr;
}
