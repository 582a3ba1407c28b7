// The natives of kel.ruk as fuzz program operations: each reads its
// receiver and arguments from the input and calls the native once.
#include <algorithm>
#include <vector>

#include "context/context.h"
#include "fuzz/fuzz_state.h"
#include "runtime/native_refs.h"
#include "share/kel/ruk/java_fields.h"
#include "texture/texture.h"

namespace fuzz {
namespace {

#define RUK_STUB(cls, method) "Java_kel_ruk_" #cls "_" #method "_stub"
// A KELRendGraphics3D native of the common pattern: the context, then its
// arguments of the kinds listed.
#define CONTEXT_CALL(method, ...)                                        \
  {                                                                      \
    "KELRendGraphics3D." #method, RUK_STUB(KELRendGraphics3D, method),   \
        onContext<&KELRendGraphics3D::method __VA_OPT__(, ) __VA_ARGS__> \
  }

// --- KELRendGraphics3D ---------------------------------------------------------

KELRendGraphics3D& context(State& s) { return s.receiver(s.contexts).object; }

template <auto Method, class... Arguments>
constexpr auto onContext = call<Method, &State::contexts, Arguments...>;
using AMatrix = From<&State::matrices>;
using ALight = From<&State::lights>;

KELRendModel modelArgument(State& s) {
  const uint32_t i = s.in.choice(MODELS + 1);
  return i < MODELS ? s.models[i].native.object : KELRendModel{};
}

void init(State& s) {
  auto& slot = s.receiver(s.contexts);
  const int32_t flags = s.in.integer(), width = s.in.integer(), height = s.in.integer();
  // Sizes whose buffers the native would allocate are kept small; larger
  // and negative ones are the native's to refuse.
  const int64_t pixels = int64_t{width} * height;
  if (width > 0 && height > 0 && pixels <= UINT32_MAX / 4 && pixels > MAX_CONTEXT_PIXELS) {
    s.skipped = true;
    return;
  }
  if (!mayMakeRecord(s)) return;
  if (slot.object.init(flags, width, height)) {
    noteIssued(slot.issued, static_cast<uint32_t>(slot.object.context()));
    if (s.observer != nullptr) {
      s.observer->contextCreated(
          nativeRefResolveAs<RukContext>(static_cast<uint32_t>(slot.object.context()), NativeKind::Context));
    }
  }
}

void dispose(State& s) {
  KELRendGraphics3D& g = context(s);
  const uint32_t reference = static_cast<uint32_t>(g.context());
  g.dispose();
  if (reference != 0) s.revoked.push_back(reference);
}

// The pixels a render call may fill: its context's.
uint64_t contextPixels(const KELRendGraphics3D& g) {
  const auto* record = nativeRefResolveAs<RukContext>(static_cast<uint32_t>(g.context()), NativeKind::Context);
  return record == nullptr ? 0 : uint64_t{record->width} * record->height;
}

// Charges a render or pick of the model to the program's drawing budget;
// false (and the operation skipped) when the budget would run out.
bool mayDraw(State& s, const KELRendModel& model, uint64_t pixels) {
  if (model.handle == 0) return true;
  const uint64_t work = uint64_t(std::max(model.primitiveCount(), 1)) * (pixels + 256);
  if (s.drawn + work > DRAW_BUDGET) {
    s.skipped = true;
    return false;
  }
  s.drawn += work;
  return true;
}

void doRender(State& s) {
  KELRendGraphics3D& g = context(s);
  const KELRendModel model = modelArgument(s);
  if (mayDraw(s, model, contextPixels(g))) g.doRender(model);
}

void doRayPick(State& s) {
  KELRendGraphics3D& g = context(s);
  const KELRendModel model = modelArgument(s);
  const Ray ray = s.argument(s.rays);
  const PickResult result = s.in.flag() ? PickResult{} : s.pick;
  if (mayDraw(s, model, 0)) g.doRayPick(model, ray, result);
}

// --- KELRend3DDevice, Graphics3DDevice -----------------------------------------------

void initDirect(State& s) {
  auto& slot = s.receiver(s.devices);
  if (!mayMakeRecord(s)) return;
  const uint32_t r = s.in.mask(), g = s.in.mask(), b = s.in.mask();
  slot.object.initDirect(static_cast<int32_t>(r), static_cast<int32_t>(g), static_cast<int32_t>(b));
  noteIssued(slot.issued, static_cast<uint32_t>(slot.object.nativeDevice()));
}

// The three palette arrays hold `count` entries each (none when the count
// is negative); any of them may be null.
void initIndexed(State& s) {
  auto& slot = s.receiver(s.devices);
  if (!mayMakeRecord(s)) return;
  const int32_t count = s.in.count();
  const uint32_t absent = s.in.byte();
  uint64_t seed = s.in.word() | 1u;
  ByteArray channels[3];
  for (int c = 0; c < 3; ++c) {
    if ((absent >> c) & 1) continue;
    channels[c] = guardedByteArray(count);
    for (uint8_t& v : channels[c].span()) v = static_cast<uint8_t>(nextRandom(seed));
  }
  slot.object.initIndexed(count, channels[0], channels[1], channels[2]);
  noteIssued(slot.issued, static_cast<uint32_t>(slot.object.nativeDevice()));
}

void getDeviceClass(State& s) {
  // The native writes the class name's 24 bytes.
  Graphics3DDevice::getDeviceClass(s.in.flag() ? ByteArray{} : guardedByteArray(24));
}

// --- KELRendTexture ------------------------------------------------------------------

// A side: 2^b for b up to 10, then sides the native refuses or cannot hold.
int32_t textureSide(State& s) {
  constexpr int32_t REFUSED[6] = {0, 3, 640, -1, INT32_MIN, 1 << 30};
  const uint8_t b = s.in.byte() % 20;
  if (b <= 10) return 1 << b;
  if (b < 17) return REFUSED[b - 11];
  return s.in.integer();
}

void textureInit(State& s) {
  auto& slot = s.receiver(s.textures);
  const int32_t w = textureSide(s), h = textureSide(s);
  const int64_t texels = int64_t{w} * h;
  const bool powers = w > 0 && h > 0 && (w & (w - 1)) == 0 && (h & (h - 1)) == 0;
  if (powers && texels <= UINT32_MAX / 4 && texels > MAX_TEXELS) {
    s.skipped = true;
    return;
  }
  if (!mayMakeRecord(s)) return;
  slot.object.init(w, h);
  noteIssued(slot.issued, static_cast<uint32_t>(slot.object.nativeTexture()));
}

void doComplete(State& s) { s.receiver(s.textures).object.doComplete(); }

void textureDispose(State& s) {
  KELRendTexture& t = s.receiver(s.textures).object;
  const uint32_t reference = static_cast<uint32_t>(t.nativeTexture());
  t.dispose();
  if (reference != 0) s.revoked.push_back(reference);
}

// The elements a conversion rectangle reads from its source array: those
// of the rows and columns inside the texture its object names now. Empty
// (hi < lo) when nothing is inside or the texture is unknown.
struct SourceRange {
  int64_t lo = 0, hi = -1;
};

SourceRange sourceRange(const KELRendTexture& t, int32_t x, int32_t y, int32_t w, int32_t h, int32_t offset,
                        int32_t scansize) {
  const auto* record = nativeRefResolveAs<RukTexture>(static_cast<uint32_t>(t.nativeTexture()), NativeKind::Texture);
  if (record == nullptr) return {};
  const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + w, record->width);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + h, record->height);
  if (right <= left || bottom <= top) return {};
  const int64_t first = offset + (top - y) * int64_t{scansize} + (left - x);
  const int64_t last = first + (bottom - top - 1) * int64_t{scansize};
  return {std::min(first, last), std::max(first, last) + (right - left) - 1};
}

