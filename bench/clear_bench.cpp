// Clearing colour and depth beside a plain memset of the same bytes: the
// memset rate is the ceiling a clear can reach on this machine, and at the
// scaling benchmarks' frame sizes the ceiling of their pixel rates.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench_scene.h"

namespace {

using bench::Screen;

int bytesPerPixel(Screen screen) {
  switch (screen) {
    case Screen::Rgb32: return 4;
    case Screen::Rgb16: return 2;
    case Screen::Indexed8Dithered: return 1;
  }
  return 4;
}

void ClearColorAndDepth(benchmark::State& state) {
  const Screen screen = static_cast<Screen>(state.range(0));
  bench::BenchContext c = bench::makeContext(screen);
  c.g.doSetClearColor(0x336699);
  for (auto _ : state) c.g.clear(1 | 2);
  state.SetBytesProcessed(state.iterations() * bench::kWidth * bench::kHeight * (bytesPerPixel(screen) + 4));
  state.SetLabel(bench::screenName(screen));
  bench::releaseContext(c);
}

// Sets `colorBytesPerPixel` colour bytes and 4 depth bytes for each of
// `pixels` pixels, in two buffers as a context has them.
void memsetBuffers(benchmark::State& state, int colorBytesPerPixel, int64_t pixels) {
  std::vector<uint8_t> color(static_cast<std::size_t>(pixels * colorBytesPerPixel));
  std::vector<uint8_t> depth(static_cast<std::size_t>(pixels * 4));
  for (auto _ : state) {
    std::memset(color.data(), 0x5A, color.size());
    std::memset(depth.data(), 0x3F, depth.size());
    benchmark::DoNotOptimize(color.data());
    benchmark::DoNotOptimize(depth.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(color.size() + depth.size()));
  state.counters["pixels"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsIterationInvariantRate);
}

void MemsetSameBytes(benchmark::State& state) {
  const Screen screen = static_cast<Screen>(state.range(0));
  memsetBuffers(state, bytesPerPixel(screen), int64_t{bench::kWidth} * bench::kHeight);
  state.SetLabel(bench::screenName(screen));
}

// The colour and depth bytes of a 32-bit frame of the scaling benchmarks.
void Scaling_Memset(benchmark::State& state) {
  memsetBuffers(state, 4, state.range(0) * state.range(1));
  state.SetLabel("Rgb32");
}

void screens(benchmark::internal::Benchmark* b) {
  b->Arg(static_cast<int>(Screen::Rgb32))
      ->Arg(static_cast<int>(Screen::Rgb16))
      ->Arg(static_cast<int>(Screen::Indexed8Dithered));
  b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(ClearColorAndDepth)->Apply(screens);
BENCHMARK(MemsetSameBytes)->Apply(screens);
BENCHMARK(Scaling_Memset)->Apply(bench::scalingSizes);

}  // namespace
