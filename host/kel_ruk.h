// The Java classes of kel.ruk, and the plain objects their natives read, as
// the host kit sees them: value classes holding a handle, with accessors for
// the fields the natives use and one method per native, named as in Java and
// taking the native's arguments in order. A default-made object is the null
// reference, so `g.doRender({})` passes null.
#pragma once

#include <cstdint>

#include "host/kel_geom.h"
#include "platform/win32.h"

namespace kelhost {

// A toolkit graphics object: field 0 holds the address of the toolkit's native
// graphics record, whose first word is the device context to paint into.
struct Graphics {
  static constexpr int kFields = 1;
  static constexpr int kRecordWords = 4;
  JHandle handle = 0;

  static Graphics create(HDC dc) {
    Graphics g{newObject(kFields)};
    auto* record = static_cast<uint32_t*>(heapAllocate(kRecordWords * sizeof(uint32_t)));
    record[0] = dc;
    setWord(g.handle, 0, address32(record));
    return g;
  }
  uint32_t* record() const { return pointer32<uint32_t>(getWord(handle, 0)); }
  HDC dc() const { return record()[0]; }
  void setDc(HDC dc) const { record()[0] = dc; }
};

}  // namespace kelhost

namespace kel::ruk {

using geom::Matrix4;
using geom::Quaternion;
using geom::Ray;
using geom::Vector3;
using kelhost::ByteArray;
using kelhost::callBoolean;
using kelhost::callVoid;
using kelhost::FloatArray;
using kelhost::IntArray;

struct KELRend3DDevice {
  static constexpr int kFields = 4;
  JHandle handle = 0;

  static KELRend3DDevice create() { return {kelhost::newObject(kFields)}; }
  int32_t nativeDevice() const { return kelhost::getInt(handle, 0); }
  void setNativeDevice(int32_t value) const { kelhost::setInt(handle, 0, value); }

  void initDirect(int32_t redMask, int32_t greenMask, int32_t blueMask) const {
    callVoid("Java_kel_ruk_KELRend3DDevice_initDirect_stub", {handle, redMask, greenMask, blueMask});
  }
  void initIndexed(int32_t count, ByteArray red, ByteArray green, ByteArray blue) const {
    callVoid("Java_kel_ruk_KELRend3DDevice_initIndexed_stub", {handle, count, red.handle, green.handle, blue.handle});
  }
};

struct Graphics3DDevice {
  static void getDeviceClass(ByteArray name) {
    callVoid("Java_kel_ruk_Graphics3DDevice_getDeviceClass_stub", {name.handle});
  }
};

struct KELRendTexture {
  static constexpr int kFields = 11;
  JHandle handle = 0;

  static KELRendTexture create(KELRend3DDevice device) {
    KELRendTexture t{kelhost::newObject(kFields)};
    t.setDevice(device);
    return t;
  }
  KELRend3DDevice device() const { return {kelhost::getHandle(handle, 0)}; }
  void setDevice(KELRend3DDevice device) const { kelhost::setHandle(handle, 0, device.handle); }
  int32_t complete() const { return kelhost::getInt(handle, 6); }
  void setComplete(int32_t value) const { kelhost::setInt(handle, 6, value); }
  int32_t nativeTexture() const { return kelhost::getInt(handle, 10); }
  void setNativeTexture(int32_t value) const { kelhost::setInt(handle, 10, value); }

  void init(int32_t width, int32_t height) const {
    callVoid("Java_kel_ruk_KELRendTexture_init_stub", {handle, width, height});
  }
  void doComplete() const { callVoid("Java_kel_ruk_KELRendTexture_doComplete_stub", {handle}); }
  void convertRect32(int32_t x, int32_t y, int32_t w, int32_t h, int32_t redMask, int32_t greenMask, int32_t blueMask,
                     int32_t alphaMask, IntArray pixels, int32_t offset, int32_t scansize) const {
    callVoid("Java_kel_ruk_KELRendTexture_convertRect32_stub",
             {handle, x, y, w, h, redMask, greenMask, blueMask, alphaMask, pixels.handle, offset, scansize});
  }
  void convertRect8(int32_t x, int32_t y, int32_t w, int32_t h, IntArray palette, int32_t paletteSize, ByteArray pixels,
                    int32_t offset, int32_t scansize) const {
    callVoid("Java_kel_ruk_KELRendTexture_convertRect8_stub",
             {handle, x, y, w, h, palette.handle, paletteSize, pixels.handle, offset, scansize});
  }
  void dispose() const { callVoid("Java_kel_ruk_KELRendTexture_dispose_stub", {handle}); }
};

struct KELRendModel {
  static constexpr int kFields = 24;
  JHandle handle = 0;