// The length of a source array for a conversion: exactly what it reads, or
// when it would read before the array (which the native must refuse) what
// lies after; -1 when no array of a program's size holds the rectangle.
int64_t sourceLength(const SourceRange& range) {
  if (range.hi < range.lo) return 0;
  if (range.hi >= MAX_ARRAY_ELEMENTS) return range.lo >= 0 ? -1 : 0;
  return std::max<int64_t>(range.hi + 1, 0);
}

struct Rectangle {
  int32_t x, y, w, h;
};
Rectangle rectangle(State& s) {
  const int32_t x = s.in.integer(), y = s.in.integer(), w = s.in.integer(), h = s.in.integer();
  return {x, y, w, h};
}

void convertRect32(State& s) {
  KELRendTexture& t = s.receiver(s.textures).object;
  const Rectangle r = rectangle(s);
  uint32_t masks[4];
  for (uint32_t& m : masks) m = s.in.mask();
  const int32_t offset = s.in.integer(), scansize = s.in.integer();
  uint64_t seed = s.in.word() | 1u;
  const bool nullPixels = s.in.flag();
  const int64_t length = sourceLength(sourceRange(t, r.x, r.y, r.w, r.h, offset, scansize));
  if (length < 0) {
    s.skipped = true;
    return;
  }
  IntArray pixels;
  if (!nullPixels) {
    pixels = guardedIntArray(length);
    for (int32_t& p : pixels.span()) p = static_cast<int32_t>(nextRandom(seed));
  }
  t.convertRect32(r.x, r.y, r.w, r.h, static_cast<int32_t>(masks[0]), static_cast<int32_t>(masks[1]),
                  static_cast<int32_t>(masks[2]), static_cast<int32_t>(masks[3]), pixels, offset, scansize);
}

