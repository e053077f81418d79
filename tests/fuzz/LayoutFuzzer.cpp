// libFuzzer target: arbitrary text through the layout reader, into the game's
// own window and into one that takes any component and handler.
#include <cstdio>
#include <cstdlib>

#include "Readings.h"

namespace {

void Check(const char* window, const kestrune::fuzz::Reading& reading) {
  if (reading.problem.empty()) return;
  std::fprintf(stderr, "layout read into %s: %s\n", window, reading.problem.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  Check("TForm1", kestrune::fuzz::ReadLayoutIntoGameWindow(bytes));
  Check("a window that takes anything", kestrune::fuzz::ReadLayoutIntoAnyForm(bytes));
  return 0;
}
