// Host operations of a fuzz program: what a Java program and its toolkit do
// besides calling natives. They set up screens, windows and surfaces, fill
// the objects natives read, change fields between calls (counts after init,
// forged and stale native references), and make arrays as large as the
// counts declare.
#include <algorithm>

#include "fuzz/fuzz_state.h"
#include "model/model.h"
#include "platform/display.h"
#include "runtime/native_refs.h"
#include "share/kel/ruk/java_fields.h"

namespace fuzz {
namespace {

using kelhost::getInt;
using kelhost::setHandle;
using kelhost::setInt;

// --- Screen, windows, surfaces ----------------------------------------------

void display(State& s) {
  constexpr int DEPTHS[8] = {32, 16, 24, 8, 15, 0, 1, 64};
  displaySetDepth(DEPTHS[s.in.choice(8)]);
  switch (s.in.choice(6)) {
    case 0: displaySetMasks(0, 0, 0); break;
    case 1: displaySetMasks(0xF800, 0x07E0, 0x001F); break;
    case 2: displaySetMasks(0x7C00, 0x03E0, 0x001F); break;
    case 3: displaySetMasks(0x0000FF, 0x00FF00, 0xFF0000); break;
    case 4: displaySetMasks(0x0F00, 0x00F0, 0x000F); break;
    default: {
      const uint32_t r = s.in.mask(), g = s.in.mask(), b = s.in.mask();
      displaySetMasks(r, g, b);
    }
  }
}

void systemPalette(State& s) {
  uint64_t seed = s.in.word();
  if (seed == 0) {
    displayResetSystemPalette();
    return;
  }
  std::array<uint32_t, 256> colours;
  for (uint32_t& c : colours) c = static_cast<uint32_t>(nextRandom(seed)) & 0xFFFFFF;
  displaySetSystemPalette(colours);
}

int32_t side(State& s) { return s.in.count(); }

void createWindow(State& s) {
  HWND& window = s.receiver(s.windows);
  const int32_t w = side(s), h = side(s);
  if (w > MAX_SURFACE_SIDE || h > MAX_SURFACE_SIDE) return;
  if (window != 0) displayDestroyWindow(window);
  window = displayCreateWindow(w, h);
}

void activateWindow(State& s) { displayActivateWindow(s.argument(s.windows)); }

void destroyWindow(State& s) {
  HWND& window = s.receiver(s.windows);
  if (window != 0) displayDestroyWindow(window);
  window = 0;
}

void createSurface(State& s) {
  HDC& surface = s.receiver(s.surfaces);
  const int32_t w = side(s), h = side(s);
  if (w > MAX_SURFACE_SIDE || h > MAX_SURFACE_SIDE) return;
  if (surface != 0) displayDestroySurface(surface);
  surface = displayCreateSurface(w, h);
}

void destroySurface(State& s) {
  HDC& surface = s.receiver(s.surfaces);
  if (surface != 0) displayDestroySurface(surface);
  surface = 0;
}

void failures(State& s) {
  switch (s.in.choice(3)) {
    case 0: displayFailGetDCOfActiveWindow(s.in.flag()); break;
    case 1: displayFailNextCreateDIBSection(); break;
    default: displayFailNextGetObject(s.in.word()); break;
  }
}

// The device context a toolkit graphics record hands doPaint.
void graphicsTarget(State& s) {
  kelhost::Graphics& g = s.receiver(s.graphics);
  switch (s.in.choice(3)) {
    case 0: g.setDc(s.argument(s.surfaces)); break;
    case 1: g.setDc(0); break;
    default: g.setDc(s.in.word()); break;
  }
}

// --- Fields of the kel.ruk objects --------------------------------------------

KELRend3DDevice deviceArgument(State& s) { return s.argument(s.devices); }

void contextField(State& s) {
  KELRendGraphics3D& g = s.receiver(s.contexts).object;
  switch (s.in.choice(3)) {
    case 0: g.setWindow(s.argument(s.windows)); break;
    case 1: g.setWindow(s.in.word()); break;
    default: g.setDevice(deviceArgument(s)); break;
  }
}

void textureField(State& s) {
  KELRendTexture& t = s.receiver(s.textures).object;
  if (s.in.flag()) {
    t.setComplete(s.in.integer());
  } else {
    t.setDevice(deviceArgument(s));
  }
}

// A native reference field set to what a careless or hostile program might
// leave there: nothing, a reference it saw revoked, a live one of another
// kind or object, any word, or its own again.
void forgeReference(State& s) {
  const uint32_t kind = s.in.choice(4);
  const uint32_t slot = s.in.choice(3);
  const uint32_t how = s.in.choice(6);
  JHandle object = 0;
  int field = 0;
  const std::vector<uint32_t>* own = nullptr;
  const std::vector<uint32_t>* other = nullptr;
  switch (kind) {
    case 0:
      object = s.devices[slot].object.handle, field = DEVICE_NATIVE_DEVICE;
      own = &s.devices[slot].issued, other = &s.textures[slot].issued;
      break;
    case 1:
      object = s.contexts[slot].object.handle, field = GRAPHICS3D_CONTEXT;
      own = &s.contexts[slot].issued, other = &s.models[slot].native.issued;
      break;
    case 2:
      object = s.textures[slot].object.handle, field = TEXTURE_NATIVE_TEXTURE;
      own = &s.textures[slot].issued, other = &s.contexts[slot].issued;
      break;
    default:
      object = s.models[slot].native.object.handle, field = MODEL_NATIVE_MODEL;
      own = &s.models[slot].native.issued, other = &s.devices[slot].issued;
      break;
  }
  uint32_t value = 0;
  switch (how) {
    case 0: value = 0; break;
    case 1:
      value = s.revoked.empty() ? 0x00100000u : s.revoked[s.in.choice(static_cast<uint32_t>(s.revoked.size()))];
      break;
    case 2: value = other->empty() ? 1u : other->back(); break;
    case 3: value = s.in.word(); break;
    case 4: value = own->empty() ? 0u : own->back(); break;
    default: value = own->empty() ? 2u : own->back() + (1u << 20); break;
  }
  kelhost::setWord(object, field, value);
}

// --- Models ---------------------------------------------------------------------

// How many elements each of a model's arrays holds by the fields it has now.
int64_t declaredLength(const KELRendModel& m, uint32_t array) {
  const int64_t primitives = std::max(m.primitiveCount(), 0);
  const int64_t corners = primitives * cornersPerPrimitive(modelTypeOfKind(m.primitiveKind()));
  switch (array) {
    case VERTICES: return 3 * int64_t{std::max(m.vertexCount(), 0)};
    case FACE_NORMALS: return 3 * primitives;
    case NORMALS: return 3 * int64_t{std::max(m.normalCount(), 0)};
    case TEX_COORDS: return 2 * int64_t{std::max(m.texCoordCount(), 0)};
    case COLORS: {
      const uint32_t binding = colorBindingOf(m.colorBinding());
      return binding == BINDING_PER_CORNER ? corners : binding == BINDING_PER_PRIMITIVE ? primitives : 0;
    }
    default: return corners;  // the three index arrays
  }
}

constexpr int ARRAY_FIELDS[MODEL_ARRAY_KINDS] = {MODEL_VERTICES,         MODEL_FACE_NORMALS,   MODEL_NORMALS,
                                                 MODEL_TEXCOORDS,        MODEL_VERTEX_INDICES, MODEL_NORMAL_INDICES,
                                                 MODEL_TEXCOORD_INDICES, MODEL_COLORS};

// A random element of one of a model's arrays: coordinates and normals near
// the origin, indices mostly below the count they index, colours mostly
// opaque.
uint32_t randomElement(const KELRendModel& m, uint32_t array, uint64_t& seed) {
  const uint64_t r = nextRandom(seed);
  auto index = [&](int32_t limit) {
    if ((r & 63) == 0) return static_cast<uint32_t>(r >> 16);
    return static_cast<uint32_t>((r >> 8) % static_cast<uint64_t>(std::max(limit, 1)));
  };
  switch (array) {
    case VERTEX_INDICES: return index(m.vertexCount());
    case NORMAL_INDICES: return index(m.normalCount());
    case TEX_COORD_INDICES: return index(m.texCoordCount());
    case COLORS: return static_cast<uint32_t>(r >> 8) | ((r & 3) != 0 ? 0xFF000000u : 0u);
    default: return std::bit_cast<uint32_t>(randomReal(seed));
  }
}

}  // namespace

void fitModelArrays(ModelSlot& model) {
  const KELRendModel& m = model.native.object;
  for (int k = 0; k < MODEL_ARRAY_KINDS; ++k) {
    const uint32_t array = 1u << k;
    const int field = ARRAY_FIELDS[k];
    if ((model.present & array) == 0) {
      setHandle(m.handle, field, 0);
      continue;
    }
    const int64_t length = declaredLength(m, array);
    const JHandle old = kelhost::getHandle(m.handle, field);
    if (old != 0 && kelhost::lengthOf(old) == length) continue;
    const kelhost::IntArray fresh = guardedIntArray(length);
    const std::size_t kept = old == 0 ? 0 : std::min<std::size_t>(kelhost::lengthOf(old), fresh.size());
    for (std::size_t i = 0; i < fresh.size(); ++i) {
      fresh[i] = i < kept ? kelhost::intElements(old)[i] : static_cast<int32_t>(randomElement(m, array, model.seed));
    }
    setHandle(m.handle, field, fresh.handle);
  }
}

namespace {

// A whole model: kind, counts, bindings, which arrays exist, and their
// contents, either random from a seed or, element by element, from the
// input.
void modelSetup(State& s) {
  ModelSlot& model = s.receiver(s.models);
  const KELRendModel& m = model.native.object;
  m.setPrimitiveKind(s.in.integer());
  m.setPrimitiveCount(s.in.count());
  m.setVertexCount(s.in.count());
  m.setNormalCount(s.in.count());
  m.setTexCoordCount(s.in.count());
  m.setNormalBinding(s.in.integer());
  m.setColorBinding(s.in.integer());
  m.setTexCoordBinding(s.in.integer());
  m.setReady(s.in.byte());
  model.present = s.in.byte();
  model.seed = s.in.word() | 1u;
  const bool explicitElements = s.in.flag();
  for (int k = 0; k < MODEL_ARRAY_KINDS; ++k) setHandle(m.handle, ARRAY_FIELDS[k], 0);
  fitModelArrays(model);
  if (!explicitElements) return;
  // In the order of the arrays, as many elements as the input still has.
  for (int k = 0; k < MODEL_ARRAY_KINDS && !s.in.done(); ++k) {
    const uint32_t array = 1u << k;
    const JHandle handle = kelhost::getHandle(m.handle, ARRAY_FIELDS[k]);
    if (handle == 0) continue;
    int32_t* elements = kelhost::intElements(handle);
    for (uint32_t i = 0; i < kelhost::lengthOf(handle); ++i) {
      switch (array) {
        case VERTEX_INDICES:
        case NORMAL_INDICES:
        case TEX_COORD_INDICES: elements[i] = s.in.integer(); break;
        case COLORS: elements[i] = static_cast<int32_t>(s.in.colour()); break;
        default: elements[i] = std::bit_cast<int32_t>(s.in.real()); break;
      }
    }
  }
}

// One field changed after init, as a program may; the arrays follow the new
// declaration.
void modelField(State& s) {
  ModelSlot& model = s.receiver(s.models);
  const KELRendModel& m = model.native.object;
  switch (s.in.choice(9)) {
    case 0: m.setPrimitiveKind(s.in.integer()); break;
    case 1: m.setPrimitiveCount(s.in.count()); break;
    case 2: m.setVertexCount(s.in.count()); break;
    case 3: m.setNormalCount(s.in.count()); break;
    case 4: m.setTexCoordCount(s.in.count()); break;
    case 5: m.setNormalBinding(s.in.integer()); break;
    case 6: m.setColorBinding(s.in.integer()); break;
    case 7: m.setTexCoordBinding(s.in.integer()); break;
    default: m.setReady(s.in.byte()); break;
  }
  fitModelArrays(model);
}

void modelArrays(State& s) {
  ModelSlot& model = s.receiver(s.models);
  model.present = s.in.byte();
  model.seed = s.in.word() | 1u;
  fitModelArrays(model);
}

void modelElement(State& s) {
  ModelSlot& model = s.receiver(s.models);
  const uint32_t k = s.in.choice(MODEL_ARRAY_KINDS);
  const JHandle handle = kelhost::getHandle(model.native.object.handle, ARRAY_FIELDS[k]);
  const uint32_t at = static_cast<uint32_t>(s.in.integer());
  const int32_t value = (1u << k) >= VERTEX_INDICES ? s.in.integer() : std::bit_cast<int32_t>(s.in.real());
  if (handle != 0 && kelhost::lengthOf(handle) != 0)
    kelhost::intElements(handle)[at % kelhost::lengthOf(handle)] = value;
}

// --- Objects the natives read ----------------------------------------------------

void setFloats(State& s, JHandle object, int count) {
  for (int i = 0; i < count; ++i) kelhost::setFloat(object, i, s.in.real());
}

void vector(State& s) { setFloats(s, s.receiver(s.vectors).handle, 3); }
void quaternion(State& s) { setFloats(s, s.receiver(s.quaternions).handle, 4); }

void matrix(State& s) {
  const Matrix4& m = s.receiver(s.matrices);
  if (s.in.flag()) {
    setFloats(s, m.handle, 16);
  } else {
    uint64_t seed = s.in.word() | 1u;
    for (int i = 0; i < 16; ++i) m.setElement(i, randomReal(seed));
  }
  m.setHints(s.in.word());
}

void box(State& s) {
  const kel::geom::BoundingBox3& b = s.receiver(s.boxes);
  setFloats(s, b.center().handle, 3);
  setFloats(s, b.halfExtents().handle, 3);
}

void ray(State& s) {
  const Ray& r = s.receiver(s.rays);
  setFloats(s, r.origin().handle, 3);
  setFloats(s, r.direction().handle, 3);
}

void light(State& s) {
  const Light& l = s.receiver(s.lights);
  l.setColor(static_cast<int32_t>(s.in.colour()));
  l.setAmbient(static_cast<int32_t>(s.in.colour()));
  const uint32_t vectors = s.in.byte();
  l.setPosition((vectors & 1) != 0 ? Vector3{} : Vector3::create());
  l.setDirection((vectors & 2) != 0 ? Vector3{} : Vector3::create());
  if (l.position().handle != 0) setFloats(s, l.position().handle, 3);
  if (l.direction().handle != 0) setFloats(s, l.direction().handle, 3);
  const float quadratic = s.in.real(), linear = s.in.real(), constant = s.in.real();
  l.setAttenuation(quadratic, linear, constant);
  l.setRange(s.in.real());
  const float outer = s.in.real();
  l.setCone(outer, s.in.real());
}

void material(State& s) {
  const Material& m = s.receiver(s.materials);
  for (int i = 0; i < 4; ++i) kelhost::setWord(m.handle, i, s.in.colour());
  kelhost::setFloat(m.handle, 4, s.in.real());
  kelhost::setInt(m.handle, 5, s.in.integer());
}

void pickResult(State& s) {
  PickResult& p = s.pick;
  p.setRequest(s.in.integer());
  p.setDistance(s.in.real());
  const uint32_t absent = s.in.byte();
  p.setPoint((absent & 1) != 0 ? Vector3{} : Vector3::create());
  p.setNormal((absent & 2) != 0 ? Vector3{} : Vector3::create());
  p.setUv((absent & 4) != 0 ? PickUV{} : PickUV::create());
}

constexpr Operation HOST_OPERATIONS[] = {
    {"host.display", nullptr, display},
    {"host.systemPalette", nullptr, systemPalette},
    {"host.createWindow", nullptr, createWindow},
    {"host.activateWindow", nullptr, activateWindow},
    {"host.destroyWindow", nullptr, destroyWindow},
    {"host.createSurface", nullptr, createSurface},
    {"host.destroySurface", nullptr, destroySurface},
    {"host.failures", nullptr, failures},
    {"host.graphicsTarget", nullptr, graphicsTarget},
    {"host.contextField", nullptr, contextField},
    {"host.textureField", nullptr, textureField},
    {"host.forgeReference", nullptr, forgeReference},
    {"host.modelSetup", nullptr, modelSetup},
    {"host.modelField", nullptr, modelField},
    {"host.modelArrays", nullptr, modelArrays},
    {"host.modelElement", nullptr, modelElement},
    {"host.vector", nullptr, vector},
    {"host.quaternion", nullptr, quaternion},
    {"host.matrix", nullptr, matrix},
    {"host.box", nullptr, box},
    {"host.ray", nullptr, ray},
    {"host.light", nullptr, light},
    {"host.material", nullptr, material},
    {"host.pickResult", nullptr, pickResult},
};

}  // namespace

std::span<const Operation> hostOperations() { return HOST_OPERATIONS; }

}  // namespace fuzz