  static constexpr int32_t TRIANGLES = 0;
  static constexpr int32_t LINES = 1;
  static constexpr int32_t POINTS = 2;

  static KELRendModel create() { return {kelhost::newObject(kFields)}; }

  int32_t nativeModel() const { return kelhost::getInt(handle, 0); }
  void setNativeModel(int32_t value) const { kelhost::setInt(handle, 0, value); }
  int32_t primitiveKind() const { return kelhost::getInt(handle, 1); }
  void setPrimitiveKind(int32_t value) const { kelhost::setInt(handle, 1, value); }
  int32_t primitiveCount() const { return kelhost::getInt(handle, 2); }
  void setPrimitiveCount(int32_t value) const { kelhost::setInt(handle, 2, value); }
  int32_t vertexCount() const { return kelhost::getInt(handle, 3); }
  void setVertexCount(int32_t value) const { kelhost::setInt(handle, 3, value); }
  int32_t normalCount() const { return kelhost::getInt(handle, 5); }
  void setNormalCount(int32_t value) const { kelhost::setInt(handle, 5, value); }
  int32_t texCoordCount() const { return kelhost::getInt(handle, 6); }
  void setTexCoordCount(int32_t value) const { kelhost::setInt(handle, 6, value); }
  int32_t normalBinding() const { return kelhost::getInt(handle, 10); }
  void setNormalBinding(int32_t value) const { kelhost::setInt(handle, 10, value); }
  int32_t colorBinding() const { return kelhost::getInt(handle, 11); }
  void setColorBinding(int32_t value) const { kelhost::setInt(handle, 11, value); }
  int32_t texCoordBinding() const { return kelhost::getInt(handle, 12); }
  void setTexCoordBinding(int32_t value) const { kelhost::setInt(handle, 12, value); }
  int32_t ready() const { return kelhost::getInt(handle, 15); }
  void setReady(int32_t value) const { kelhost::setInt(handle, 15, value); }
  FloatArray vertices() const { return {kelhost::getHandle(handle, 16)}; }
  void setVertices(FloatArray a) const { kelhost::setHandle(handle, 16, a.handle); }
  FloatArray faceNormals() const { return {kelhost::getHandle(handle, 17)}; }
  void setFaceNormals(FloatArray a) const { kelhost::setHandle(handle, 17, a.handle); }
  FloatArray normals() const { return {kelhost::getHandle(handle, 18)}; }
  void setNormals(FloatArray a) const { kelhost::setHandle(handle, 18, a.handle); }
  FloatArray texCoords() const { return {kelhost::getHandle(handle, 19)}; }
  void setTexCoords(FloatArray a) const { kelhost::setHandle(handle, 19, a.handle); }
  IntArray vertexIndices() const { return {kelhost::getHandle(handle, 20)}; }
  void setVertexIndices(IntArray a) const { kelhost::setHandle(handle, 20, a.handle); }
  IntArray normalIndices() const { return {kelhost::getHandle(handle, 21)}; }
  void setNormalIndices(IntArray a) const { kelhost::setHandle(handle, 21, a.handle); }
  IntArray texCoordIndices() const { return {kelhost::getHandle(handle, 22)}; }
  void setTexCoordIndices(IntArray a) const { kelhost::setHandle(handle, 22, a.handle); }
  IntArray colors() const { return {kelhost::getHandle(handle, 23)}; }
  void setColors(IntArray a) const { kelhost::setHandle(handle, 23, a.handle); }

