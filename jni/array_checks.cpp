#include "jni/array_checks.h"

#include <algorithm>

#include "jni/native_shapes.h"
#include "jni/roles.h"

namespace kelbridge {
namespace {

using namespace roles;

int64_t signedField(JHandle object, int field) { return static_cast<int32_t>(Call::fieldWord(object, field)); }

}  // namespace

void checkModelInit(Call& call, JHandle model) {
  const int64_t vertexCount = signedField(model, kModelVertexCount);
  if (vertexCount > 0) call.requireLength(Call::fieldWord(model, kModelVertices), 3 * vertexCount, "vertices");
}

void checkDrawnModel(Call& call, JHandle model) {
  if (model == 0 || Call::fieldWord(model, kModelReady) == 0) return;
  const auto shape = modelShape(Call::fieldWord(model, kModelNative));
  if (!shape) return;
  const int64_t primitives = signedField(model, kModelPrimitives);
  const int64_t vertices = signedField(model, kModelVertexCount);
  const int64_t normals = signedField(model, kModelNormalCount);
  const int64_t texCoords = signedField(model, kModelTexCoordCount);
  if (primitives < 0 || vertices < 0 || normals < 0 || texCoords < 0) return;
  const int64_t corners = primitives * shape->corners;
  const auto array = [&](int field) { return Call::fieldWord(model, field); };
  call.requireLength(array(kModelVertices), 3 * vertices, "vertices");
  call.requireLength(array(kModelVertexIndices), corners, "vertexIndices");
  call.requireLength(array(kModelNormals), 3 * normals, "normals");
  if (array(kModelNormals) != 0) call.requireLength(array(kModelNormalIndices), corners, "normalIndices");
  call.requireLength(array(kModelTexCoords), 2 * texCoords, "texCoords");
  if (array(kModelTexCoords) != 0) call.requireLength(array(kModelTexCoordIndices), corners, "texCoordIndices");
  if (shape->corners == 3) call.requireLength(array(kModelFaceNormals), 3 * primitives, "faceNormals");
  if (shape->colorBinding == 1) call.requireLength(array(kModelColors), primitives, "colors");
  if (shape->colorBinding == 2) call.requireLength(array(kModelColors), corners, "colors");
}

void checkNormalSources(Call& call, JHandle model) {
  const auto shape = modelShape(Call::fieldWord(model, kModelNative));
  if (!shape || shape->corners != 3) return;
  const uint64_t primitives = shape->primitiveCount;
  call.requireLength(Call::fieldWord(model, kModelVertices), 3 * uint64_t{shape->vertexCount}, "vertices");
  call.requireLength(Call::fieldWord(model, kModelVertexIndices), 3 * primitives, "vertexIndices");
  call.requireLength(Call::fieldWord(model, kModelFaceNormals), 3 * primitives, "faceNormals");
}

void checkNormalCopy(Call& call, JHandle model) {
  const auto shape = modelShape(Call::fieldWord(model, kModelNative));
  // A count of 0 or less copies nothing.
  const int64_t javaCount = signedField(model, kModelNormalCount);
  if (!shape || javaCount <= 0 || shape->generatedNormals == 0) return;
  const uint64_t copied = std::min<uint64_t>(static_cast<uint64_t>(javaCount), shape->generatedNormals);
  call.requireLength(Call::fieldWord(model, kModelNormals), 3 * copied, "normals");
  call.requireLength(Call::fieldWord(model, kModelNormalIndices), 3 * uint64_t{shape->primitiveCount}, "normalIndices");
}

void checkConversionSource(Call& call, JHandle texture, int32_t x, int32_t y, int32_t w, int32_t h, JHandle pixels,
                           int32_t offset, int32_t scansize) {
  if (texture == 0 || pixels == 0) return;
  const auto shape = textureShape(Call::fieldWord(texture, 10));
  if (!shape) return;
  // The part of the rectangle inside the texture, as the conversion clips it.
  const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + w, shape->width);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + h, shape->height);
  if (right <= left || bottom <= top) return;
  const int64_t first = offset + (top - y) * int64_t{scansize} + (left - x);
  const int64_t lastRow = (bottom - top - 1) * int64_t{scansize};
  const int64_t lowest = first + std::min<int64_t>(0, lastRow);
  const int64_t highest = first + std::max<int64_t>(0, lastRow) + (right - left) - 1;
  if (lowest < 0) {
    call.fail("java/lang/ArrayIndexOutOfBoundsException",
              "pixels: the rectangle starts at element " + std::to_string(lowest));
    return;
  }
  call.requireLength(pixels, static_cast<uint64_t>(highest) + 1, "pixels");
}

}  // namespace kelbridge
