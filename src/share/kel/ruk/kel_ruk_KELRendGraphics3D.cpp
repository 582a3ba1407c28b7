// Natives of kel.ruk.KELRendGraphics3D: a rendering context, its state and
// drawing. Each resolves the object's context reference, checks its
// arguments, maps Java constants to attribute values and calls one worker; a
// failed check or a nonzero status is the fatal report.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "context/attributes.h"
#include "context/buffer_ops.h"
#include "context/context.h"
#include "context/model_stack.h"
#include "device/framebuffer.h"
#include "pipeline/lighting.h"
#include "pipeline/pick.h"
#include "pipeline/render.h"
#include "share/kel/binding.h"
#include "share/kel/ruk/java_fields.h"
#include "share/kel/ruk/native_checks.h"
#include "texture/texture.h"

namespace {

// Buffer flag values of init.
constexpr int32_t INIT_DEPTH_BUFFER = 2;
constexpr int32_t INIT_ACCUM_BUFFER = 4;

// Java constants to attribute values.
constexpr uint32_t RENDER_MODE_OF[3] = {RENDER_FILLED, RENDER_EDGES, RENDER_POINTS};
constexpr uint32_t SHADE_MODE_OF[3] = {0, 1, 2};
constexpr uint32_t TEXTURE_BLEND_OF[3] = {0, 2, 1};
constexpr uint32_t FEATURE_COUNT = 8;
constexpr uint32_t TEXTURE_FILTER_COUNT = 6;
constexpr uint32_t MATERIAL_COLOR_COUNT = 4;

RukContext* contextOf(JHandle graphics, CheckSite site = CheckSite::current()) {
  return requireRecord<RukContext>(fieldsOf(graphics)[GRAPHICS3D_CONTEXT], NativeKind::Context, site);
}

// Java Matrix4, Quaternion and Vector3 field blocks have the library's layouts.
Matrix4* matrixOf(JHandle matrix) { return reinterpret_cast<Matrix4*>(fieldsOf(matrix)); }
float* floatsOf(JHandle object) { return reinterpret_cast<float*>(fieldsOf(object)); }

void storeFloats(JHandle object, const float* values, int count) {
  uint32_t* fields = fieldsOf(object);
  for (int i = 0; i < count; ++i) setFieldFloat(fields, i, values[i]);
}

// Colours a primitive takes under a colour binding.
uint32_t colorsPerPrimitive(uint32_t colorBinding, uint32_t corners) {
  return colorBinding == BINDING_PER_CORNER ? corners : colorBinding == BINDING_PER_PRIMITIVE ? 1 : 0;
}

// True when drawing by the record's kind and colour binding reads no more
// corners and colours per primitive than the Java object's declare.
bool fitsDeclaredShape(const uint32_t* java, const RukModel* record) {
  const uint32_t javaCorners = cornersPerPrimitive(modelTypeOfKind(static_cast<int32_t>(java[MODEL_PRIMITIVE_KIND])));
  const uint32_t javaColors =
      colorsPerPrimitive(colorBindingOf(static_cast<int32_t>(java[MODEL_COLOR_BINDING])), javaCorners);
  const uint32_t corners = cornersPerPrimitive(record->type);
  return corners <= javaCorners && colorsPerPrimitive(record->colorBinding, corners) <= javaColors;
}

// The packet of one render or pick: the record's kind, bindings and bounds,
// and the Java model's counts and arrays. Arrays the counts and bindings call
// for must be present; optional ones are null when absent, and the index
// arrays of normals and texture coordinates go with their arrays.
ModelPacket buildModelPacket(JHandle model) {
  const uint32_t* java = fieldsOf(model);
  const RukModel* record = requireRecord<RukModel>(java[MODEL_NATIVE_MODEL], NativeKind::Model);
  ModelPacket packet{};
  packet.type = record->type;
  packet.colorBinding = record->colorBinding;
  packet.normalBinding = record->normalBinding;
  packet.texCoordBinding = record->texCoordBinding;
  std::copy_n(record->boundsCentre, 3, packet.boundsCentre);
  std::copy_n(record->boundsHalf, 3, packet.boundsHalf);
  packet.primitiveCount = java[MODEL_PRIMITIVE_COUNT];
  packet.vertexCount = java[MODEL_VERTEX_COUNT];
  packet.texCoordCount = java[MODEL_TEXCOORD_COUNT];
  packet.vertices = elementsOf<float>(java[MODEL_VERTICES]);
  packet.normals = elementsOf<float>(java[MODEL_NORMALS]);
  packet.texCoords = elementsOf<float>(java[MODEL_TEXCOORDS]);
  packet.faceNormals = elementsOf<float>(java[MODEL_FACE_NORMALS]);
  packet.vertexIndices = elementsOf<uint32_t>(java[MODEL_VERTEX_INDICES]);
  packet.colors = elementsOf<uint32_t>(java[MODEL_COLORS]);
  if (packet.normals != nullptr) {
    packet.normalCount = java[MODEL_NORMAL_COUNT];
    packet.normalIndices = elementsOf<uint32_t>(java[MODEL_NORMAL_INDICES]);
  }
  if (packet.texCoords != nullptr) packet.texCoordIndices = elementsOf<uint32_t>(java[MODEL_TEXCOORD_INDICES]);

  // Arrays that the counts and bindings call for must be there.
  const bool corners = packet.primitiveCount != 0;
  const uint32_t allCounts = packet.primitiveCount | packet.vertexCount | packet.normalCount | packet.texCoordCount;
  requireThat(static_cast<int32_t>(allCounts) >= 0, "kelruk: negative model count at");
  requireThat(packet.vertexCount == 0 || packet.vertices, "kelruk: model without vertices at");
  requireThat(!corners || packet.vertexIndices, "kelruk: model without vertex indices at");
  requireThat(!corners || !packet.colorBinding || packet.colors, "kelruk: model without its colours at");
  requireThat(!corners || !packet.normals || packet.normalIndices, "kelruk: model without normal indices at");
  const bool texCoordsIndexed = !corners || !packet.texCoords || packet.texCoordIndices;
  requireThat(texCoordsIndexed, "kelruk: model without texture-coordinate indices at");
  // The object's kind and colour binding now say how many corners and
  // colours its arrays hold; the record draws by those it took at init.
  requireThat(fitsDeclaredShape(java, record), "kelruk: model kind or colour binding changed since init at");
  return packet;
}

// --- Lifecycle -------------------------------------------------------------

bool kel_ruk_KELRendGraphics3D_init(JHandle self, int32_t bufferFlags, int32_t width, int32_t height) {
  uint32_t* fields = fieldsOf(self);
  requireArgument(fields[GRAPHICS3D_DEVICE]);
  RukDevice* device =
      optionalRecord<RukDevice>(fieldsOf(fields[GRAPHICS3D_DEVICE])[DEVICE_NATIVE_DEVICE], NativeKind::Device);
  fields[GRAPHICS3D_CONTEXT] = 0;

  // Depth and accumulation buffers are width x height words; a size that is
  // negative or whose byte count does not fit in 32 bits gets no context.
  if (width < 0 || height < 0) return false;
  const uint64_t bytes = uint64_t(uint32_t(width)) * uint32_t(height) * 4;
  if (bytes > UINT32_MAX) return false;
  // A new depth buffer holds the farthest depth and a new accumulation
  // buffer zero, so a frame drawn or accumulated before the first clear
  // never shows what the heap held before.
  const size_t pixels = bytes / 4;
  // Depth rows start on cache lines where the colour buffer's do, so that
  // the scan converters' aligned blocks of depths are whole lines too.
  const size_t depthBytes = std::max<size_t>((bytes + 63) / 64 * 64, 64);
  auto* depthBuffer =
      (bufferFlags & INIT_DEPTH_BUFFER) ? static_cast<int32_t*>(std::aligned_alloc(64, depthBytes)) : nullptr;
  if (depthBuffer != nullptr) std::fill_n(depthBuffer, pixels, INT32_MAX);
  auto* accumBuffer = (bufferFlags & INIT_ACCUM_BUFFER) ? static_cast<uint32_t*>(std::calloc(pixels, 4)) : nullptr;

  RukContext* context = nullptr;
  if (CreateRukFramebuffer(device, &context, depthBuffer, accumBuffer, width, height) != RUK_OK) {
    std::free(depthBuffer);
    std::free(accumBuffer);
    return false;
  }
  fields[GRAPHICS3D_CONTEXT] = nativeRefIssue(NativeKind::Context, context);
  return true;
}

void kel_ruk_KELRendGraphics3D_dispose(JHandle self) {
  const uint32_t reference = fieldsOf(self)[GRAPHICS3D_CONTEXT];
  if (reference == 0) return;  // init failed: there is nothing to free
  RukContext* context = requireRecord<RukContext>(reference, NativeKind::Context);
  // The field keeps its value; the revoked reference makes any later use fatal.
  nativeRefRevoke(reference, NativeKind::Context);
  disposeFramebuffer(context);
  requireOk(freeContext(context), nullptr);
}

void kel_ruk_KELRendGraphics3D_beginRendering(JHandle self) {
  RukContext* context = contextOf(self);
  requireOk(beginRendering(context), context);
}

void kel_ruk_KELRendGraphics3D_endRendering(JHandle self) {
  RukContext* context = contextOf(self);
  requireOk(endRendering(context), context);
}

void kel_ruk_KELRendGraphics3D_doPaint(JHandle self, JHandle graphics, int32_t x, int32_t y) {
  RukContext* context = contextOf(self);
  requireArgument(graphics);
  const uint32_t record = fieldsOf(graphics)[GRAPHICS_NATIVE_RECORD];
  const HDC target = record == 0 ? 0 : *reinterpret_cast<const uint32_t*>(static_cast<uintptr_t>(record));
  presentFramebuffer(context, target, fieldsOf(self)[GRAPHICS3D_WINDOW], x, y);
}

// --- Drawing and picking ---------------------------------------------------

void kel_ruk_KELRendGraphics3D_doRender(JHandle self, JHandle model) {
  RukContext* context = contextOf(self);
  requireArgument(model);
  if (fieldsOf(model)[MODEL_READY] == 0) return;
  const ModelPacket packet = buildModelPacket(model);
  requireOk(renderModel(context, &packet), context);
}

bool kel_ruk_KELRendGraphics3D_doRayPick(JHandle self, JHandle model, JHandle ray, JHandle result) {
  RukContext* context = contextOf(self);
  requireArgument(model);
  requireArgument(ray);
  requireArgument(result);
  if (fieldsOf(model)[MODEL_READY] == 0) return false;
  const uint32_t* rayFields = fieldsOf(ray);
  requireArgument(rayFields[RAY_ORIGIN]);
  requireArgument(rayFields[RAY_DIRECTION]);

  uint32_t* out = fieldsOf(result);
  RukHitRecord hit{};
  hit.request = out[PICK_RESULT_REQUEST];
  hit.distance = fieldFloat(out, PICK_RESULT_DISTANCE);
  // Every output asked for must have somewhere to go before the pick runs.
  if (hit.request & PICK_POINT) requireArgument(out[PICK_RESULT_POINT]);
  if (hit.request & PICK_NORMAL) requireArgument(out[PICK_RESULT_NORMAL]);
  if (hit.request & PICK_TEXCOORDS) requireArgument(out[PICK_RESULT_TEXCOORDS]);

  const ModelPacket packet = buildModelPacket(model);
  uint32_t hitCount = 0;
  const float* origin = floatsOf(rayFields[RAY_ORIGIN]);
  const float* direction = floatsOf(rayFields[RAY_DIRECTION]);
  requireOk(pickModel(context, &packet, origin, direction, &hitCount, &hit), context);
  if (hitCount == 0) return false;

  setFieldFloat(out, PICK_RESULT_DISTANCE, hit.distance);
  if (hit.request & PICK_POINT) storeFloats(out[PICK_RESULT_POINT], hit.point, 3);
  if (hit.request & PICK_NORMAL) storeFloats(out[PICK_RESULT_NORMAL], hit.normal, 3);
  if (hit.request & PICK_TEXCOORDS) {
    const float uv[2] = {hit.u, hit.v};
    storeFloats(out[PICK_RESULT_TEXCOORDS], uv, 2);
  }
  return true;
}

// --- Model matrix stack, texture matrix, projection ------------------------

void kel_ruk_KELRendGraphics3D_concatModelMatrix(JHandle self, JHandle m) {
  RukContext* context = contextOf(self);
  requireArgument(m);
  requireOk(concatModelMatrix(context, matrixOf(m)), context);
}

void kel_ruk_KELRendGraphics3D_loadModelMatrix(JHandle self, JHandle m) {
  RukContext* context = contextOf(self);
  requireArgument(m);
  requireOk(loadModelMatrix(context, matrixOf(m)), context);
}

void kel_ruk_KELRendGraphics3D_popModelMatrix(JHandle self) {
  RukContext* context = contextOf(self);
  requireOk(popModelMatrix(context), context);
}

void kel_ruk_KELRendGraphics3D_resetModelMatrix(JHandle self) {
  RukContext* context = contextOf(self);
  requireOk(resetModelMatrix(context), context);
}

void kel_ruk_KELRendGraphics3D_translateModel(JHandle self, float x, float y, float z) {
  RukContext* context = contextOf(self);
  requireOk(translateModel(context, x, y, z), context);
}

void kel_ruk_KELRendGraphics3D_doScaleModel(JHandle self, float x, float y, float z) {
  RukContext* context = contextOf(self);
  requireOk(doScaleModel(context, x, y, z), context);
}

void kel_ruk_KELRendGraphics3D_doRotateModel(JHandle self, float x, float y, float z, float angle) {
  RukContext* context = contextOf(self);
  requireOk(doRotateModel(context, x, y, z, angle), context);
}

void kel_ruk_KELRendGraphics3D_doQuatRotateModel(JHandle self, JHandle q) {
  RukContext* context = contextOf(self);
  requireArgument(q);
  requireOk(doQuatRotateModel(context, floatsOf(q)), context);
}

void kel_ruk_KELRendGraphics3D_doGetModelMatrix(JHandle self, JHandle out) {
  RukContext* context = contextOf(self);
  requireArgument(out);
  requireOk(doGetModelMatrix(context, matrixOf(out)), context);
}

void kel_ruk_KELRendGraphics3D_loadTextureMatrix(JHandle self, JHandle m) {
  RukContext* context = contextOf(self);
  requireArgument(m);
  requireOk(loadTextureMatrix(context, matrixOf(m)), context);
}

void kel_ruk_KELRendGraphics3D_doGetTextureMatrix(JHandle self, JHandle out) {
  RukContext* context = contextOf(self);
  requireArgument(out);
  requireOk(doGetTextureMatrix(context, matrixOf(out)), context);
}

void kel_ruk_KELRendGraphics3D_doSetPerspectiveProjection(JHandle self, float fov, float aspect, float nearZ,
                                                          float farZ) {
  RukContext* context = contextOf(self);
  requireOk(doSetPerspectiveProjection(context, fov, aspect, nearZ, farZ), context);
}

void kel_ruk_KELRendGraphics3D_doSetOrthographicProjection(JHandle self, float halfWidth, float halfHeight, float nearZ,
                                                           float farZ) {
  RukContext* context = contextOf(self);
  requireOk(doSetOrthographicProjection(context, halfWidth, halfHeight, nearZ, farZ), context);
}

// --- Material and lights ---------------------------------------------------

void kel_ruk_KELRendGraphics3D_setMaterial(JHandle self, JHandle material) {
  RukContext* context = contextOf(self);
  requireArgument(material);
  const uint32_t* m = fieldsOf(material);
  requireOk(setMaterial(context, m[MATERIAL_EMISSION] & 0xFFFFFF, m[MATERIAL_AMBIENT] & 0xFFFFFF,
                        m[MATERIAL_DIFFUSE] & 0xFFFFFF, m[MATERIAL_SPECULAR] & 0xFFFFFF,
                        fieldFloat(m, MATERIAL_SHININESS), m[MATERIAL_ALPHA]),
            context);
}

void kel_ruk_KELRendGraphics3D_setModifiedMaterialColor(JHandle self, int32_t which) {
  RukContext* context = contextOf(self);
  const uint32_t materialColor = requireBelow(which, MATERIAL_COLOR_COUNT);
  requireOk(setAttributeEnum(context, ATTR_COLOR_MATERIAL, materialColor), context);
}

void kel_ruk_KELRendGraphics3D_pushDirectionalLight(JHandle self, JHandle light) {
  RukContext* context = contextOf(self);
  requireArgument(light);
  const uint32_t* l = fieldsOf(light);
  requireArgument(l[LIGHT_POSITION]);
  requireOk(pushDirectionalLight(context, l[LIGHT_COLOR], l[LIGHT_AMBIENT], floatsOf(l[LIGHT_POSITION])), context);
}

void kel_ruk_KELRendGraphics3D_pushPointLight(JHandle self, JHandle light) {
  RukContext* context = contextOf(self);
  requireArgument(light);
  const uint32_t* l = fieldsOf(light);
  requireArgument(l[LIGHT_POSITION]);
  requireOk(
      pushPointLight(context, l[LIGHT_COLOR], l[LIGHT_AMBIENT], floatsOf(l[LIGHT_POSITION]), fieldFloat(l, LIGHT_RANGE),
                     fieldFloat(l, LIGHT_QUADRATIC), fieldFloat(l, LIGHT_LINEAR), fieldFloat(l, LIGHT_CONSTANT)),
      context);
}

void kel_ruk_KELRendGraphics3D_pushSpotLight(JHandle self, JHandle light) {
  RukContext* context = contextOf(self);
  requireArgument(light);
  const uint32_t* l = fieldsOf(light);
  requireArgument(l[LIGHT_POSITION]);
  requireArgument(l[LIGHT_DIRECTION]);
  requireOk(pushSpotLight(context, l[LIGHT_COLOR], l[LIGHT_AMBIENT], floatsOf(l[LIGHT_POSITION]),
                          floatsOf(l[LIGHT_DIRECTION]), fieldFloat(l, LIGHT_RANGE), fieldFloat(l, LIGHT_COS_OUTER),
                          fieldFloat(l, LIGHT_COS_INNER), fieldFloat(l, LIGHT_QUADRATIC), fieldFloat(l, LIGHT_LINEAR),
                          fieldFloat(l, LIGHT_CONSTANT)),
            context);
}

void kel_ruk_KELRendGraphics3D_popLight(JHandle self) {
  RukContext* context = contextOf(self);
  requireOk(popLight(context), context);
}

void kel_ruk_KELRendGraphics3D_resetLights(JHandle self) {
  RukContext* context = contextOf(self);
  requireOk(resetLights(context), context);
}

// --- Attributes ------------------------------------------------------------

void kel_ruk_KELRendGraphics3D_doSetFog(JHandle self, int32_t mode, int32_t color, float start, float end,
                                        float density) {
  RukContext* context = contextOf(self);
  requireOk(setAttributeInt(context, ATTR_FOG_MODE, mode), context);
  if (mode == 0) return;  // turning fog off keeps the other fog settings
  requireOk(setAttributeColor(context, ATTR_FOG_COLOR, static_cast<uint32_t>(color)), context);
  requireOk(setAttributeFloat(context, ATTR_FOG_START, start), context);
  requireOk(setAttributeFloat(context, ATTR_FOG_END, end), context);
  requireOk(setAttributeFloat(context, ATTR_FOG_DENSITY, density), context);
}

void kel_ruk_KELRendGraphics3D_setDepthBufferMask(JHandle self, int32_t mask) {
  RukContext* context = contextOf(self);
  requireOk(setAttributeInt(context, ATTR_DEPTH_TEST, (mask & 1) != 0), context);
  requireOk(setAttributeInt(context, ATTR_DEPTH_WRITE, (mask & 2) != 0), context);
}

void kel_ruk_KELRendGraphics3D_doUseTexture(JHandle self, JHandle texture) {
  RukContext* context = contextOf(self);
  // Only a complete texture is bound; anything else turns texturing off.
  const RukTexture* record = nullptr;
  if (texture != 0 && fieldsOf(texture)[TEXTURE_COMPLETE] != 0) {
    record = optionalRecord<RukTexture>(fieldsOf(texture)[TEXTURE_NATIVE_TEXTURE], NativeKind::Texture);
  }
  requireOk(bindTexture(context, record), context);
}

// Stored only; the statuses are ignored.
void kel_ruk_KELRendGraphics3D_doSetTextureCoordinateGeneration(JHandle self, int32_t sMode, int32_t tMode, float s0,
                                                                float s1, float s2, float t0, float t1, float t2) {
  RukContext* context = contextOf(self);
  setAttributeInt(context, ATTR_TEXGEN_S, sMode);
  setAttributeInt(context, ATTR_TEXGEN_T, tMode);
  const float planes[6] = {s0, s1, s2, t0, t1, t2};
  for (uint32_t i = 0; i < 6; ++i) setAttributeFloat(context, ATTR_TEXGEN_S_PLANE + i, planes[i]);
}

void kel_ruk_KELRendGraphics3D_enableFeature(JHandle self, int32_t feature) {
  RukContext* context = contextOf(self);
  const uint32_t index = requireBelow(feature, FEATURE_COUNT);
  requireOk(setAttributeInt(context, FEATURE_ATTRIBUTE[index], 1), context);
}

void kel_ruk_KELRendGraphics3D_disableFeature(JHandle self, int32_t feature) {
  RukContext* context = contextOf(self);
  const uint32_t index = requireBelow(feature, FEATURE_COUNT);
  requireOk(setAttributeInt(context, FEATURE_ATTRIBUTE[index], 0), context);
}

void kel_ruk_KELRendGraphics3D_setModelRenderMode(JHandle self, int32_t mode) {
  RukContext* context = contextOf(self);
  const uint32_t index = requireBelow(mode, 3);
  requireOk(setAttributeEnum(context, ATTR_RENDER_MODE, RENDER_MODE_OF[index]), context);
}

void kel_ruk_KELRendGraphics3D_setShadeMode(JHandle self, int32_t mode) {
  RukContext* context = contextOf(self);
  const uint32_t index = requireBelow(mode, 3);
  requireOk(setAttributeEnum(context, ATTR_SHADE_MODE, SHADE_MODE_OF[index]), context);
}

void kel_ruk_KELRendGraphics3D_setTextureBlendMode(JHandle self, int32_t mode) {
  RukContext* context = contextOf(self);
  const uint32_t index = requireBelow(mode, 3);
  requireOk(setAttributeEnum(context, ATTR_TEXTURE_BLEND, TEXTURE_BLEND_OF[index]), context);
}

void kel_ruk_KELRendGraphics3D_setTextureFilter(JHandle self, int32_t filter) {
  RukContext* context = contextOf(self);
  const uint32_t value = requireBelow(filter, TEXTURE_FILTER_COUNT);
  requireOk(setAttributeEnum(context, ATTR_TEXTURE_FILTER, value), context);
}

// Stored only; the statuses are ignored.
void kel_ruk_KELRendGraphics3D_setTextureWrapping(JHandle self, bool s, bool t) {
  RukContext* context = contextOf(self);
  setAttributeInt(context, ATTR_WRAP_S, s);
  setAttributeInt(context, ATTR_WRAP_T, t);
}

void kel_ruk_KELRendGraphics3D_doSetClearColor(JHandle self, int32_t rgb) {
  RukContext* context = contextOf(self);
  requireOk(setAttributeColor(context, ATTR_CLEAR_COLOR, static_cast<uint32_t>(rgb)), context);
}

void kel_ruk_KELRendGraphics3D_setClearDepth(JHandle self, float depth) {
  RukContext* context = contextOf(self);
  requireOk(setAttributeFloat(context, ATTR_CLEAR_DEPTH, depth), context);
}

// The lighting and culling switches ignore their statuses.
void kel_ruk_KELRendGraphics3D_enableTwoSidedLighting(JHandle self) {
  setAttributeInt(contextOf(self), ATTR_TWO_SIDED, 1);
}

void kel_ruk_KELRendGraphics3D_disableTwoSidedLighting(JHandle self) {
  setAttributeInt(contextOf(self), ATTR_TWO_SIDED, 0);
}

void kel_ruk_KELRendGraphics3D_enableBackfaceCulling(JHandle self) {
  setAttributeInt(contextOf(self), ATTR_CULL_BACK, 1);
}

void kel_ruk_KELRendGraphics3D_disableBackfaceCulling(JHandle self) {
  setAttributeInt(contextOf(self), ATTR_CULL_BACK, 0);
}

// --- Whole-buffer operations -----------------------------------------------

void kel_ruk_KELRendGraphics3D_clear(JHandle self, int32_t mask) {
  RukContext* context = contextOf(self);
  requireOk(clearContext(context, static_cast<uint32_t>(mask)), context);
}

void kel_ruk_KELRendGraphics3D_doCopyBuffers(JHandle self, JHandle other, int32_t mask) {
  RukContext* context = contextOf(self);
  requireArgument(other);
  const RukContext* source = contextOf(other);
  requireOk(copyContextBuffers(source, context, static_cast<uint32_t>(mask)), context);
}

void kel_ruk_KELRendGraphics3D_accumulate(JHandle self, float value) {
  RukContext* context = contextOf(self);
  requireOk(accumulateContext(context, ACCUM_ADD, value), context);
}

void kel_ruk_KELRendGraphics3D_accumLoad(JHandle self, float value) {
  RukContext* context = contextOf(self);
  requireOk(accumulateContext(context, ACCUM_LOAD, value), context);
}

void kel_ruk_KELRendGraphics3D_accumReturn(JHandle self, float value) {
  RukContext* context = contextOf(self);
  requireOk(accumulateContext(context, ACCUM_RETURN, value), context);
}

void kel_ruk_KELRendGraphics3D_accumMult(JHandle self, float value) {
  RukContext* context = contextOf(self);
  requireOk(accumulateContext(context, ACCUM_MULT, value), context);
}

}  // namespace