  bool init() const { return callBoolean("Java_kel_ruk_KELRendModel_init_stub", {handle}); }
  bool generateFaceNormals() const {
    return callBoolean("Java_kel_ruk_KELRendModel_generateFaceNormals_stub", {handle});
  }
  bool generateVertexNormals(float angle) const {
    return callBoolean("Java_kel_ruk_KELRendModel_generateVertexNormals_stub", {handle, angle});
  }
  void copyVertexNormals() const { callVoid("Java_kel_ruk_KELRendModel_copyVertexNormals_stub", {handle}); }
  void dispose() const { callVoid("Java_kel_ruk_KELRendModel_dispose_stub", {handle}); }
};

// The material object of setMaterial.
struct Material {
  static constexpr int kFields = 6;
  JHandle handle = 0;

  static Material create(int32_t emission, int32_t ambient, int32_t diffuse, int32_t specular, float shininess,
                         int32_t alpha) {
    return {kelhost::newObjectOf(kFields, {emission, ambient, diffuse, specular, shininess, alpha})};
  }
  int32_t emission() const { return kelhost::getInt(handle, 0); }
  int32_t ambient() const { return kelhost::getInt(handle, 1); }
  int32_t diffuse() const { return kelhost::getInt(handle, 2); }
  int32_t specular() const { return kelhost::getInt(handle, 3); }
  float shininess() const { return kelhost::getFloat(handle, 4); }
  int32_t alpha() const { return kelhost::getInt(handle, 5); }
};

// The light objects of the light pushes. Position is the direction for a
// directional light; attenuation, range and the spot fields serve point and
// spot lights.
struct Light {
  static constexpr int kFields = 11;
  JHandle handle = 0;

  static Light create() {
    Light l{kelhost::newObject(kFields)};
    l.setPosition(Vector3::create());
    l.setDirection(Vector3::create());
    return l;
  }
  int32_t color() const { return kelhost::getInt(handle, 0); }
  void setColor(int32_t rgb) const { kelhost::setInt(handle, 0, rgb); }
  int32_t ambient() const { return kelhost::getInt(handle, 2); }
  void setAmbient(int32_t rgb) const { kelhost::setInt(handle, 2, rgb); }
  Vector3 position() const { return {kelhost::getHandle(handle, 3)}; }
  void setPosition(Vector3 v) const { kelhost::setHandle(handle, 3, v.handle); }
  float quadraticAttenuation() const { return kelhost::getFloat(handle, 4); }
  float linearAttenuation() const { return kelhost::getFloat(handle, 5); }
  float constantAttenuation() const { return kelhost::getFloat(handle, 6); }
  void setAttenuation(float quadratic, float linear, float constant) const {
    kelhost::setFloat(handle, 4, quadratic);
    kelhost::setFloat(handle, 5, linear);
    kelhost::setFloat(handle, 6, constant);
  }
  float range() const { return kelhost::getFloat(handle, 7); }
  void setRange(float value) const { kelhost::setFloat(handle, 7, value); }
  Vector3 direction() const { return {kelhost::getHandle(handle, 8)}; }
  void setDirection(Vector3 v) const { kelhost::setHandle(handle, 8, v.handle); }
  float outerCosine() const { return kelhost::getFloat(handle, 9); }
  float innerCosine() const { return kelhost::getFloat(handle, 10); }
  void setCone(float outerCosine, float innerCosine) const {
    kelhost::setFloat(handle, 9, outerCosine);
    kelhost::setFloat(handle, 10, innerCosine);
  }
};

// The object receiving texture coordinates of a pick: u, v.
struct PickUV {
  static constexpr int kFields = 2;
  JHandle handle = 0;

  static PickUV create() { return {kelhost::newObject(kFields)}; }
  float u() const { return kelhost::getFloat(handle, 0); }
  float v() const { return kelhost::getFloat(handle, 1); }
};

// The pick-result object of doRayPick.
struct PickResult {
  static constexpr int kFields = 5;
  JHandle handle = 0;

  static constexpr int32_t WANT_POINT = 1;
  static constexpr int32_t WANT_NORMAL = 2;
  static constexpr int32_t WANT_UV = 4;

