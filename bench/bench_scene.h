// Contexts and models for the benchmarks: 640 x 480 with a depth buffer, in
// the three screen formats measured.
#pragma once

#include <cstdint>
#include <vector>

#include "host/kel_ruk.h"

namespace bench {

inline constexpr int kWidth = 640;
inline constexpr int kHeight = 480;

// Screen formats measured: 32-bit, 5-6-5 16-bit, dithered 8-bit indexed.
enum class Screen { Rgb32 = 0, Rgb16 = 1, Indexed8Dithered = 2 };
const char* screenName(Screen screen);

struct BenchContext {
  kel::ruk::KELRend3DDevice device;
  kel::ruk::KELRendGraphics3D g;
  HWND window = 0;
};

// A context for the screen, no lights, material colours taken from the
// model's own colours as emission, default perspective projection.
BenchContext makeContext(Screen screen);
void releaseContext(BenchContext& context);

// Vertex and colour data for a model; colours are 0xAARRGGBB per corner when
// given.
struct MeshData {
  std::vector<float> vertices;
  std::vector<int32_t> indices;
  std::vector<int32_t> colors;
  std::vector<float> texCoords;
};

kel::ruk::KELRendModel makeModel(const MeshData& mesh);

// A quad covering the whole view at eye distance `depth`, with the given
// corner colours (top left, top right, bottom right, bottom left) and
// texture coordinates 0..uvSpan.
MeshData fullScreenQuad(float depth, const int32_t colors[4], float uvSpan);

// A 256 x 256 texture of a colour pattern, bound to the context.
kel::ruk::KELRendTexture makeTexture(const BenchContext& context);

// The fill scenes' model: 64 full-screen quads from far to near (128
// triangles: one batch), colours by fill kind.
inline constexpr int kQuads = 64;
enum class Fill { Flat, Smooth, Textured, Blend };
kel::ruk::KELRendModel fillModel(Fill fill);

// The lit sphere: 256 x 128 segments with crease-angle vertex normals, and
// the light, material and placement it is drawn with.
MeshData sphereMesh();
kel::ruk::KELRendModel sphereModel();
void lightSphere(const BenchContext& context);

}  // namespace bench
