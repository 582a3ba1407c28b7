// The natives of kel.ruk: arguments laid out in their roles, the arrays the
// library will read checked against their lengths, the stub called and what
// it wrote copied back. The bridge also notes the shapes of the models and
// textures it sees created, for those checks.
#include "jni/array_checks.h"
#include "jni/bridge_natives.h"
#include "jni/native_shapes.h"
#include "jni/surfaces.h"

using kelbridge::Call;
using kelbridge::Want;
using kelbridge::word;
using namespace kelbridge::roles;

// --- KELRendGraphics3D ------------------------------------------------------

// A KELRendGraphics3D native taking only its context from this: its further
// parameters in parentheses, then their words.
#define KELRUK_MORE(...) __VA_OPT__(, ) __VA_ARGS__
#define KELRUK_G3D(name, params, ...)                                                                \
  KELRUK_BRIDGE(void, ruk_KELRendGraphics3D_##name, (JNIEnv * env, jobject self KELRUK_MORE params), \
                call.object(self, kContext) __VA_OPT__(, ) __VA_ARGS__)

KELRUK_BRIDGE(jboolean, ruk_KELRendGraphics3D_init, (JNIEnv * env, jobject self, jint flags, jint width, jint height),
              call.object(self, kContextInit), word(flags), word(width), word(height))
KELRUK_G3D(dispose, ())
KELRUK_G3D(beginRendering, ())
KELRUK_G3D(endRendering, ())

KELRUK_JNI(void, ruk_KELRendGraphics3D_doPaint)(JNIEnv* env, jobject self, jobject graphics, jint x, jint y) {
  Call call(env);
  const JHandle g = call.object(self, kContextPaint);
  const JHandle target = call.object(graphics, kGraphics);
  // The record's address is the library's to read: only a live surface's goes.
  const uint32_t record = target == 0 ? 0 : Call::fieldWord(target, 0);
  if (record != 0 && kelbridge::surfaceOfRecord(record) == 0) {
    call.fail("java/lang/IllegalArgumentException", "the graphics object holds no live kelruk surface");
  }
  call.run(KELRUK_LIBRARY_STUB(ruk_KELRendGraphics3D_doPaint), {g, target, word(x), word(y)});
}

KELRUK_JNI(void, ruk_KELRendGraphics3D_doRender)(JNIEnv* env, jobject self, jobject model) {
  Call call(env);
  const JHandle g = call.object(self, kContext);
  const JHandle m = call.object(model, kModelDraw);
  kelbridge::checkDrawnModel(call, m);
  call.run(KELRUK_LIBRARY_STUB(ruk_KELRendGraphics3D_doRender), {g, m});
}

KELRUK_JNI(jboolean, ruk_KELRendGraphics3D_doRayPick)
(JNIEnv* env, jobject self, jobject model, jobject ray, jobject result) {
  Call call(env);
  const JHandle g = call.object(self, kContext);
  const JHandle m = call.object(model, kModelDraw);
  const JHandle r = call.object(ray, kRay);
  const JHandle out = call.object(result, kPickResult);
  kelbridge::checkDrawnModel(call, m);
  return kelbridge::resultOf<jboolean>(call.run(KELRUK_LIBRARY_STUB(ruk_KELRendGraphics3D_doRayPick), {g, m, r, out}));
}

KELRUK_G3D(concatModelMatrix, (jobject m), call.object(m, kMatrix))
KELRUK_G3D(loadModelMatrix, (jobject m), call.object(m, kMatrix))
KELRUK_G3D(popModelMatrix, ())
KELRUK_G3D(resetModelMatrix, ())
KELRUK_G3D(translateModel, (jfloat x, jfloat y, jfloat z), word(x), word(y), word(z))
KELRUK_G3D(doScaleModel, (jfloat x, jfloat y, jfloat z), word(x), word(y), word(z))
KELRUK_G3D(doRotateModel, (jfloat x, jfloat y, jfloat z, jfloat angle), word(x), word(y), word(z), word(angle))
KELRUK_G3D(doQuatRotateModel, (jobject q), call.object(q, kQuaternion))
KELRUK_G3D(doGetModelMatrix, (jobject out), call.object(out, kMatrix))
KELRUK_G3D(loadTextureMatrix, (jobject m), call.object(m, kMatrix))
KELRUK_G3D(doGetTextureMatrix, (jobject out), call.object(out, kMatrix))
KELRUK_G3D(doSetPerspectiveProjection, (jfloat fov, jfloat aspect, jfloat nearZ, jfloat farZ), word(fov), word(aspect),
           word(nearZ), word(farZ))
KELRUK_G3D(doSetOrthographicProjection, (jfloat halfWidth, jfloat halfHeight, jfloat nearZ, jfloat farZ),
           word(halfWidth), word(halfHeight), word(nearZ), word(farZ))
