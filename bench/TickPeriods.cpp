// Records the real periods of the frame timer in the running window and prints
// their median and 99th percentile, with the frame step's own time and the
// allocations it makes. The window is built as the program builds it, with
// the Qt back-end (on Qt's offscreen platform unless QT_QPA_PLATFORM says
// otherwise, e.g. xcb under Xvfb); a game is started, a shot fired every few
// frames as a player would, and each tick of Timer1 is stamped on arrival.
//
//   kestrune_tick_periods [frames]     (default 400)
//
// The timer is restarted at the end of each frame's work, so a period should
// be 55 ms plus that work plus the timer's lateness. A measurement, not a
// test: it prints figures and never fails on them.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "app/LayoutReader.h"
#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/RunTime.h"

// Counts every operator new in the process, so the figures can say what a
// frame step allocates with the real back-end (the headless one is held to
// none by FrameAllocationTest).
namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultFrames = 400;
constexpr int kShotEvery = 8;  // frames between two clicks on the playfield
// Stop before the last enemies start: the end-of-game box would wait for a
// person to close it.
constexpr int kLastSpawnCount = kEnemiesPerGame - 5;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The value below which the given fraction of the sorted values lie (nearest rank).
double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(std::atoi(argv[1]), 2) : kDefaultFrames;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  SetProgramArguments(argc, argv);

  std::vector<Clock::time_point> ticks;
  std::vector<double> work_ms;
  std::vector<double> allocations;
  ticks.reserve(static_cast<std::size_t>(frames) + 1);
  work_ms.reserve(static_cast<std::size_t>(frames) + 1);
  allocations.reserve(static_cast<std::size_t>(frames) + 1);
  try {
    Application->Initialize();
    Application->SetFormLoader(kestrune::LoadEmbeddedLayout);
    Application->CreateForm(Form1);
    TTimer* timer = Form1->Timer1;
    const TNotifyEvent frame_step = timer->OnTimer;
    timer->OnTimer = [&](TObject* sender) {
      const Clock::time_point arrived = Clock::now();
      ticks.push_back(arrived);
      if (ticks.size() % kShotEvery == 0) Form1->Image2->Click();
      const long allocated_before = g_allocations.load(std::memory_order_relaxed);
      frame_step(sender);
      work_ms.push_back(Milliseconds(Clock::now() - arrived));
      allocations.push_back(static_cast<double>(g_allocations.load(std::memory_order_relaxed) - allocated_before));
      if (static_cast<int>(ticks.size()) > frames || SpawnCount >= kLastSpawnCount) Form1->Close();
    };
    Form1->Image2->MouseMove(TShiftState{}, Form1->Image2->Width / 2, 0);
    Form1->Start1->Click();  // the timer starts ticking once the window is shown
    Application->Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrune_tick_periods: %s\n", e.what());
    return 1;
  }

  if (ticks.size() < 2) {
    std::fprintf(stderr, "kestrune_tick_periods: fewer than two ticks\n");
    return 1;
  }
  std::vector<double> periods;
  for (std::size_t i = 1; i < ticks.size(); ++i) periods.push_back(Milliseconds(ticks[i] - ticks[i - 1]));
  const double median = Percentile(periods, 0.5);
  const double p99 = Percentile(periods, 0.99);
  const double work = Percentile(work_ms, 0.5);
  const double expected = kFrameInterval + work;
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  std::printf("Timer1 periods over %zu frames (Interval %d ms, Qt platform %s)\n", periods.size(), kFrameInterval,
              platform != nullptr ? platform : "default");
  std::printf("  period   median %8.3f ms   p99 %8.3f ms   min %8.3f ms   max %8.3f ms\n", median, p99,
              Percentile(periods, 0.0), Percentile(periods, 1.0));
  std::printf("  work     median %8.3f ms   p99 %8.3f ms   (the frame step inside the tick)\n", work,
              Percentile(work_ms, 0.99));
  std::printf("  allocations in a frame step: median %.0f, p99 %.0f\n", Percentile(allocations, 0.5),
              Percentile(allocations, 0.99));
  std::printf("  median - (%d ms + work) = %+.3f ms   (goal: within 1 ms)\n", kFrameInterval, median - expected);
  std::printf("  p99    - (%d ms + work) = %+.3f ms   (goal: within 3 ms)\n", kFrameInterval, p99 - expected);
  return 0;
}