void convertRect8(State& s) {
  KELRendTexture& t = s.receiver(s.textures).object;
  const Rectangle r = rectangle(s);
  const int32_t paletteSize = s.in.integer();
  const bool nullPalette = s.in.flag();
  const int32_t offset = s.in.integer(), scansize = s.in.integer();
  uint64_t seed = s.in.word() | 1u;
  const bool nullPixels = s.in.flag();
  const int64_t length = sourceLength(sourceRange(t, r.x, r.y, r.w, r.h, offset, scansize));
  if (length < 0 || paletteSize > MAX_ARRAY_ELEMENTS) {
    s.skipped = true;
    return;
  }
  IntArray palette;
  if (!nullPalette) {
    palette = guardedIntArray(paletteSize);
    for (int32_t& e : palette.span()) e = static_cast<int32_t>(nextRandom(seed));
  }
  ByteArray bytes;
  if (!nullPixels) {
    bytes = guardedByteArray(length);
    for (uint8_t& b : bytes.span()) b = static_cast<uint8_t>(nextRandom(seed));
  }
  t.convertRect8(r.x, r.y, r.w, r.h, palette, paletteSize, bytes, offset, scansize);
}

// --- KELRendModel ------------------------------------------------------------------------

ModelSlot& model(State& s) { return s.receiver(s.models); }

void modelInit(State& s) {
  ModelSlot& m = model(s);
  if (!mayMakeRecord(s)) return;
  m.native.object.init();
  noteIssued(m.native.issued, static_cast<uint32_t>(m.native.object.nativeModel()));
}
void generateFaceNormals(State& s) { model(s).native.object.generateFaceNormals(); }
// Grouping corners costs the sum over vertices of the squared number of
// corners at each; a program gets a bounded share of it.
uint64_t adjacencyWork(const KELRendModel& m) {
  const JHandle indices = m.vertexIndices().handle;
  if (indices == 0 || m.vertexCount() <= 0) return 0;
  std::vector<uint32_t> corners(static_cast<std::size_t>(m.vertexCount()));
  uint64_t work = 0;
  for (int32_t v : kelhost::intSpan(indices)) {
    if (v >= 0 && v < m.vertexCount()) work += 2 * uint64_t{corners[static_cast<std::size_t>(v)]++} + 1;
  }
  return work;
}

void generateVertexNormals(State& s) {
  ModelSlot& m = model(s);
  const float angle = s.in.real();
  const uint64_t work = adjacencyWork(m.native.object);
  if (s.normalsWork + work > NORMALS_BUDGET) {
    s.skipped = true;
    return;
  }
  s.normalsWork += work;
  m.native.object.generateVertexNormals(angle);
  fitModelArrays(m);  // normalCount may have changed
}
void copyVertexNormals(State& s) { model(s).native.object.copyVertexNormals(); }
void modelDispose(State& s) {
  ModelSlot& m = model(s);
  const uint32_t reference = static_cast<uint32_t>(m.native.object.nativeModel());
  m.native.object.dispose();
  if (reference != 0) s.revoked.push_back(reference);
}

