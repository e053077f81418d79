// The benchmark program: every case in one process, so that the ratios the
// goals are stated in hold on a busy machine.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <unistd.h>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "bench/Goals.h"

namespace {

// Repetitions in random order across all cases, so a spell of load on the
// machine spreads over every case instead of landing on one; medians only.
// A flag given on the command line wins over its default here.
std::vector<std::string> WithDefaults(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  const char* const defaults[] = {
      "--benchmark_repetitions=9",
      "--benchmark_enable_random_interleaving=true",
      "--benchmark_report_aggregates_only=true",
  };
  for (std::string_view flag : defaults) {
    const std::string_view name = flag.substr(0, flag.find('='));
    bool given = false;
    for (const std::string& arg : args) given = given || std::string_view(arg).substr(0, name.size()) == name;
    if (!given) args.emplace_back(flag);
  }
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  // The window cases measure Qt's offscreen platform: no display, and no
  // display server's copy, in the figures.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
  int qt_argc = 1;
  QApplication app(qt_argc, argv);

  std::vector<std::string> args = WithDefaults(argc, argv);
  std::vector<char*> pointers;
  for (std::string& arg : args) pointers.push_back(arg.data());
  int bench_argc = static_cast<int>(pointers.size());
  benchmark::Initialize(&bench_argc, pointers.data());
  if (benchmark::ReportUnrecognizedArguments(bench_argc, pointers.data())) return 1;
  // Colours only for a terminal, as the library's own console output does.
  kestrune::bench::GoalReporter reporter(isatty(STDOUT_FILENO) != 0 ? benchmark::ConsoleReporter::OO_ColorTabular
                                                                    : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
