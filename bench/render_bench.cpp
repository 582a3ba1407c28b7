// Frame benchmarks at 640 x 480 with a depth buffer, for 32-bit, 16-bit and
// dithered 8-bit screens:
//   S1 fill-flat     64 full-screen quads, one flat colour each, each nearer
//                    than the last so every pixel passes the depth test
//   S2 fill-smooth   the same with a different colour at every corner
//   S3 fill-textured S2 with a 256 x 256 texture spanning the screen twice
//   S4 fill-blend    S2 with alpha 128 at every corner
//   S5 small-tris    a screen-covering grid of 2 x 160 x 120 triangles with
//                    per-vertex colours, drawn 10 times at nearer depths
//   S6 lit-sphere    a 256 x 128 segment sphere, one directional light,
//                    diffuse and specular (shininess 16), smooth shading
// Fill scenes report pixels per second, the others triangles per second.
// Each iteration is one frame: clear colour and depth, draw, nothing else.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_scene.h"

namespace {

using bench::BenchContext;
using bench::Fill;
using bench::MeshData;
using bench::Screen;
using kel::ruk::KELRendModel;

void fillBenchmark(benchmark::State& state, Fill fill) {
  const Screen screen = static_cast<Screen>(state.range(0));
  BenchContext c = bench::makeContext(screen);
  kel::ruk::KELRendTexture texture;
  if (fill == Fill::Textured) texture = bench::makeTexture(c);
  KELRendModel model = bench::fillModel(fill);
  for (auto _ : state) {
    c.g.beginRendering();
    c.g.clear(1 | 2);
    c.g.doRender(model);
    c.g.endRendering();
  }
  state.counters["pixels"] = benchmark::Counter(static_cast<double>(bench::kQuads) * bench::kWidth * bench::kHeight,
                                                benchmark::Counter::kIsIterationInvariantRate);
  state.SetLabel(bench::screenName(screen));
  model.dispose();
  if (fill == Fill::Textured) {
    c.g.doUseTexture({});
    texture.dispose();
  }
  bench::releaseContext(c);
}

void S1_FillFlat(benchmark::State& state) { fillBenchmark(state, Fill::Flat); }
void S2_FillSmooth(benchmark::State& state) { fillBenchmark(state, Fill::Smooth); }
void S3_FillTextured(benchmark::State& state) { fillBenchmark(state, Fill::Textured); }
void S4_FillBlend(benchmark::State& state) { fillBenchmark(state, Fill::Blend); }

// A grid of 160 x 120 cells, two triangles each, covering the view at depth 10.
KELRendModel gridModel() {
  constexpr int kColumns = 160, kRows = 120;
  const float depth = 10.0f;
  const float yLimit = static_cast<float>(std::tan(0.7853982 / 2)) * 0.999f;
  const float xLimit = yLimit * 4.0f / 3.0f;
  MeshData grid;
  for (int r = 0; r <= kRows; ++r) {
    for (int col = 0; col <= kColumns; ++col) {
      const float x = (2.0f * static_cast<float>(col) / kColumns - 1.0f) * xLimit * depth;
      const float y = (1.0f - 2.0f * static_cast<float>(r) / kRows) * yLimit * depth;
      grid.vertices.insert(grid.vertices.end(), {x, y, -depth});
    }
  }
  for (int r = 0; r < kRows; ++r) {
    for (int col = 0; col < kColumns; ++col) {
      const int32_t tl = r * (kColumns + 1) + col, tr = tl + 1, bl = tl + kColumns + 1, br = bl + 1;
      for (int32_t index : {tl, bl, br, tl, br, tr}) {
        grid.indices.push_back(index);
        const uint32_t rgb = static_cast<uint32_t>(index) * 0x010305u;
        grid.colors.push_back(static_cast<int32_t>(0xFF000000u | (rgb & 0xFFFFFFu)));
      }
    }
  }
  return bench::makeModel(grid);
}

void S5_SmallTriangles(benchmark::State& state) {
  const Screen screen = static_cast<Screen>(state.range(0));
  BenchContext c = bench::makeContext(screen);
  KELRendModel model = gridModel();
  constexpr int kPasses = 10;
  for (auto _ : state) {
    c.g.beginRendering();
    c.g.clear(1 | 2);
    for (int pass = 0; pass < kPasses; ++pass) {
      // Scaling about the eye keeps the grid on the same pixels, nearer each pass.
      const float s = 1.0f - 0.05f * static_cast<float>(pass);
      c.g.doScaleModel(s, s, s);
      c.g.doRender(model);
      c.g.popModelMatrix();
    }
    c.g.endRendering();
  }
  state.counters["triangles"] = benchmark::Counter(2.0 * 160 * 120 * kPasses, benchmark::Counter::kIsIterationInvariantRate);
  state.SetLabel(bench::screenName(screen));
  model.dispose();
  bench::releaseContext(c);
}

void S6_LitSphere(benchmark::State& state) {
  const Screen screen = static_cast<Screen>(state.range(0));
  BenchContext c = bench::makeContext(screen);
  KELRendModel model = bench::sphereModel();
  bench::lightSphere(c);
  for (auto _ : state) {
    c.g.beginRendering();
    c.g.clear(1 | 2);
    c.g.doRender(model);
    c.g.endRendering();
  }
  state.counters["triangles"] = benchmark::Counter(2.0 * 256 * 128, benchmark::Counter::kIsIterationInvariantRate);
  state.SetLabel(bench::screenName(screen));
  model.dispose();
  bench::releaseContext(c);
}

void screens(benchmark::internal::Benchmark* b) {
  b->Arg(static_cast<int>(Screen::Rgb32))->Arg(static_cast<int>(Screen::Rgb16))->Arg(static_cast<int>(Screen::Indexed8Dithered));
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(S1_FillFlat)->Apply(screens);
BENCHMARK(S2_FillSmooth)->Apply(screens);
BENCHMARK(S3_FillTextured)->Apply(screens);
BENCHMARK(S4_FillBlend)->Apply(screens);
BENCHMARK(S5_SmallTriangles)->Apply(screens);
BENCHMARK(S6_LitSphere)->Apply(screens);

}  // namespace