constexpr Operation RUK_OPERATIONS[] = {
    {"KELRendGraphics3D.init", RUK_STUB(KELRendGraphics3D, init), init},
    {"KELRendGraphics3D.dispose", RUK_STUB(KELRendGraphics3D, dispose), dispose},
    CONTEXT_CALL(beginRendering),
    CONTEXT_CALL(endRendering),
    CONTEXT_CALL(doPaint, From<&State::graphics>, Int, Int),
    {"KELRendGraphics3D.doRender", RUK_STUB(KELRendGraphics3D, doRender), doRender},
    {"KELRendGraphics3D.doRayPick", RUK_STUB(KELRendGraphics3D, doRayPick), doRayPick},
    CONTEXT_CALL(concatModelMatrix, AMatrix),
    CONTEXT_CALL(loadModelMatrix, AMatrix),
    CONTEXT_CALL(popModelMatrix),
    CONTEXT_CALL(resetModelMatrix),
    CONTEXT_CALL(translateModel, Real, Real, Real),
    CONTEXT_CALL(doScaleModel, Real, Real, Real),
    CONTEXT_CALL(doRotateModel, Real, Real, Real, Real),
    CONTEXT_CALL(doQuatRotateModel, From<&State::quaternions>),
    CONTEXT_CALL(doGetModelMatrix, AMatrix),
    CONTEXT_CALL(loadTextureMatrix, AMatrix),
    CONTEXT_CALL(doGetTextureMatrix, AMatrix),
    CONTEXT_CALL(doSetPerspectiveProjection, Real, Real, Real, Real),
    CONTEXT_CALL(doSetOrthographicProjection, Real, Real, Real, Real),
    CONTEXT_CALL(setMaterial, From<&State::materials>),
    CONTEXT_CALL(setModifiedMaterialColor, Int),
    CONTEXT_CALL(pushDirectionalLight, ALight),
    CONTEXT_CALL(pushPointLight, ALight),
    CONTEXT_CALL(pushSpotLight, ALight),
    CONTEXT_CALL(popLight),
    CONTEXT_CALL(resetLights),
    CONTEXT_CALL(doSetFog, Int, Colour, Real, Real, Real),
    CONTEXT_CALL(setDepthBufferMask, Int),
    CONTEXT_CALL(doUseTexture, From<&State::textures>),
    CONTEXT_CALL(doSetTextureCoordinateGeneration, Int, Int, Real, Real, Real, Real, Real, Real),
    CONTEXT_CALL(enableFeature, Int),
    CONTEXT_CALL(disableFeature, Int),
    CONTEXT_CALL(setModelRenderMode, Int),
    CONTEXT_CALL(setShadeMode, Int),
    CONTEXT_CALL(setTextureBlendMode, Int),
    CONTEXT_CALL(setTextureFilter, Int),
    CONTEXT_CALL(setTextureWrapping, Flag, Flag),
    CONTEXT_CALL(clear, Int),
    CONTEXT_CALL(doSetClearColor, Colour),
    CONTEXT_CALL(setClearDepth, Real),
    CONTEXT_CALL(enableTwoSidedLighting),
    CONTEXT_CALL(disableTwoSidedLighting),
    CONTEXT_CALL(enableBackfaceCulling),
    CONTEXT_CALL(disableBackfaceCulling),
    CONTEXT_CALL(doCopyBuffers, From<&State::contexts>, Int),
    CONTEXT_CALL(accumulate, Real),
    CONTEXT_CALL(accumLoad, Real),
    CONTEXT_CALL(accumReturn, Real),
    CONTEXT_CALL(accumMult, Real),
    {"KELRend3DDevice.initDirect", RUK_STUB(KELRend3DDevice, initDirect), initDirect},
    {"KELRend3DDevice.initIndexed", RUK_STUB(KELRend3DDevice, initIndexed), initIndexed},
    {"Graphics3DDevice.getDeviceClass", RUK_STUB(Graphics3DDevice, getDeviceClass), getDeviceClass},
    {"KELRendTexture.init", RUK_STUB(KELRendTexture, init), textureInit},
    {"KELRendTexture.doComplete", RUK_STUB(KELRendTexture, doComplete), doComplete},
    {"KELRendTexture.convertRect32", RUK_STUB(KELRendTexture, convertRect32), convertRect32},
    {"KELRendTexture.convertRect8", RUK_STUB(KELRendTexture, convertRect8), convertRect8},
    {"KELRendTexture.dispose", RUK_STUB(KELRendTexture, dispose), textureDispose},
    {"KELRendModel.init", RUK_STUB(KELRendModel, init), modelInit},
    {"KELRendModel.generateFaceNormals", RUK_STUB(KELRendModel, generateFaceNormals), generateFaceNormals},
    {"KELRendModel.generateVertexNormals", RUK_STUB(KELRendModel, generateVertexNormals), generateVertexNormals},
    {"KELRendModel.copyVertexNormals", RUK_STUB(KELRendModel, copyVertexNormals), copyVertexNormals},
    {"KELRendModel.dispose", RUK_STUB(KELRendModel, dispose), modelDispose},
};

}  // namespace

std::span<const Operation> rukOperations() { return RUK_OPERATIONS; }

}  // namespace fuzz
