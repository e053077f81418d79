// libFuzzer target: arbitrary bytes through the picture loader, as a BMP file,
// as a layout's picture block, and as a file inside a block whose count fits.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Readings.h"

namespace {

void Check(const char* as, const kestrune::fuzz::Reading& reading) {
  if (reading.problem.empty()) return;
  std::fprintf(stderr, "picture read as %s: %s\n", as, reading.problem.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  Check("a BMP file", kestrune::fuzz::ReadBmpFile(bytes));
  Check("a picture block", kestrune::fuzz::ReadPictureBlock(bytes));
  Check("a file in a block", kestrune::fuzz::ReadPictureBlock(kestrune::fuzz::BlockOf(bytes)));
  return 0;
}
