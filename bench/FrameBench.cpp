// The frame against the least a frame can cost: a fill and one copy of the
// playfield with memset and memcpy, and the game's whole frame step.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/BenchGame.h"
#include "bench/Goals.h"

namespace kestrune::bench {
namespace {

void BM_FrameFloor(benchmark::State& state) {
  std::vector<std::uint32_t> back(kFramePixels);
  std::vector<std::uint32_t> front(kFramePixels);
  for (auto _ : state) {
    benchmark::DoNotOptimize(back.data());
    std::memset(back.data(), 0, kFrameBytes);
    benchmark::ClobberMemory();
    std::memcpy(front.data(), back.data(), kFrameBytes);
    benchmark::DoNotOptimize(front.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2 * static_cast<std::int64_t>(kFrameBytes));
}
BENCHMARK(BM_FrameFloor);

// One memcpy of a frame: what handing a frame to the window may cost at most.
void BM_FrameCopy(benchmark::State& state) {
  std::vector<std::uint32_t> back(kFramePixels, 0xFF000000u);
  std::vector<std::uint32_t> front(kFramePixels);
  for (auto _ : state) {
    benchmark::DoNotOptimize(back.data());
    std::memcpy(front.data(), back.data(), kFrameBytes);
    benchmark::DoNotOptimize(front.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kFrameBytes));
}
BENCHMARK(BM_FrameCopy);

// The same frame copied row by row to its place in a buffer of the window's
// client size: the least any paint into a window's backing store costs, since
// the window's rows are longer than the frame's.
void BM_FrameCopyByRows(benchmark::State& state) {
  constexpr int kWindowWidth = 427;
  constexpr int kWindowHeight = 274;
  constexpr int kPlayfieldLeft = 16;
  std::vector<std::uint32_t> back(kFramePixels, 0xFF000000u);
  std::vector<std::uint32_t> window(std::size_t{kWindowWidth} * kWindowHeight);
  constexpr std::size_t kRowBytes = kFrameWidth * sizeof(std::uint32_t);
  for (auto _ : state) {
    benchmark::DoNotOptimize(back.data());
    for (int y = 0; y < kFrameHeight; ++y)
      std::memcpy(window.data() + std::size_t{kWindowWidth} * y + kPlayfieldLeft,
                  back.data() + std::size_t{kFrameWidth} * y, kRowBytes);
    benchmark::DoNotOptimize(window.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kFrameBytes));
}
BENCHMARK(BM_FrameCopyByRows);

// Timer1's tick as the event loop delivers it: the whole Timer1Timer.
void BM_FrameStep(benchmark::State& state) {
  TForm1& game = Game();
  for (auto _ : state) {
    SetSteadyState();
    game.Timer1->Tick();
  }
  SetSteadyState();
  game.Timer1->Tick();
  if (!StayedSteady()) state.SkipWithError("the frame step left the steady game (a hit, a start or an end)");
}
BENCHMARK(BM_FrameStep);

}  // namespace
}  // namespace kestrune::bench
