// The goal table printed after a run.
#include "bench/Goals.h"

#include <cstdio>
#include <string>
#include <ostream>

namespace kestrune::bench {

namespace {

struct Goal {
  const char* what;
  const char* measured;
  const char* reference;
  double at_most;
};

// One named row per goal.
constexpr Goal kGoals[] = {
    {"frame step / frame floor", "BM_FrameStep", "BM_FrameFloor", 1.25},
    {"gun draw / Qt drawImage", "BM_SpriteDraw/32", "BM_QtDrawImage/32", 0.8},
    {"enemy draw / Qt drawImage", "BM_SpriteDraw/20", "BM_QtDrawImage/20", 0.8},
    {"shot draw / Qt drawImage", "BM_SpriteDraw/16", "BM_QtDrawImage/16", 0.8},
    {"present / one frame memcpy", "BM_Present", "BM_FrameCopy", 1.5},
};

// Ratios that explain a goal rather than set one.
constexpr Goal kReferences[] = {
    {"present / row-wise copy", "BM_Present", "BM_FrameCopyByRows", 0},
    {"row-wise copy / one memcpy", "BM_FrameCopyByRows", "BM_FrameCopy", 0},
};

// The growth cases in the order of the table: playfield scale, then sprites.
constexpr int kGrowthScales[] = {1, 2, 4};
constexpr int kGrowthSprites[] = {8, 32, 128};

double NanosecondsPer(benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kNanosecond: return 1;
    case benchmark::kMicrosecond: return 1e3;
    case benchmark::kMillisecond: return 1e6;
    case benchmark::kSecond: return 1e9;
  }
  return 1;
}

}  // namespace

void GoalReporter::ReportRuns(const std::vector<Run>& reports) {
  ConsoleReporter::ReportRuns(reports);
  const bool has_aggregates = [&] {
    for (const Run& run : reports)
      if (run.run_type == Run::RT_Aggregate) return true;
    return false;
  }();
  for (const Run& run : reports) {
    if (run.error_occurred) continue;
    const bool wanted = has_aggregates ? run.run_type == Run::RT_Aggregate && run.aggregate_name == "median"
                                       : run.run_type == Run::RT_Iteration;
    if (!wanted) continue;
    const std::string name = run.run_name.str();
    Figure figure;
    figure.cpu_ns = run.GetAdjustedCPUTime() * NanosecondsPer(run.time_unit);
    if (auto it = run.counters.find("pixels"); it != run.counters.end()) figure.pixels = it->second.value;
    medians_.emplace(name, figure);
  }
}

void GoalReporter::Finalize() {
  std::FILE* out = stdout;
  std::fflush(out);
  GetOutputStream().flush();
  std::fprintf(out, "\nGoals (ratios of CPU-time medians from this run)\n");
  auto print_ratio = [&](const Goal& goal) {
    const auto measured = medians_.find(goal.measured);
    const auto reference = medians_.find(goal.reference);
    if (measured == medians_.end() || reference == medians_.end()) {
      std::fprintf(out, "  %-28s not run\n", goal.what);
      return;
    }
    const double ratio = measured->second.cpu_ns / reference->second.cpu_ns;
    std::fprintf(out, "  %-28s %10.0f ns / %10.0f ns = %5.2f", goal.what, measured->second.cpu_ns,
                 reference->second.cpu_ns, ratio);
    if (goal.at_most > 0) std::fprintf(out, "  (at most %.2f: %s)", goal.at_most, ratio <= goal.at_most ? "met" : "NOT met");
    std::fprintf(out, "\n");
  };
  for (const Goal& goal : kGoals) print_ratio(goal);
  std::fprintf(out, "\nReferences\n");
  for (const Goal& goal : kReferences) print_ratio(goal);

  // Growth: time per pixel touched, against the real playfield with the game's sprites.
  const Figure* base = nullptr;
  for (const int scale : kGrowthScales)
    for (const int sprites : kGrowthSprites) {
      const std::string name = "BM_FrameGrowth/scale:" + std::to_string(scale) + "/sprites:" + std::to_string(sprites);
      const auto it = medians_.find(name);
      if (it == medians_.end() || it->second.pixels <= 0) continue;
      const Figure& f = it->second;
      if (base == nullptr) {
        base = &f;
        std::fprintf(out, "\nGrowth (time per pixel touched, against the first row)\n");
      }
      const double per_pixel = f.cpu_ns / f.pixels;
      std::fprintf(out, "  %-36s %9.0f pixels %9.0f ns %7.4f ns/pixel %5.2f\n", name.c_str(), f.pixels, f.cpu_ns,
                   per_pixel, per_pixel / (base->cpu_ns / base->pixels));
    }
  std::fflush(out);
}

}  // namespace kestrune::bench