KELRUK_STUB(kel_ruk_KELRendGraphics3D_init)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_dispose)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_beginRendering)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_endRendering)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doPaint)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doRender)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doRayPick)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_concatModelMatrix)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_loadModelMatrix)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_popModelMatrix)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_resetModelMatrix)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_translateModel)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doScaleModel)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doRotateModel)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doQuatRotateModel)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doGetModelMatrix)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_loadTextureMatrix)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doGetTextureMatrix)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doSetPerspectiveProjection)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doSetOrthographicProjection)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_setMaterial)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_setModifiedMaterialColor)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_pushDirectionalLight)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_pushPointLight)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_pushSpotLight)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_popLight)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_resetLights)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doSetFog)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_setDepthBufferMask)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doUseTexture)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doSetTextureCoordinateGeneration)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_enableFeature)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_disableFeature)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_setModelRenderMode)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_setShadeMode)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_setTextureBlendMode)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_setTextureFilter)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_setTextureWrapping)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_clear)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doSetClearColor)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_setClearDepth)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_enableTwoSidedLighting)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_disableTwoSidedLighting)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_enableBackfaceCulling)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_disableBackfaceCulling)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_doCopyBuffers)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_accumulate)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_accumLoad)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_accumReturn)
KELRUK_STUB(kel_ruk_KELRendGraphics3D_accumMult)