KELRUK_G3D(setMaterial, (jobject material), call.object(material, kMaterial))
KELRUK_G3D(setModifiedMaterialColor, (jint which), word(which))
KELRUK_G3D(pushDirectionalLight, (jobject light), call.object(light, kLight))
KELRUK_G3D(pushPointLight, (jobject light), call.object(light, kLight))
KELRUK_G3D(pushSpotLight, (jobject light), call.object(light, kLight))
KELRUK_G3D(popLight, ())
KELRUK_G3D(resetLights, ())
KELRUK_G3D(doSetFog, (jint mode, jint color, jfloat start, jfloat end, jfloat density), word(mode), word(color),
           word(start), word(end), word(density))
KELRUK_G3D(setDepthBufferMask, (jint mask), word(mask))
KELRUK_G3D(doUseTexture, (jobject texture), call.object(texture, kTextureBind))
KELRUK_G3D(doSetTextureCoordinateGeneration,
           (jint sMode, jint tMode, jfloat s0, jfloat s1, jfloat s2, jfloat t0, jfloat t1, jfloat t2), word(sMode),
           word(tMode), word(s0), word(s1), word(s2), word(t0), word(t1), word(t2))
KELRUK_G3D(enableFeature, (jint feature), word(feature))
KELRUK_G3D(disableFeature, (jint feature), word(feature))
KELRUK_G3D(setModelRenderMode, (jint mode), word(mode))
KELRUK_G3D(setShadeMode, (jint mode), word(mode))
KELRUK_G3D(setTextureBlendMode, (jint mode), word(mode))
KELRUK_G3D(setTextureFilter, (jint filter), word(filter))
KELRUK_G3D(setTextureWrapping, (jboolean s, jboolean t), word(s), word(t))
KELRUK_G3D(clear, (jint mask), word(mask))
KELRUK_G3D(doSetClearColor, (jint rgb), word(rgb))
KELRUK_G3D(setClearDepth, (jfloat depth), word(depth))
KELRUK_G3D(enableTwoSidedLighting, ())
KELRUK_G3D(disableTwoSidedLighting, ())
KELRUK_G3D(enableBackfaceCulling, ())
KELRUK_G3D(disableBackfaceCulling, ())
KELRUK_G3D(doCopyBuffers, (jobject other, jint mask), call.object(other, kContext), word(mask))
KELRUK_G3D(accumulate, (jfloat v), word(v))
KELRUK_G3D(accumLoad, (jfloat v), word(v))
KELRUK_G3D(accumReturn, (jfloat v), word(v))
KELRUK_G3D(accumMult, (jfloat v), word(v))

// --- KELRend3DDevice, Graphics3DDevice --------------------------------------

KELRUK_BRIDGE(void, ruk_KELRend3DDevice_initDirect, (JNIEnv * env, jobject self, jint red, jint green, jint blue),
              call.object(self, kDevice), word(red), word(green), word(blue))

KELRUK_JNI(void, ruk_KELRend3DDevice_initIndexed)
(JNIEnv* env, jobject self, jint count, jbyteArray red, jbyteArray green, jbyteArray blue) {
  Call call(env);
  const JHandle device = call.object(self, kDevice);
  const JHandle channels[3] = {call.array(red, Want::ByteArray, false), call.array(green, Want::ByteArray, false),
                               call.array(blue, Want::ByteArray, false)};
  // A count out of range is the library's to report.
  if (count >= 0 && count <= 256) {
    for (const JHandle channel : channels) call.requireLength(channel, static_cast<uint64_t>(count), "palette channel");
  }
  call.run(KELRUK_LIBRARY_STUB(ruk_KELRend3DDevice_initIndexed),
           {device, word(count), channels[0], channels[1], channels[2]});
}

KELRUK_JNI(void, ruk_Graphics3DDevice_getDeviceClass)(JNIEnv* env, jclass, jbyteArray name) {
  Call call(env);
  const JHandle array = call.array(name, Want::ByteArray, true);
  call.requireLength(array, 24, "the device class name");
  call.run(KELRUK_LIBRARY_STUB(ruk_Graphics3DDevice_getDeviceClass), {array});
}

// --- KELRendTexture ----------------------------------------------------------

namespace {
constexpr int kTextureNative = 10;
}

KELRUK_JNI(void, ruk_KELRendTexture_init)(JNIEnv* env, jobject self, jint width, jint height) {
  Call call(env);
  const JHandle texture = call.object(self, kTexture);
  call.run(KELRUK_LIBRARY_STUB(ruk_KELRendTexture_init), {texture, word(width), word(height)});
  if (!call.failed()) {
    kelbridge::rememberTexture(Call::fieldWord(texture, kTextureNative),
                               {static_cast<uint32_t>(width), static_cast<uint32_t>(height)});
  }
}

KELRUK_BRIDGE(void, ruk_KELRendTexture_doComplete, (JNIEnv * env, jobject self), call.object(self, kTexture))

KELRUK_JNI(void, ruk_KELRendTexture_convertRect32)
(JNIEnv* env, jobject self, jint x, jint y, jint w, jint h, jint redMask, jint greenMask, jint blueMask, jint alphaMask,
 jintArray pixels, jint offset, jint scansize) {
  Call call(env);
  const JHandle texture = call.object(self, kTexture);
  const JHandle source = call.array(pixels, Want::IntArray, false);
  kelbridge::checkConversionSource(call, texture, x, y, w, h, source, offset, scansize);
  call.run(KELRUK_LIBRARY_STUB(ruk_KELRendTexture_convertRect32),
           {texture, word(x), word(y), word(w), word(h), word(redMask), word(greenMask), word(blueMask),
            word(alphaMask), source, word(offset), word(scansize)});
}

