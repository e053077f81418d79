// Writes stand-in sprite pictures (gun.bmp, shot.bmp, enemy.bmp, bonus.bmp)
// into the directory given, so the window's layout loads while the drawn
// pictures are not in the build. Each is a filled disc with a one-pixel
// outline on the black key colour, at the size of the picture it stands for.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/PictureData.h"

namespace {

struct Placeholder {
  const char* file;
  int side;
  TColor fill;
  TColor outline;
};

constexpr Placeholder kPlaceholders[] = {
    {"gun.bmp", 32, clNavy, clRed},
    {"shot.bmp", 16, clLime, clRed},
    {"enemy.bmp", 20, clRed, clAqua},
    {"bonus.bmp", 20, clWhite, clBlue},
};

bool Inside(int x, int y, int side, int radius) {
  const int dx = 2 * x + 1 - side;
  const int dy = 2 * y + 1 - side;
  return dx * dx + dy * dy <= 4 * radius * radius;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
    return 2;
  }
  for (const Placeholder& p : kPlaceholders) {
    TBitmap bitmap;
    bitmap.SetSize(p.side, p.side);  // black: the key colour
    const int radius = p.side / 2 - 2;
    for (int y = 0; y < p.side; ++y)
      for (int x = 0; x < p.side; ++x)
        if (Inside(x, y, p.side, radius))
          bitmap.Pixels().SetPixel(x, y, Inside(x, y, p.side, radius - 1) ? p.fill : p.outline);
    const std::vector<std::uint8_t> bytes = SaveBmp(bitmap);
    const std::string path = std::string(argv[1]) + "/" + p.file;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
