// A context assembled by hand for tests of the geometry pipeline's stages:
// default attributes and material, the default perspective projection of a
// square context, the identity model matrix, no buffers and no rasterizers.
#pragma once
#include <bit>
#include <cmath>
#include <memory>
#include <vector>

#include "context/context.h"
#include "device/product_table.h"
#include "matrix/matrix.h"

struct HandContext {
  std::unique_ptr<RukContext> owner = std::make_unique<RukContext>();
  std::vector<BatchEntry> batch = std::vector<BatchEntry>(BATCH_CAPACITY);
  RukContext* context = owner.get();

  HandContext() {
    buildProductTable();
    RukContext& c = *context;
    c.width = 64;
    c.height = 64;
    c.pitch = 64;
    c.batch = batch.data();
    c.batchCapacity = BATCH_CAPACITY;
    c.batchCount = 0;
    static constexpr uint32_t intDefaults[ATTRIBUTE_COUNT] = {1, 1, 2, 1, 1, 1, 1, 1, 0, 0,
                                                              0, 1, 1, 1, 0, 2, 0, 0, 2, 0};
    for (uint32_t id = 0; id < ATTRIBUTE_COUNT; ++id) c.attributes[id] = intDefaults[id];
    setFloat(ATTR_CLEAR_DEPTH, 1000000.0f);
    setFloat(ATTR_FOG_START, 1.0f);
    setFloat(ATTR_FOG_END, 1000000.0f);
    setFloat(ATTR_FOG_DENSITY, 0.0f);
    c.material = RukMaterial{0, 0x333333, 0xCCCCCC, 0, 0.0f, 255};
    c.lightCount = 0;
    c.ambientLight = 0;
    c.perspective = 1;
    c.nearZ = 1.0f;
    c.farZ = 1000.0f;
    c.yLimit = static_cast<float>(std::tan(0.7853982f / 2.0));
    c.xLimit = c.yLimit;
    c.modelDepth = 0;
    matrixIdentity(&c.modelStack[0]);
    matrixIdentity(&c.textureMatrix);
    c.derivedDirty = 1;
    c.bufferFlags = 0;
  }

  void setFloat(uint32_t id, float value) { context->attributes[id] = std::bit_cast<uint32_t>(value); }

  // Replaces the model matrix by a translation (hints left without claims).
  void translateModelBy(float x, float y, float z) {
    Matrix4& top = context->modelStack[++context->modelDepth];
    matrixIdentity(&top);
    top.m[12] = x;
    top.m[13] = y;
    top.m[14] = z;
    top.hints = MATRIX_AFFINE;
    context->derivedDirty = 1;
  }
};