  // A result asking for `request`, searching up to `maxDistance`, with its
  // point, normal and uv objects made.
  static PickResult create(int32_t request, float maxDistance) {
    return {kelhost::newObjectOf(
        kFields, {request, maxDistance, Vector3::create().handle, Vector3::create().handle, PickUV::create().handle})};
  }
  int32_t request() const { return kelhost::getInt(handle, 0); }
  void setRequest(int32_t mask) const { kelhost::setInt(handle, 0, mask); }
  float distance() const { return kelhost::getFloat(handle, 1); }
  void setDistance(float value) const { kelhost::setFloat(handle, 1, value); }
  Vector3 point() const { return {kelhost::getHandle(handle, 2)}; }
  void setPoint(Vector3 v) const { kelhost::setHandle(handle, 2, v.handle); }
  Vector3 normal() const { return {kelhost::getHandle(handle, 3)}; }
  void setNormal(Vector3 v) const { kelhost::setHandle(handle, 3, v.handle); }
  PickUV uv() const { return {kelhost::getHandle(handle, 4)}; }
  void setUv(PickUV uv) const { kelhost::setHandle(handle, 4, uv.handle); }
};

struct KELRendGraphics3D {
  static constexpr int kFields = 8;
  JHandle handle = 0;

  static KELRendGraphics3D create(KELRend3DDevice device) {
    KELRendGraphics3D g{kelhost::newObject(kFields)};
    g.setDevice(device);
    return g;
  }
  KELRend3DDevice device() const { return {kelhost::getHandle(handle, 0)}; }
  void setDevice(KELRend3DDevice device) const { kelhost::setHandle(handle, 0, device.handle); }
  HWND window() const { return kelhost::getWord(handle, 6); }
  void setWindow(HWND window) const { kelhost::setWord(handle, 6, window); }
  int32_t context() const { return kelhost::getInt(handle, 7); }
  void setContext(int32_t value) const { kelhost::setInt(handle, 7, value); }

