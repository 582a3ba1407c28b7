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
// They draw with the widest instruction set this processor runs; the cases
// Isa_<set>_<scene>/0 draw the 32-bit scenes with each set's copy of the scan
// converters forced in turn.
// Each iteration is one frame: clear colour and depth, draw, nothing else.
//
// Scaling_S2_FillSmooth and Scaling_S5_SmallTriangles draw S2 and S5 on a
// 32-bit screen at frame sizes from 320 x 240 to 3840 x 2160 (arguments
// width/height); S5's grid keeps cells of 4 x 4 pixels (triangles of 8
// pixels) at every size. Scaling_Memset in clear_bench.cpp fills the same
// colour and depth bytes, the ceiling to read their pixel rates against.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <utility>

#include "bench_scene.h"
#include "raster/raster_isa.h"

namespace {

using bench::BenchContext;
using bench::Fill;
using bench::MeshData;
using bench::Screen;
using kel::ruk::KELRendModel;

// What a case draws into.
struct Frame {
  Screen screen;
  int width;
  int height;
  float aspect() const { return static_cast<float>(width) / static_cast<float>(height); }
};

// The per-screen cases: the screen format is the argument, the frame 640 x 480.
Frame screenFrame(const benchmark::State& state) {
  return {static_cast<Screen>(state.range(0)), bench::kWidth, bench::kHeight};
}

// The scaling cases: a 32-bit screen, the frame's width and height the arguments.
Frame scaledFrame(const benchmark::State& state) {
  return {Screen::Rgb32, static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

void fillBenchmark(benchmark::State& state, Fill fill, Frame frame) {
  BenchContext c = bench::makeContext(frame.screen, frame.width, frame.height);
  kel::ruk::KELRendTexture texture;
  if (fill == Fill::Textured) texture = bench::makeTexture(c);
  KELRendModel model = bench::fillModel(fill, frame.aspect());
  for (auto _ : state) {
    c.g.beginRendering();
    c.g.clear(1 | 2);
    c.g.doRender(model);
    c.g.endRendering();
  }
  state.counters["pixels"] = benchmark::Counter(static_cast<double>(bench::kQuads) * frame.width * frame.height,
                                                benchmark::Counter::kIsIterationInvariantRate);
  state.SetLabel(bench::screenName(frame.screen));
  model.dispose();
  if (fill == Fill::Textured) {
    c.g.doUseTexture({});
    texture.dispose();
  }
  bench::releaseContext(c);
}

void S1_FillFlat(benchmark::State& state) { fillBenchmark(state, Fill::Flat, screenFrame(state)); }
void S2_FillSmooth(benchmark::State& state) { fillBenchmark(state, Fill::Smooth, screenFrame(state)); }
void S3_FillTextured(benchmark::State& state) { fillBenchmark(state, Fill::Textured, screenFrame(state)); }
void S4_FillBlend(benchmark::State& state) { fillBenchmark(state, Fill::Blend, screenFrame(state)); }
void Scaling_S2_FillSmooth(benchmark::State& state) { fillBenchmark(state, Fill::Smooth, scaledFrame(state)); }

// A grid of cells of 4 x 4 pixels, two triangles each, covering the view at
// depth 10 (160 x 120 cells at 640 x 480).
constexpr int kCellPixels = 4;

KELRendModel gridModel(Frame frame) {
  const int columns = frame.width / kCellPixels, rows = frame.height / kCellPixels;
  const float depth = 10.0f;
  const bench::ViewLimits limits = bench::viewLimits(frame.aspect(), 0.999f);
  MeshData grid;
  for (int r = 0; r <= rows; ++r) {
    for (int col = 0; col <= columns; ++col) {
      const float x = (2.0f * static_cast<float>(col) / static_cast<float>(columns) - 1.0f) * limits.x * depth;
      const float y = (1.0f - 2.0f * static_cast<float>(r) / static_cast<float>(rows)) * limits.y * depth;
      grid.vertices.insert(grid.vertices.end(), {x, y, -depth});
    }
  }
  for (int r = 0; r < rows; ++r) {
    for (int col = 0; col < columns; ++col) {
      const int32_t tl = r * (columns + 1) + col, tr = tl + 1, bl = tl + columns + 1, br = bl + 1;
      for (int32_t index : {tl, bl, br, tl, br, tr}) {
        grid.indices.push_back(index);
        const uint32_t rgb = static_cast<uint32_t>(index) * 0x010305u;
        grid.colors.push_back(static_cast<int32_t>(0xFF000000u | (rgb & 0xFFFFFFu)));
      }
    }
  }
  return bench::makeModel(grid);
}

void smallTriangles(benchmark::State& state, Frame frame) {
  BenchContext c = bench::makeContext(frame.screen, frame.width, frame.height);
  KELRendModel model = gridModel(frame);
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
  const double cells = static_cast<double>(frame.width / kCellPixels) * (frame.height / kCellPixels);
  state.counters["triangles"] =
      benchmark::Counter(2.0 * cells * kPasses, benchmark::Counter::kIsIterationInvariantRate);
  state.SetLabel(bench::screenName(frame.screen));
  model.dispose();
  bench::releaseContext(c);
}

void S5_SmallTriangles(benchmark::State& state) { smallTriangles(state, screenFrame(state)); }
void Scaling_S5_SmallTriangles(benchmark::State& state) { smallTriangles(state, scaledFrame(state)); }

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
  b->Arg(static_cast<int>(Screen::Rgb32))
      ->Arg(static_cast<int>(Screen::Rgb16))
      ->Arg(static_cast<int>(Screen::Indexed8Dithered));
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(S1_FillFlat)->Apply(screens);
BENCHMARK(S2_FillSmooth)->Apply(screens);
BENCHMARK(S3_FillTextured)->Apply(screens);
BENCHMARK(S4_FillBlend)->Apply(screens);
BENCHMARK(S5_SmallTriangles)->Apply(screens);
BENCHMARK(S6_LitSphere)->Apply(screens);
BENCHMARK(Scaling_S2_FillSmooth)->Apply(bench::scalingSizes);
BENCHMARK(Scaling_S5_SmallTriangles)->Apply(bench::scalingSizes);

// The 32-bit scenes again, once per available instruction set.
[[maybe_unused]] const bool isaCasesRegistered = [] {
  using Scene = void (*)(benchmark::State&);
  const std::pair<const char*, Scene> scenes[] = {
      {"S1_FillFlat", S1_FillFlat},   {"S2_FillSmooth", S2_FillSmooth},         {"S3_FillTextured", S3_FillTextured},
      {"S4_FillBlend", S4_FillBlend}, {"S5_SmallTriangles", S5_SmallTriangles}, {"S6_LitSphere", S6_LitSphere}};
  for (RasterIsa isa : RASTER_ISAS) {
    if (!rasterIsaAvailable(isa)) continue;
    for (const auto& [name, scene] : scenes) {
      const std::string caseName = std::string("Isa_") + rasterIsaName(isa) + "_" + name;
      benchmark::RegisterBenchmark(caseName.c_str(),
                                   [isa, scene](benchmark::State& state) {
                                     forceRasterIsa(isa);
                                     scene(state);
                                     forceRasterIsa(bestRasterIsa());
                                   })
          ->Arg(static_cast<int>(Screen::Rgb32))
          ->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

}  // namespace
