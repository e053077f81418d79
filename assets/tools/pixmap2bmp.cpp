// Build tool: turns one hand-drawn pixel map into the 24-bit BMP file the
// game embeds. Usage: pixmap2bmp <map.txt> <picture.bmp>
// A faulty map stops the build with "<map>:<line>: error: <what>" and writes nothing.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "assets/tools/PixelMap.h"

namespace {

int Fail(const std::string& where, const std::string& what) {
  std::cerr << where << ": error: " << what << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: pixmap2bmp <map.txt> <picture.bmp>\n";
    return 2;
  }
  const std::string map_path = argv[1];
  const std::filesystem::path bmp_path = argv[2];

  std::ifstream in(map_path, std::ios::binary);
  if (!in) return Fail(map_path, "cannot open the pixel map");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return Fail(map_path, "cannot read the pixel map");

  std::vector<std::uint8_t> bytes;
  try {
    bytes = kestrune::pixmap::EncodeBmp24(kestrune::pixmap::ParsePixelMap(text.str()));
  } catch (const kestrune::pixmap::MapError& e) {
    return Fail(e.Line() > 0 ? map_path + ":" + std::to_string(e.Line()) : map_path, e.what());
  }

  // Written beside the target and renamed into place, so a failed write never
  // leaves a half picture that looks up to date to the build.
  const std::filesystem::path temp_path = bmp_path.string() + ".tmp";
  {
    std::ofstream out(temp_path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temp_path, ignored);
      return Fail(bmp_path.string(), "cannot write the picture");
    }
  }
  std::error_code error;
  std::filesystem::rename(temp_path, bmp_path, error);
  if (error) {
    std::filesystem::remove(temp_path, error);
    return Fail(bmp_path.string(), "cannot move the picture into place");
  }
  return 0;
}
