// Clearing colour and depth beside a plain memset of the same bytes: the
// memset rate is the ceiling a clear can reach on this machine.
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

void MemsetSameBytes(benchmark::State& state) {
  const Screen screen = static_cast<Screen>(state.range(0));
  std::vector<uint8_t> color(static_cast<std::size_t>(bench::kWidth * bench::kHeight * bytesPerPixel(screen)));
  std::vector<uint8_t> depth(static_cast<std::size_t>(bench::kWidth * bench::kHeight * 4));
  for (auto _ : state) {
    std::memset(color.data(), 0x5A, color.size());
    std::memset(depth.data(), 0x3F, depth.size());
    benchmark::DoNotOptimize(color.data());
    benchmark::DoNotOptimize(depth.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(color.size() + depth.size()));
  state.SetLabel(bench::screenName(screen));
}

void screens(benchmark::internal::Benchmark* b) {
  b->Arg(static_cast<int>(Screen::Rgb32))->Arg(static_cast<int>(Screen::Rgb16))->Arg(static_cast<int>(Screen::Indexed8Dithered));
  b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(ClearColorAndDepth)->Apply(screens);
BENCHMARK(MemsetSameBytes)->Apply(screens);

}  // namespace
