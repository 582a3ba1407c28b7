// The objects a fuzz program works on, and the operations it is made of.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <tuple>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_program.h"
#include "host/kel_ruk.h"

namespace fuzz {

using kel::geom::Matrix4;
using kel::geom::Quaternion;
using kel::geom::Ray;
using kel::geom::Vector3;
using kel::ruk::ByteArray;
using kel::ruk::Graphics3DDevice;
using kel::ruk::IntArray;
using kel::ruk::KELRend3DDevice;
using kel::ruk::KELRendGraphics3D;
using kel::ruk::KELRendModel;
using kel::ruk::KELRendTexture;
using kel::ruk::Light;
using kel::ruk::Material;
using kel::ruk::PickResult;
using kel::ruk::PickUV;

inline constexpr int DEVICES = 3, CONTEXTS = 3, TEXTURES = 3, MODELS = 3;
inline constexpr int VECTORS = 6, QUATERNIONS = 3, MATRICES = 4, BOXES = 2, RAYS = 2;
inline constexpr int LIGHTS = 2, MATERIALS = 2, GRAPHICS = 2, WINDOWS = 2, SURFACES = 2;

// Limits of what one program may ask for, so that a program stays a few
// milliseconds long: larger requests of the same kind are not made.
inline constexpr int64_t MAX_CONTEXT_PIXELS = 1 << 16;
inline constexpr int64_t MAX_TEXELS = 1 << 18;
inline constexpr int64_t MAX_ARRAY_ELEMENTS = 1 << 20;
inline constexpr int32_t MAX_SURFACE_SIDE = 512;
// Work per program: primitives x (context pixels + 256) drawn, and the
// adjacency work of vertex normals (the sum over vertices of the squared
// number of corners at each).
inline constexpr uint64_t DRAW_BUDGET = uint64_t{1} << 26;
inline constexpr uint64_t NORMALS_BUDGET = uint64_t{1} << 24;
inline constexpr int MAX_RECORDS = 24;  // contexts, textures, models and devices made by one program
inline constexpr std::size_t HEAP_BUDGET = std::size_t{96} << 20;  // Java heap bytes per program

// An object of one of the four kinds with a native reference, and every
// reference the library issued into it (a second init issues another).
template <class T>
struct Native {
  T object;
  std::vector<uint32_t> issued;
};

// Which of a model's arrays exist (a bit each); the rest are null.
enum ModelArray : uint32_t {
  VERTICES = 1,
  FACE_NORMALS = 2,
  NORMALS = 4,
  TEX_COORDS = 8,
  VERTEX_INDICES = 16,
  NORMAL_INDICES = 32,
  TEX_COORD_INDICES = 64,
  COLORS = 128,
};
inline constexpr int MODEL_ARRAY_KINDS = 8;

struct ModelSlot {
  Native<KELRendModel> native;
  uint32_t present = 0;
  uint64_t seed = 1;  // fills array elements the input does not give
};

struct State {
  explicit State(std::span<const uint8_t> input, Observer* observer);

  Reader in;
  Observer* observer;
  bool skipped = false;  // the current operation made no call
  uint64_t drawn = 0;    // drawing work so far
  uint64_t normalsWork = 0;
  int records = 0;  // records the init natives made

  std::array<Native<KELRend3DDevice>, DEVICES> devices;
  std::array<Native<KELRendGraphics3D>, CONTEXTS> contexts;
  std::array<Native<KELRendTexture>, TEXTURES> textures;
  std::array<ModelSlot, MODELS> models;
  std::array<Vector3, VECTORS> vectors;
  std::array<Quaternion, QUATERNIONS> quaternions;
  std::array<Matrix4, MATRICES> matrices;
  std::array<kel::geom::BoundingBox3, BOXES> boxes;
  std::array<Ray, RAYS> rays;
  std::array<Light, LIGHTS> lights;
  std::array<Material, MATERIALS> materials;
  PickResult pick;
  std::array<kelhost::Graphics, GRAPHICS> graphics;
  std::array<HWND, WINDOWS> windows{};
  std::array<HDC, SURFACES> surfaces{};
  std::vector<uint32_t> revoked;  // references this program saw revoked

  // Receivers never are null; arguments may be (the last choice).
  template <class T, std::size_t N>
  T& receiver(std::array<T, N>& pool) {
    return pool[in.choice(N)];
  }
  template <class T, std::size_t N>
  T argument(const std::array<T, N>& pool) {
    const uint32_t i = in.choice(N + 1);
    return i < N ? pool[i] : T{};
  }
  template <class T, std::size_t N>
  T argument(const std::array<Native<T>, N>& pool) {
    const uint32_t i = in.choice(N + 1);
    return i < N ? pool[i].object : T{};
  }
};

// Operations of one pattern: a receiver from a pool, then the arguments
// read in order, each of a kind below, then the one call.
template <auto Pool>
struct From {};  // an object of the pool `State::*Pool`, or null
struct Int {};
struct Real {};
struct Flag {};
struct Colour {};

template <class T>
T& objectOf(T& object) {
  return object;
}
template <class T>
T& objectOf(Native<T>& native) {
  return native.object;
}

template <auto Pool>
auto read(State& s, From<Pool>) {
  return s.argument(s.*Pool);
}
inline int32_t read(State& s, Int) { return s.in.integer(); }
inline float read(State& s, Real) { return s.in.real(); }
inline bool read(State& s, Flag) { return s.in.flag(); }
inline int32_t read(State& s, Colour) { return static_cast<int32_t>(s.in.colour()); }

template <auto Method, auto Receivers, class... Arguments>
void call(State& s) {
  auto& receiver = objectOf(s.receiver(s.*Receivers));
  // A braced list reads its arguments left to right.
  const std::tuple<decltype(read(s, Arguments{}))...> values{read(s, Arguments{})...};
  std::apply([&](auto... v) { (receiver.*Method)(v...); }, values);
}

template <auto Function, class... Arguments>
void callStatic(State& s) {
  const std::tuple<decltype(read(s, Arguments{}))...> values{read(s, Arguments{})...};
  std::apply([&](auto... v) { Function(v...); }, values);
}

struct Operation {
  std::string_view name;
  const char* stub;  // the native the operation calls, null for host operations
  void (*run)(State&);
};

std::span<const Operation> hostOperations();
std::span<const Operation> rukOperations();
std::span<const Operation> geomOperations();

// Host helpers the operations share.
uint64_t nextRandom(uint64_t& seed);
float randomReal(uint64_t& seed);
// Re-sizes a model's arrays to the counts and bindings its fields declare
// now, keeping what they held.
void fitModelArrays(ModelSlot& model);
// Notes a reference the library may have just issued into a native object.
void noteIssued(std::vector<uint32_t>& issued, uint32_t reference);
// False (and the operation skipped) once a program has made MAX_RECORDS.
bool mayMakeRecord(State& s);
// A fresh array of `count` elements (0 for a negative count), with memory
// before it that no native may touch.
kelhost::IntArray guardedIntArray(int64_t count);
kelhost::ByteArray guardedByteArray(int64_t count);

}  // namespace fuzz
