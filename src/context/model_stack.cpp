// The model matrix stack and the texture matrix. Every transforming call
// writes a new top entry from the one below it, so a pop undoes exactly that
// call and entry 0, the identity, is never rewritten.
#include "context/model_stack.h"

#include <cstring>

#include "context/context.h"

namespace {

// Writes a new top entry with `build(previousTop, newTop)`; the previous top
// is not modified. Status 2, changing nothing, when the stack is full.
template <class Build>
RukStatus pushModelMatrix(RukContext* context, Build build) {
  if (context->modelDepth >= MODEL_STACK_DEPTH - 1) return RUK_ERR_STACK_FULL;
  const Matrix4* top = &context->modelStack[context->modelDepth];
  context->modelDepth += 1;
  build(top, &context->modelStack[context->modelDepth]);
  context->derivedDirty = 1;
  return RUK_OK;
}

void copyMatrix(Matrix4* to, const Matrix4* from) { std::memcpy(to, from, sizeof(Matrix4)); }

}  // namespace

RukStatus concatModelMatrix(RukContext* context, const Matrix4* m) {
  return pushModelMatrix(context, [&](const Matrix4* top, Matrix4* entry) { matrixMultiply(m, top, entry); });
}

RukStatus loadModelMatrix(RukContext* context, const Matrix4* m) {
  return pushModelMatrix(context, [&](const Matrix4*, Matrix4* entry) { copyMatrix(entry, m); });
}

RukStatus translateModel(RukContext* context, float x, float y, float z) {
  return pushModelMatrix(context, [&](const Matrix4* top, Matrix4* entry) { matrixTranslate2(top, entry, x, y, z); });
}

RukStatus doScaleModel(RukContext* context, float x, float y, float z) {
  return pushModelMatrix(context, [&](const Matrix4* top, Matrix4* entry) {
    // Equal factors keep the uniform-scale and conformal claims.
    if (y == x && z == x) {
      matrixIsotropicScale2(top, entry, x);
    } else {
      matrixScale2(top, entry, x, y, z);
    }
  });
}

RukStatus doRotateModel(RukContext* context, float x, float y, float z, float angle) {
  return pushModelMatrix(context,
                         [&](const Matrix4* top, Matrix4* entry) { matrixRotate2(top, entry, x, y, z, angle); });
}

RukStatus doQuatRotateModel(RukContext* context, const float* q) {
  return pushModelMatrix(context, [&](const Matrix4* top, Matrix4* entry) { matrixQuatRotate2(top, entry, q); });
}

RukStatus popModelMatrix(RukContext* context) {
  if (context->modelDepth == 0) return RUK_ERR_STACK_EMPTY;
  context->modelDepth -= 1;
  context->derivedDirty = 1;
  return RUK_OK;
}

RukStatus resetModelMatrix(RukContext* context) {
  if (context->modelDepth == 0) return RUK_OK;
  context->derivedDirty = 1;
  context->modelDepth = 0;
  return RUK_OK;
}

RukStatus doGetModelMatrix(const RukContext* context, Matrix4* out) {
  copyMatrix(out, currentModelMatrix(context));
  return RUK_OK;
}

RukStatus loadTextureMatrix(RukContext* context, const Matrix4* m) {
  copyMatrix(&context->textureMatrix, m);
  return RUK_OK;
}

RukStatus doGetTextureMatrix(const RukContext* context, Matrix4* out) {
  copyMatrix(out, &context->textureMatrix);
  return RUK_OK;
}
