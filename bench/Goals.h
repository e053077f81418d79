// The goals the benchmarks are held to, each a ratio of two medians from one
// run, and the reporter that prints them under the usual table.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kestrune::bench {

// The playfield, as the layout has it.
constexpr int kFrameWidth = 313;
constexpr int kFrameHeight = 273;
constexpr std::size_t kFramePixels = std::size_t{kFrameWidth} * kFrameHeight;
constexpr std::size_t kFrameBytes = kFramePixels * sizeof(std::uint32_t);

// The console table as usual, then every goal with its ratio and whether it
// is met, and the growth table. Ratios use CPU time, which a busy machine
// disturbs less than wall time; medians of the repetitions where there are
// repetitions, the single run otherwise.
class GoalReporter : public benchmark::ConsoleReporter {
 public:
  using benchmark::ConsoleReporter::ConsoleReporter;
  void ReportRuns(const std::vector<Run>& reports) override;
  void Finalize() override;

 private:
  struct Figure {
    double cpu_ns = 0;
    double pixels = 0;  // the "pixels" counter, where the case has one
  };
  std::map<std::string, Figure> medians_;
};

}  // namespace kestrune::bench
