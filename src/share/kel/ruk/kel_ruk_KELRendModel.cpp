// Natives of kel.ruk.KELRendModel: the native record of a mesh whose arrays
// stay in Java, and the generation of its normals. Failures give false; only
// a stale or forged model reference, or a missing array that generated
// normals must be copied into, is the fatal report.
#include <algorithm>
#include <cstdint>

#include "model/model.h"
#include "runtime/memory.h"
#include "share/kel/binding.h"
#include "share/kel/ruk/java_fields.h"
#include "share/kel/ruk/native_checks.h"

namespace {

bool isNegative(uint32_t word) { return static_cast<int32_t>(word) < 0; }

// The Java arrays are as large as the object's kind and counts declare now;
// the record was made from those at init. Normals are generated only while
// the two agree, so that no array is read or written past what it holds.
bool shapeAsAtInit(const uint32_t* java, const RukModel* model) {
  return java[MODEL_PRIMITIVE_COUNT] == model->primitiveCount && java[MODEL_VERTEX_COUNT] == model->vertexCount &&
         modelTypeOfKind(static_cast<int32_t>(java[MODEL_PRIMITIVE_KIND])) == model->type;
}

bool kel_ruk_KELRendModel_init(JHandle self) {
  uint32_t* java = fieldsOf(self);
  const uint32_t primitiveCount = java[MODEL_PRIMITIVE_COUNT];
  const uint32_t vertexCount = java[MODEL_VERTEX_COUNT];
  const uint32_t normalCount = java[MODEL_NORMAL_COUNT];
  const uint32_t texCoordCount = java[MODEL_TEXCOORD_COUNT];
  if (isNegative(primitiveCount) || isNegative(vertexCount) || isNegative(normalCount) || isNegative(texCoordCount)) {
    return false;
  }
  const float* vertices = elementsOf<float>(java[MODEL_VERTICES]);
  if (vertexCount != 0 && vertices == nullptr) return false;
  RukModel* model = createModel(static_cast<int32_t>(java[MODEL_PRIMITIVE_KIND]), primitiveCount, vertexCount,
                                static_cast<int32_t>(java[MODEL_NORMAL_BINDING]), normalCount,
                                static_cast<int32_t>(java[MODEL_COLOR_BINDING]),
                                static_cast<int32_t>(java[MODEL_TEXCOORD_BINDING]), texCoordCount, vertices);
  if (model == nullptr) return false;
  java[MODEL_NATIVE_MODEL] = nativeRefIssue(NativeKind::Model, model);
  return true;
}

bool kel_ruk_KELRendModel_generateFaceNormals(JHandle self) {
  const uint32_t* java = fieldsOf(self);
  RukModel* model = optionalRecord<RukModel>(java[MODEL_NATIVE_MODEL], NativeKind::Model);
  if (model == nullptr) return false;
  const float* vertices = elementsOf<float>(java[MODEL_VERTICES]);
  const uint32_t* vertexIndices = elementsOf<uint32_t>(java[MODEL_VERTEX_INDICES]);
  float* faceNormals = elementsOf<float>(java[MODEL_FACE_NORMALS]);
  const bool computes = model->type == MODEL_TRIANGLES && model->primitiveCount != 0;
  if (computes && (vertices == nullptr || vertexIndices == nullptr || faceNormals == nullptr)) return false;
  if (computes && !shapeAsAtInit(java, model)) return false;
  return generateFaceNormals(model, vertices, vertexIndices, faceNormals);
}

bool kel_ruk_KELRendModel_generateVertexNormals(JHandle self, float angle) {
  uint32_t* java = fieldsOf(self);
  RukModel* model = optionalRecord<RukModel>(java[MODEL_NATIVE_MODEL], NativeKind::Model);
  if (model == nullptr) return false;
  const float* vertices = elementsOf<float>(java[MODEL_VERTICES]);
  const uint32_t* vertexIndices = elementsOf<uint32_t>(java[MODEL_VERTEX_INDICES]);
  const float* faceNormals = elementsOf<float>(java[MODEL_FACE_NORMALS]);
  const bool computes = model->type == MODEL_TRIANGLES && model->primitiveCount >= 2;
  if (computes && (vertices == nullptr || vertexIndices == nullptr || faceNormals == nullptr)) return false;
  if (computes && !shapeAsAtInit(java, model)) return false;
  auto* javaNormalCount = reinterpret_cast<int32_t*>(&java[MODEL_NORMAL_COUNT]);
  return generateVertexNormals(model, angle, vertices, vertexIndices, faceNormals, javaNormalCount);
}

void kel_ruk_KELRendModel_copyVertexNormals(JHandle self) {
  const uint32_t* java = fieldsOf(self);
  RukModel* model = requireRecord<RukModel>(java[MODEL_NATIVE_MODEL], NativeKind::Model);
  const auto normalCount = static_cast<int32_t>(java[MODEL_NORMAL_COUNT]);
  // Generated normals waiting for their arrays must not be lost.
  if (normalCount > 0 && model->normals != nullptr) {
    requireArgument(java[MODEL_NORMALS]);
    requireArgument(java[MODEL_NORMAL_INDICES]);
  }
  // The index array holds one index per corner of the primitives the object
  // declares now.
  const auto primitiveCount = static_cast<int32_t>(java[MODEL_PRIMITIVE_COUNT]);
  const uint64_t indexRoom =
      uint64_t{cornersPerPrimitive(modelTypeOfKind(static_cast<int32_t>(java[MODEL_PRIMITIVE_KIND])))} *
      static_cast<uint32_t>(std::max(primitiveCount, 0));
  copyVertexNormals(model, normalCount, elementsOf<float>(java[MODEL_NORMALS]),
                    elementsOf<uint32_t>(java[MODEL_NORMAL_INDICES]), indexRoom);
}

void kel_ruk_KELRendModel_dispose(JHandle self) {
  const uint32_t reference = fieldsOf(self)[MODEL_NATIVE_MODEL];
  if (reference == 0) {
    rukRelease(nullptr);  // a model never created: the release wrapper's report
    return;
  }
  RukModel* model = requireRecord<RukModel>(reference, NativeKind::Model);
  // The field keeps its value; the revoked reference makes any later use fatal.
  nativeRefRevoke(reference, NativeKind::Model);
  destroyModel(model);
}

}  // namespace

KELRUK_STUB(kel_ruk_KELRendModel_init)
KELRUK_STUB(kel_ruk_KELRendModel_generateFaceNormals)
KELRUK_STUB(kel_ruk_KELRendModel_generateVertexNormals)
KELRUK_STUB(kel_ruk_KELRendModel_copyVertexNormals)
KELRUK_STUB(kel_ruk_KELRendModel_dispose)
