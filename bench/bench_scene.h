// Contexts and models for the benchmarks: 640 x 480 (or a frame size of the
// scaling benchmarks) with a depth buffer, in the three screen formats
// measured.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "host/kel_ruk.h"

namespace bench {

inline constexpr int kWidth = 640;
inline constexpr int kHeight = 480;

// Frame sizes of the scaling benchmarks, from a quarter of VGA to 4K.
inline constexpr int kScalingSizes[][2] = {{320, 240}, {640, 480}, {1920, 1080}, {3840, 2160}};

// Registers those sizes as (width, height) arguments, timed in milliseconds.
inline void scalingSizes(benchmark::internal::Benchmark* b) {
  for (const auto& size : kScalingSizes) b->Args({size[0], size[1]});
  b->Unit(benchmark::kMillisecond);
}

// Screen formats measured: 32-bit, 5-6-5 16-bit, dithered 8-bit indexed.
enum class Screen { Rgb32 = 0, Rgb16 = 1, Indexed8Dithered = 2 };
const char* screenName(Screen screen);

struct BenchContext {
  kel::ruk::KELRend3DDevice device;
  kel::ruk::KELRendGraphics3D g;
  HWND window = 0;
  int width = kWidth;
  int height = kHeight;
  kelhost::HeapMark heapMark = 0;
};

// A context for the screen, no lights, material colours taken from the
// model's own colours as emission, default perspective projection.
BenchContext makeContext(Screen screen, int width = kWidth, int height = kHeight);
// Disposes of the context and gives back the Java heap used since it was
// made (models, textures and their arrays), so that repetitions of the large
// frames do not exhaust it: dispose of those first.
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

// A quad covering the whole view of a frame of `aspect` (width / height) at
// eye distance `depth`, with the given corner colours (top left, top right,
// bottom right, bottom left) and texture coordinates 0..uvSpan.
MeshData fullScreenQuad(float depth, const int32_t colors[4], float uvSpan, float aspect);

// The x and y limits of the default view of a frame of `aspect`, scaled by
// `margin`.
struct ViewLimits {
  float x;
  float y;
};
ViewLimits viewLimits(float aspect, float margin);

// A 256 x 256 texture of a colour pattern, bound to the context.
kel::ruk::KELRendTexture makeTexture(const BenchContext& context);

// The fill scenes' model: 64 full-screen quads from far to near (128
// triangles: one batch), colours by fill kind, for a frame of `aspect`
// (width / height).
inline constexpr int kQuads = 64;
enum class Fill { Flat, Smooth, Textured, Blend };
kel::ruk::KELRendModel fillModel(Fill fill, float aspect = static_cast<float>(kWidth) / kHeight);

// The lit sphere: 256 x 128 segments with crease-angle vertex normals, and
// the light, material and placement it is drawn with.
MeshData sphereMesh();
kel::ruk::KELRendModel sphereModel();
void lightSphere(const BenchContext& context);

}  // namespace bench