  bool init(int32_t bufferFlags, int32_t width, int32_t height) const {
    return callBoolean("Java_kel_ruk_KELRendGraphics3D_init_stub", {handle, bufferFlags, width, height});
  }
  void dispose() const { callVoid("Java_kel_ruk_KELRendGraphics3D_dispose_stub", {handle}); }
  void beginRendering() const { callVoid("Java_kel_ruk_KELRendGraphics3D_beginRendering_stub", {handle}); }
  void endRendering() const { callVoid("Java_kel_ruk_KELRendGraphics3D_endRendering_stub", {handle}); }
  void doPaint(kelhost::Graphics graphics, int32_t x, int32_t y) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doPaint_stub", {handle, graphics.handle, x, y});
  }
  void doRender(KELRendModel model) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doRender_stub", {handle, model.handle});
  }
  bool doRayPick(KELRendModel model, Ray ray, PickResult result) const {
    return callBoolean("Java_kel_ruk_KELRendGraphics3D_doRayPick_stub",
                       {handle, model.handle, ray.handle, result.handle});
  }
  void concatModelMatrix(Matrix4 m) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_concatModelMatrix_stub", {handle, m.handle});
  }
  void loadModelMatrix(Matrix4 m) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_loadModelMatrix_stub", {handle, m.handle});
  }
  void popModelMatrix() const { callVoid("Java_kel_ruk_KELRendGraphics3D_popModelMatrix_stub", {handle}); }
  void resetModelMatrix() const { callVoid("Java_kel_ruk_KELRendGraphics3D_resetModelMatrix_stub", {handle}); }
  void translateModel(float x, float y, float z) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_translateModel_stub", {handle, x, y, z});
  }
  void doScaleModel(float x, float y, float z) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doScaleModel_stub", {handle, x, y, z});
  }
  void doRotateModel(float x, float y, float z, float angle) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doRotateModel_stub", {handle, x, y, z, angle});
  }
  void doQuatRotateModel(Quaternion q) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doQuatRotateModel_stub", {handle, q.handle});
  }
  void doGetModelMatrix(Matrix4 out) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doGetModelMatrix_stub", {handle, out.handle});
  }
  void loadTextureMatrix(Matrix4 m) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_loadTextureMatrix_stub", {handle, m.handle});
  }
  void doGetTextureMatrix(Matrix4 out) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doGetTextureMatrix_stub", {handle, out.handle});
  }
  void doSetPerspectiveProjection(float fov, float aspect, float nearPlane, float farPlane) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doSetPerspectiveProjection_stub",
             {handle, fov, aspect, nearPlane, farPlane});
  }
  void doSetOrthographicProjection(float halfWidth, float halfHeight, float nearPlane, float farPlane) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doSetOrthographicProjection_stub",
             {handle, halfWidth, halfHeight, nearPlane, farPlane});
  }
  void setMaterial(Material material) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_setMaterial_stub", {handle, material.handle});
  }
  void setModifiedMaterialColor(int32_t which) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_setModifiedMaterialColor_stub", {handle, which});
  }
  void pushDirectionalLight(Light l) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_pushDirectionalLight_stub", {handle, l.handle});
  }
  void pushPointLight(Light l) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_pushPointLight_stub", {handle, l.handle});
  }
  void pushSpotLight(Light l) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_pushSpotLight_stub", {handle, l.handle});
  }
  void popLight() const { callVoid("Java_kel_ruk_KELRendGraphics3D_popLight_stub", {handle}); }
  void resetLights() const { callVoid("Java_kel_ruk_KELRendGraphics3D_resetLights_stub", {handle}); }
  void doSetFog(int32_t mode, int32_t color, float start, float end, float density) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doSetFog_stub", {handle, mode, color, start, end, density});
  }
  void setDepthBufferMask(int32_t mask) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_setDepthBufferMask_stub", {handle, mask});
  }
  void doUseTexture(KELRendTexture texture) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doUseTexture_stub", {handle, texture.handle});
  }
  void doSetTextureCoordinateGeneration(int32_t sMode, int32_t tMode, float s0, float s1, float s2, float t0, float t1,
                                        float t2) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doSetTextureCoordinateGeneration_stub",
             {handle, sMode, tMode, s0, s1, s2, t0, t1, t2});
  }
  void enableFeature(int32_t feature) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_enableFeature_stub", {handle, feature});
  }
  void disableFeature(int32_t feature) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_disableFeature_stub", {handle, feature});
  }
  void setModelRenderMode(int32_t mode) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_setModelRenderMode_stub", {handle, mode});
  }
  void setShadeMode(int32_t mode) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_setShadeMode_stub", {handle, mode});
  }
  void setTextureBlendMode(int32_t mode) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_setTextureBlendMode_stub", {handle, mode});
  }
  void setTextureFilter(int32_t filter) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_setTextureFilter_stub", {handle, filter});
  }
  void setTextureWrapping(bool s, bool t) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_setTextureWrapping_stub", {handle, s, t});
  }
  void clear(int32_t mask) const { callVoid("Java_kel_ruk_KELRendGraphics3D_clear_stub", {handle, mask}); }
  void doSetClearColor(int32_t rgb) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doSetClearColor_stub", {handle, rgb});
  }
  void setClearDepth(float depth) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_setClearDepth_stub", {handle, depth});
  }
  void enableTwoSidedLighting() const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_enableTwoSidedLighting_stub", {handle});
  }
  void disableTwoSidedLighting() const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_disableTwoSidedLighting_stub", {handle});
  }
  void enableBackfaceCulling() const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_enableBackfaceCulling_stub", {handle});
  }
  void disableBackfaceCulling() const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_disableBackfaceCulling_stub", {handle});
  }
  void doCopyBuffers(KELRendGraphics3D other, int32_t mask) const {
    callVoid("Java_kel_ruk_KELRendGraphics3D_doCopyBuffers_stub", {handle, other.handle, mask});
  }
  void accumulate(float value) const { callVoid("Java_kel_ruk_KELRendGraphics3D_accumulate_stub", {handle, value}); }
  void accumLoad(float value) const { callVoid("Java_kel_ruk_KELRendGraphics3D_accumLoad_stub", {handle, value}); }
  void accumReturn(float value) const { callVoid("Java_kel_ruk_KELRendGraphics3D_accumReturn_stub", {handle, value}); }
  void accumMult(float value) const { callVoid("Java_kel_ruk_KELRendGraphics3D_accumMult_stub", {handle, value}); }
};

}  // namespace kel::ruk