KELRUK_JNI(void, ruk_KELRendTexture_convertRect8)
(JNIEnv* env, jobject self, jint x, jint y, jint w, jint h, jintArray palette, jint paletteSize, jbyteArray pixels,
 jint offset, jint scansize) {
  Call call(env);
  const JHandle texture = call.object(self, kTexture);
  const JHandle colors = call.array(palette, Want::IntArray, false);
  const JHandle source = call.array(pixels, Want::ByteArray, false);
  // Conversions read at most the 256 entries a byte can index, and none for
  // a palette size of 0 or less.
  if (paletteSize > 0) {
    call.requireLength(colors, std::min<uint64_t>(static_cast<uint64_t>(paletteSize), 256), "palette");
  }
  kelbridge::checkConversionSource(call, texture, x, y, w, h, source, offset, scansize);
  call.run(
      KELRUK_LIBRARY_STUB(ruk_KELRendTexture_convertRect8),
      {texture, word(x), word(y), word(w), word(h), colors, word(paletteSize), source, word(offset), word(scansize)});
}

KELRUK_JNI(void, ruk_KELRendTexture_dispose)(JNIEnv* env, jobject self) {
  Call call(env);
  const JHandle texture = call.object(self, kTexture);
  const uint32_t reference = texture == 0 ? 0 : Call::fieldWord(texture, kTextureNative);
  call.run(KELRUK_LIBRARY_STUB(ruk_KELRendTexture_dispose), {texture});
  if (!call.failed()) kelbridge::forgetTexture(reference);
}

// --- KELRendModel ------------------------------------------------------------

KELRUK_JNI(jboolean, ruk_KELRendModel_init)(JNIEnv* env, jobject self) {
  Call call(env);
  const JHandle model = call.object(self, kModelInit);
  kelbridge::checkModelInit(call, model);
  const bool made = call.run(KELRUK_LIBRARY_STUB(ruk_KELRendModel_init), {model}) != 0;
  if (made) {
    const auto kind = static_cast<int32_t>(Call::fieldWord(model, kModelKind));
    const auto colorBinding = static_cast<int32_t>(Call::fieldWord(model, kModelColorBinding));
    kelbridge::rememberModel(Call::fieldWord(model, kModelNative),
                             {kind == 0   ? 3u
                              : kind == 1 ? 2u
                                          : 1u,
                              colorBinding == 1 || colorBinding == 2 ? static_cast<uint32_t>(colorBinding) : 0u,
                              Call::fieldWord(model, kModelPrimitives), Call::fieldWord(model, kModelVertexCount), 0});
  }
  return made ? JNI_TRUE : JNI_FALSE;
}

KELRUK_JNI(jboolean, ruk_KELRendModel_generateFaceNormals)(JNIEnv* env, jobject self) {
  Call call(env);
  const JHandle model = call.object(self, kFaceNormalGeneration);
  kelbridge::checkNormalSources(call, model);
  return kelbridge::resultOf<jboolean>(call.run(KELRUK_LIBRARY_STUB(ruk_KELRendModel_generateFaceNormals), {model}));
}

KELRUK_JNI(jboolean, ruk_KELRendModel_generateVertexNormals)(JNIEnv* env, jobject self, jfloat angle) {
  Call call(env);
  const JHandle model = call.object(self, kVertexNormalGeneration);
  kelbridge::checkNormalSources(call, model);
  const bool made = call.run(KELRUK_LIBRARY_STUB(ruk_KELRendModel_generateVertexNormals), {model, word(angle)}) != 0;
  if (made) {
    kelbridge::setGeneratedNormals(Call::fieldWord(model, kModelNative), Call::fieldWord(model, kModelNormalCount));
  }
  return made ? JNI_TRUE : JNI_FALSE;
}

KELRUK_JNI(void, ruk_KELRendModel_copyVertexNormals)(JNIEnv* env, jobject self) {
  Call call(env);
  const JHandle model = call.object(self, kModelCopyNormals);
  kelbridge::checkNormalCopy(call, model);
  call.run(KELRUK_LIBRARY_STUB(ruk_KELRendModel_copyVertexNormals), {model});
  if (!call.failed()) kelbridge::setGeneratedNormals(Call::fieldWord(model, kModelNative), 0);
}

KELRUK_JNI(void, ruk_KELRendModel_dispose)(JNIEnv* env, jobject self) {
  Call call(env);
  const JHandle model = call.object(self, kModelReference);
  const uint32_t reference = model == 0 ? 0 : Call::fieldWord(model, kModelNative);
  call.run(KELRUK_LIBRARY_STUB(ruk_KELRendModel_dispose), {model});
  if (!call.failed()) kelbridge::forgetModel(reference);
}
