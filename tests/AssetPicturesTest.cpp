// The built pictures of assets/ (gun, shot, enemy, bonus enemy, icon): their
// exact BMP form, their colours counted pixel by pixel, the shape rules the
// sprites depend on; and the pixel-map reader and writer that make them.
#include "assets/tools/PixelMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#ifndef KESTRUNE_ASSETS_DIR
#error "KESTRUNE_ASSETS_DIR must name the build directory that holds the generated pictures"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

// 0xRRGGBB.
using Colour = std::uint32_t;
constexpr Colour kBlack = 0x000000;
constexpr Colour kRed = 0xFF0000;
constexpr Colour kGreen = 0x00FF00;  // the shot's fill; the palette calls it lime
constexpr Colour kNavy = 0x000080;
constexpr Colour kCyan = 0x00FFFF;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlue = 0x0000FF;
constexpr Colour kOlive = 0x808000;
constexpr Colour kTeal = 0x008080;
constexpr Colour kGray = 0x808080;
constexpr Colour kSilver = 0xC0C0C0;
constexpr Colour kYellow = 0xFFFF00;

const std::set<Colour> kSixteenColours = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                          0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                          0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string PicturePath(const std::string& file) { return std::string(KESTRUNE_ASSETS_DIR) + "/" + file; }

// "gun.bmp" -> "gun", to name parameterised cases.
std::string FileStem(const std::string& file) { return file.substr(0, file.find('.')); }

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}
std::uint32_t U16(const Bytes& b, std::size_t at) { return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8; }

// A picture as this test reads it, with its own small decoder rather than the
// game's loader, so a fault shared by writer and loader cannot hide.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;  // rows from the top

  // Outside the picture counts as black: that is what a sprite lies on.
  Colour At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return kBlack;
    return pixels[static_cast<std::size_t>(y * width + x)];
  }
  bool IsBlack(int x, int y) const { return At(x, y) == kBlack; }
};

// Reads the pixels of a 24-bit bottom-up BMP whose headers say width and
// height; nothing if the file is too short for them.
std::optional<Picture> DecodeBmp24(const Bytes& file) {
  if (file.size() < 54) return std::nullopt;
  Picture p;
  p.width = static_cast<int>(U32(file, 18));
  p.height = static_cast<int>(U32(file, 22));
  if (p.width <= 0 || p.height <= 0 || p.width > 4096 || p.height > 4096) return std::nullopt;
  const std::size_t offset = U32(file, 10);
  const std::size_t row_size = (static_cast<std::size_t>(p.width) * 3 + 3) / 4 * 4;
  if (file.size() < offset + row_size * static_cast<std::size_t>(p.height)) return std::nullopt;
  for (int y = 0; y < p.height; ++y) {
    const std::size_t row = offset + row_size * static_cast<std::size_t>(p.height - 1 - y);
    for (int x = 0; x < p.width; ++x) {
      const std::size_t at = row + static_cast<std::size_t>(x) * 3;
      p.pixels.push_back(Colour{file[at + 2]} << 16 | Colour{file[at + 1]} << 8 | Colour{file[at]});
    }
  }
  return p;
}

Picture LoadPicture(const std::string& file) {
  const auto picture = DecodeBmp24(ReadFile(PicturePath(file)));
  if (!picture) ADD_FAILURE() << file << " is missing or too short to decode";
  return picture.value_or(Picture{});
}

std::map<Colour, int> CountColours(const Picture& p) {
  std::map<Colour, int> counts;
  for (const Colour c : p.pixels) ++counts[c];
  return counts;
}

std::string Hex(Colour c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s = "#";
  for (int shift = 20; shift >= 0; shift -= 4) s += kDigits[(c >> shift) & 0xF];
  return s;
}

// The black pixels that cannot reach the picture's edge through black, even
// diagonally: the see-through holes inside a figure.
std::vector<std::pair<int, int>> EnclosedBlack(const Picture& p) {
  std::vector<bool> reached(p.pixels.size(), false);
  std::vector<std::pair<int, int>> pending;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if ((x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1) && p.IsBlack(x, y)) {
        reached[static_cast<std::size_t>(y * p.width + x)] = true;
        pending.emplace_back(x, y);
      }
  while (!pending.empty()) {
    const auto [x, y] = pending.back();
    pending.pop_back();
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= p.width || ny >= p.height || !p.IsBlack(nx, ny)) continue;
        const auto index = static_cast<std::size_t>(ny * p.width + nx);
        if (reached[index]) continue;
        reached[index] = true;
        pending.emplace_back(nx, ny);
      }
  }
  std::vector<std::pair<int, int>> holes;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (p.IsBlack(x, y) && !reached[static_cast<std::size_t>(y * p.width + x)]) holes.emplace_back(x, y);
  return holes;
}

struct Extent {
  int left, right, top, bottom;  // inclusive
  bool operator==(const Extent&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Extent& e) {
  return os << "columns " << e.left << ".." << e.right << ", rows " << e.top << ".." << e.bottom;
}

Extent FigureExtent(const Picture& p) {
  Extent e{p.width, -1, p.height, -1};
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (!p.IsBlack(x, y)) e = {std::min(e.left, x), std::max(e.right, x), std::min(e.top, y), std::max(e.bottom, y)};
  return e;
}

// The rows (or columns) at which a column (or row) holds figure pixels.
std::vector<int> FigureRowsInColumn(const Picture& p, int x) {
  std::vector<int> rows;
  for (int y = 0; y < p.height; ++y)
    if (!p.IsBlack(x, y)) rows.push_back(y);
  return rows;
}
std::vector<int> FigureColumnsInRow(const Picture& p, int y) {
  std::vector<int> columns;
  for (int x = 0; x < p.width; ++x)
    if (!p.IsBlack(x, y)) columns.push_back(x);
  return columns;
}

// True for sorted positions without a gap (and for none).
bool IsOneRun(const std::vector<int>& positions) {
  return positions.empty() || positions.back() - positions.front() + 1 == static_cast<int>(positions.size());
}

// ---------------------------------------------------------------------------
// The BMP form of every generated file.

struct FormCase {
  const char* file;
  std::uint32_t width;
  std::uint32_t height;
  std::size_t file_size;
};
void PrintTo(const FormCase& c, std::ostream* os) { *os << c.file; }

class PictureFileFormTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(PictureFileFormTest, EveryHeaderFieldAndTheFileSizeAreExact) {
  const FormCase& c = GetParam();
  const Bytes file = ReadFile(PicturePath(c.file));
  ASSERT_EQ(file.size(), c.file_size) << c.file;
  ASSERT_GE(file.size(), 54u);

  struct Field {
    const char* name;
    std::size_t offset;
    int bytes;
    std::uint32_t expected;
  };
  const Field fields[] = {
      {"signature", 0, 2, 0x4D42},  // "BM"
      {"file size", 2, 4, static_cast<std::uint32_t>(file.size())},
      {"reserved 1", 6, 2, 0},
      {"reserved 2", 8, 2, 0},
      {"pixel data offset", 10, 4, 54},
      {"info header size", 14, 4, 40},
      {"width", 18, 4, c.width},
      {"height (positive: bottom-up)", 22, 4, c.height},
      {"planes", 26, 2, 1},
      {"bits per pixel", 28, 2, 24},
      {"compression", 30, 4, 0},
      {"image size", 34, 4, 0},
      {"horizontal pixels per metre", 38, 4, 2834},
      {"vertical pixels per metre", 42, 4, 2834},
      {"colours used", 46, 4, 0},
      {"important colours", 50, 4, 0},
  };
  for (const Field& f : fields) {
    const std::uint32_t actual = f.bytes == 2 ? U16(file, f.offset) : U32(file, f.offset);
    EXPECT_EQ(actual, f.expected) << c.file << ": " << f.name << " at byte " << f.offset;
  }
  // No colour table and nothing after the pixels: 3 bytes a pixel, rows
  // already a multiple of 4 bytes at these widths.
  EXPECT_EQ(file.size(), 54 + std::size_t{c.width} * c.height * 3) << c.file;
}

INSTANTIATE_TEST_SUITE_P(AllPictures, PictureFileFormTest,
                         ::testing::Values(FormCase{"gun.bmp", 32, 32, 3126}, FormCase{"shot.bmp", 16, 16, 822},
                                           FormCase{"enemy.bmp", 20, 20, 1254}, FormCase{"bonus.bmp", 20, 20, 1254},
                                           FormCase{"icon.bmp", 32, 32, 3126}),
                         [](const auto& test) { return FileStem(test.param.file); });

// ---------------------------------------------------------------------------
// The four sprite pictures: colours, extent, outline and holes.

struct SpriteCase {
  const char* file;
  std::map<Colour, int> counts;  // every colour of the picture with its exact count
  Extent figure;                 // where the non-black pixels lie
  std::set<Colour> outline;      // the colours allowed to touch black along an edge
  int holes;                     // black pixels enclosed by the figure
};
void PrintTo(const SpriteCase& c, std::ostream* os) { *os << c.file; }

const SpriteCase kSprites[] = {
    {"gun.bmp", {{kBlack, 626}, {kRed, 206}, {kNavy, 192}}, {4, 27, 4, 26}, {kRed}, 6},
    {"shot.bmp", {{kBlack, 193}, {kGreen, 34}, {kRed, 29}}, {3, 11, 4, 12}, {kRed}, 0},
    {"enemy.bmp", {{kBlack, 157}, {kRed, 151}, {kCyan, 84}, {kNavy, 8}}, {0, 18, 1, 19}, {kCyan}, 2},
    {"bonus.bmp", {{kBlack, 220}, {kWhite, 104}, {kBlue, 76}}, {2, 16, 0, 18}, {kBlue}, 0},
};

class SpritePictureTest : public ::testing::TestWithParam<SpriteCase> {
 protected:
  Picture picture_ = LoadPicture(GetParam().file);
};

TEST_P(SpritePictureTest, UsesExactlyItsColoursInTheirCounts) {
  const auto counts = CountColours(picture_);
  for (const auto& [colour, count] : counts)
    EXPECT_TRUE(GetParam().counts.contains(colour))
        << "unexpected colour " << Hex(colour) << " in " << count << " pixels";
  for (const auto& [colour, count] : GetParam().counts) {
    const auto found = counts.find(colour);
    EXPECT_EQ(found == counts.end() ? 0 : found->second, count) << "pixels of " << Hex(colour);
  }
}

TEST_P(SpritePictureTest, FigureCoversExactlyItsExtent) {
  EXPECT_EQ(FigureExtent(picture_), GetParam().figure);
}

// Black is the key colour, so a fill pixel beside black would show the
// playfield right against the fill; the outline must always sit between.
TEST_P(SpritePictureTest, NoFillPixelTouchesBlackAlongAnEdge) {
  const auto& outline = GetParam().outline;
  for (int y = 0; y < picture_.height; ++y)
    for (int x = 0; x < picture_.width; ++x) {
      const Colour c = picture_.At(x, y);
      if (c == kBlack || outline.contains(c)) continue;
      const bool touches = picture_.IsBlack(x - 1, y) || picture_.IsBlack(x + 1, y) || picture_.IsBlack(x, y - 1) ||
                           picture_.IsBlack(x, y + 1);
      EXPECT_FALSE(touches) << Hex(c) << " pixel at (" << x << ", " << y << ") touches black";
    }
}

TEST_P(SpritePictureTest, EnclosedBlackHolesAreCounted) {
  EXPECT_EQ(EnclosedBlack(picture_).size(), static_cast<std::size_t>(GetParam().holes));
}

INSTANTIATE_TEST_SUITE_P(AllSprites, SpritePictureTest, ::testing::ValuesIn(kSprites),
                         [](const auto& test) { return FileStem(test.param.file); });

// ---------------------------------------------------------------------------
// Shapes particular to each picture.

TEST(ShotPicture, IsARoundDiscCentredNearColumn7Row8) {
  const Picture p = LoadPicture("shot.bmp");
  double sum_x = 0, sum_y = 0;
  int n = 0;
  for (int y = 0; y < p.height; ++y) {
    // A disc has no dents: each row's and each column's pixels are one run.
    const auto columns = FigureColumnsInRow(p, y);
    EXPECT_TRUE(IsOneRun(columns)) << "row " << y;
    for (const int x : columns) {
      sum_x += x;
      sum_y += y;
      ++n;
    }
  }
  for (int x = 0; x < p.width; ++x) {
    EXPECT_TRUE(IsOneRun(FigureRowsInColumn(p, x))) << "column " << x;
  }
  ASSERT_GT(n, 0);
  EXPECT_NEAR(sum_x / n, 7.0, 0.5);
  EXPECT_NEAR(sum_y / n, 8.0, 0.5);
}

TEST(EnemyPicture, EyesAreTwoFrowningDiagonalSteps) {
  const Picture p = LoadPicture("enemy.bmp");
  std::set<std::pair<int, int>> navy;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (p.At(x, y) == kNavy) navy.emplace(x, y);
  // Left eye falls toward the middle from the left, right eye from the right.
  const std::set<std::pair<int, int>> eyes = {{6, 4}, {6, 5}, {7, 5}, {7, 6}, {12, 4}, {12, 5}, {11, 5}, {11, 6}};
  EXPECT_EQ(navy, eyes);
  for (const auto& [x, y] : eyes)
    for (const auto& [nx, ny] : {std::pair{x - 1, y}, std::pair{x + 1, y}, std::pair{x, y - 1}, std::pair{x, y + 1}})
      EXPECT_TRUE(p.At(nx, ny) == kRed || p.At(nx, ny) == kNavy)
          << "eye at (" << x << ", " << y << ") is not set in the red head";
}

TEST(EnemyPicture, SnoutIsTheOnlyPartLeftOfTheHeadAndReachesTheEdge) {
  const Picture p = LoadPicture("enemy.bmp");
  // In the head's rows only the snout (rows 7 to 10) sticks out left of column 4.
  for (const int y : {1, 2, 3, 4, 5, 6})
    for (int x = 0; x < 4; ++x) EXPECT_TRUE(p.IsBlack(x, y)) << "(" << x << ", " << y << ")";
  // A tube: outline above and below, red inside, capped at the picture's edge.
  for (int x = 1; x <= 3; ++x) {
    EXPECT_EQ(p.At(x, 7), kCyan) << "top of the snout, column " << x;
    EXPECT_EQ(p.At(x, 8), kRed) << "inside the snout, column " << x;
    EXPECT_EQ(p.At(x, 9), kRed) << "inside the snout, column " << x;
    EXPECT_EQ(p.At(x, 10), kCyan) << "bottom of the snout, column " << x;
  }
  EXPECT_EQ(FigureRowsInColumn(p, 0), (std::vector<int>{8, 9}));
  EXPECT_EQ(p.At(0, 8), kCyan);
  EXPECT_EQ(p.At(0, 9), kCyan);
}

TEST(EnemyPicture, HeadSpansColumns4To17AndTentaclesHoldTheHoles) {
  const Picture p = LoadPicture("enemy.bmp");
  int head_left = p.width, head_right = -1;
  for (int y = 1; y <= 10; ++y) {
    const auto columns = FigureColumnsInRow(p, y);
    ASSERT_FALSE(columns.empty()) << "row " << y;
    if (y < 7) head_left = std::min(head_left, columns.front());  // rows 7 to 10 hold the snout
    head_right = std::max(head_right, columns.back());
  }
  EXPECT_EQ(head_left, 4);
  EXPECT_EQ(head_right, 17) << "column 18 is reached by tentacles only";
  for (const auto& [x, y] : EnclosedBlack(p))
    EXPECT_GE(y, 11) << "hole at (" << x << ", " << y << ") is not among the tentacles";
}

TEST(BonusPicture, MantleHasItsNubAndTwoFinsAtDifferentHeights) {
  const Picture p = LoadPicture("bonus.bmp");
  EXPECT_EQ(FigureColumnsInRow(p, 0), std::vector<int>{10}) << "the nub is the top row's only pixel";
  EXPECT_EQ(p.At(10, 0), kBlue);
  EXPECT_EQ(FigureRowsInColumn(p, 2), (std::vector<int>{3, 4})) << "left fin";
  // Column 16 also holds the lowest tentacle; above the body only the right fin.
  std::vector<int> right_fin;
  for (const int y : FigureRowsInColumn(p, 16))
    if (y < 8) right_fin.push_back(y);
  ASSERT_FALSE(right_fin.empty()) << "no right fin";
  EXPECT_TRUE(std::find(right_fin.begin(), right_fin.end(), 6) != right_fin.end()) << "right fin reaches row 6";
  EXPECT_GE(right_fin.front(), 5) << "right fin sits lower than the left";
  EXPECT_LE(right_fin.back(), 7);
}

TEST(BonusPicture, BodyNarrowsBelowTheFinsWithTwoEyes) {
  const Picture p = LoadPicture("bonus.bmp");
  for (int y = 8; y <= 12; ++y) {
    const auto columns = FigureColumnsInRow(p, y);
    ASSERT_FALSE(columns.empty()) << "row " << y;
    EXPECT_EQ(columns.front(), 5) << "row " << y;
    EXPECT_EQ(columns.back(), 13) << "row " << y;
  }
  // The eyes are the only blue pixels with white on all four sides.
  std::set<std::pair<int, int>> inner_blue;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (p.At(x, y) == kBlue && p.At(x - 1, y) == kWhite && p.At(x + 1, y) == kWhite && p.At(x, y - 1) == kWhite &&
          p.At(x, y + 1) == kWhite)
        inner_blue.emplace(x, y);
  EXPECT_EQ(inner_blue, (std::set<std::pair<int, int>>{{7, 9}, {9, 9}}));
}

TEST(BonusPicture, RightmostTentacleReachesLowest) {
  const Picture p = LoadPicture("bonus.bmp");
  // The lowest white pixel is the tip of the tentacle furthest right.
  std::pair<int, int> tip{-1, -1};
  int rightmost_tentacle = -1;
  for (int y = 13; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (p.At(x, y) == kWhite) {
        if (y >= tip.second) tip = {x, y};
        rightmost_tentacle = std::max(rightmost_tentacle, x);
      }
  ASSERT_GE(tip.second, 0) << "no tentacles below row 12";
  EXPECT_EQ(tip.first, rightmost_tentacle);
  EXPECT_EQ(tip.second, 17) << "its outline ends on row 18";
  for (const int x : FigureColumnsInRow(p, 18)) EXPECT_LE(std::abs(x - tip.first), 1) << "row 18, column " << x;
}

// ---------------------------------------------------------------------------
// The icon: 16 colours, a red frame, sky above and tower blocks below.

class IconPicture : public ::testing::Test {
 protected:
  Picture icon_ = LoadPicture("icon.bmp");
  static bool IsWindow(Colour c) { return c == kGray || c == kSilver || c == kOlive || c == kNavy || c == kYellow; }
  static bool IsSky(Colour c) { return c == kBlue || c == kWhite || c == kRed || c == kTeal; }
};

TEST_F(IconPicture, UsesOnlyTheSixteenColours) {
  ASSERT_EQ(icon_.width, 32);
  ASSERT_EQ(icon_.height, 32);
  for (const auto& [colour, count] : CountColours(icon_))
    EXPECT_TRUE(kSixteenColours.contains(colour)) << Hex(colour) << " in " << count << " pixels";
}

TEST_F(IconPicture, HasAOnePixelRedFrame) {
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(icon_.At(i, 0), kRed) << "top, column " << i;
    EXPECT_EQ(icon_.At(i, 31), kRed) << "bottom, column " << i;
    EXPECT_EQ(icon_.At(0, i), kRed) << "left, row " << i;
    EXPECT_EQ(icon_.At(31, i), kRed) << "right, row " << i;
  }
  // Inside it red is one star, not a second frame.
  int inner_red = 0;
  for (int y = 1; y < 31; ++y)
    for (int x = 1; x < 31; ++x) inner_red += icon_.At(x, y) == kRed;
  EXPECT_EQ(inner_red, 1);
}

// Each column inside the frame is night sky down to a roof and then a black
// block with windows down to the bottom; some columns are sky all the way.
TEST_F(IconPicture, EveryColumnIsSkyAboveATowerBlock) {
  std::set<int> roof_rows;
  for (int x = 1; x < 31; ++x) {
    int y = 1;
    while (y < 31 && IsSky(icon_.At(x, y))) ++y;
    if (y < 31) {
      EXPECT_EQ(icon_.At(x, y), kBlack) << "roof of column " << x;
      roof_rows.insert(y);
    }
    for (; y < 31; ++y) {
      const Colour c = icon_.At(x, y);
      EXPECT_TRUE(c == kBlack || IsWindow(c)) << Hex(c) << " inside a block at (" << x << ", " << y << ")";
    }
  }
  EXPECT_GE(roof_rows.size(), 4u) << "a row of blocks of different heights";
  for (int x = 1; x < 31; ++x) EXPECT_TRUE(IsSky(icon_.At(x, 1))) << "sky at the top, column " << x;
}

TEST_F(IconPicture, StarsSitInTheSkyAndWindowsInTheBlocks) {
  std::map<Colour, int> stars, windows;
  for (int y = 1; y < 31; ++y)
    for (int x = 1; x < 31; ++x) {
      const Colour c = icon_.At(x, y);
      const Colour around[] = {icon_.At(x - 1, y), icon_.At(x + 1, y), icon_.At(x, y - 1), icon_.At(x, y + 1)};
      if (c == kWhite || c == kTeal || c == kRed) {
        ++stars[c];
        for (const Colour a : around) EXPECT_EQ(a, kBlue) << "star at (" << x << ", " << y << ")";
      } else if (IsWindow(c)) {
        ++windows[c];
        for (const Colour a : around) EXPECT_EQ(a, kBlack) << "window at (" << x << ", " << y << ")";
      }
    }
  EXPECT_GE(stars[kWhite], 3);
  EXPECT_EQ(stars[kRed], 1);
  EXPECT_EQ(stars[kTeal], 1);
  const int grey = windows[kGray] + windows[kSilver];
  EXPECT_GT(grey, 2 * (windows[kOlive] + windows[kNavy] + windows[kYellow])) << "windows are mostly grey";
  EXPECT_GE(windows[kOlive], 1);
  EXPECT_GE(windows[kNavy], 1);
  EXPECT_GE(windows[kYellow], 1);
}

// ---------------------------------------------------------------------------
// The pixel-map reader and the BMP writer behind the build step.

using kestrune::pixmap::EncodeBmp24;
using kestrune::pixmap::MapError;
using kestrune::pixmap::ParsePixelMap;

// 2 by 2 in three colours: each row is 6 bytes of pixels and 2 of padding,
// the only width here that needs padding, stored bottom row first as B, G, R.
TEST(PixelMapWriter, WritesRowsBottomUpInBlueGreenRedWithPadding) {
  const auto map = ParsePixelMap(
      "# a test picture\n"
      "r = 255,0,0 red\n"
      "g = 0,255,0\n"
      "b = 0,0,255 blue\n"
      "\n"
      "rg\n"
      "br\n");
  ASSERT_EQ(map.width, 2);
  ASSERT_EQ(map.height, 2);
  const Bytes expected = {
      'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // "BM", size 70, reserved, offset 54
      40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,             // info size, width, height
      1, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0,             // planes, bits, compression, image size
      0x12, 0x0B, 0, 0, 0x12, 0x0B, 0, 0,              // 2834 pixels per metre, twice
      0, 0, 0, 0, 0, 0, 0, 0,                          // colours used, important
      0xFF, 0, 0, 0, 0, 0xFF, 0, 0,                    // bottom row: blue, red, padding
      0, 0, 0xFF, 0, 0xFF, 0, 0, 0,                    // top row: red, green, padding
  };
  EXPECT_EQ(EncodeBmp24(map), expected);
}

TEST(PixelMapReader, AcceptsCommentsCrLfAndATrailingBlankLine) {
  const auto map = ParsePixelMap("# c\r\n. = 0,0,0 black, key\r\nx = 1,2,3\r\n# inside\r\n.x.\r\n...\r\n\r\n# end\r\n");
  ASSERT_EQ(map.width, 3);
  ASSERT_EQ(map.height, 2);
  EXPECT_EQ(map.At(1, 0), (kestrune::pixmap::Rgb{1, 2, 3}));
  EXPECT_EQ(map.At(1, 1), (kestrune::pixmap::Rgb{0, 0, 0}));
}

struct BadMap {
  const char* name;
  const char* text;
  int line;
  const char* message;
};
void PrintTo(const BadMap& c, std::ostream* os) { *os << c.name; }

class PixelMapReaderErrorTest : public ::testing::TestWithParam<BadMap> {};

TEST_P(PixelMapReaderErrorTest, NamesTheLineAndTheFault) {
  const BadMap& c = GetParam();
  try {
    ParsePixelMap(c.text);
    FAIL() << "accepted a malformed map";
  } catch (const MapError& e) {
    EXPECT_EQ(e.Line(), c.line);
    EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << "message: " << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    MalformedMaps, PixelMapReaderErrorTest,
    ::testing::Values(
        BadMap{"UnknownCharacter", ". = 0,0,0\n...\n.x.\n", 3, "character 'x' in column 2 is not in the legend"},
        BadMap{"TabInARow", ". = 0,0,0\n.\t.\n", 2, "character byte 0x09 in column 2"},
        BadMap{"ShortRow", ". = 0,0,0\n...\n..\n", 3, "row is 2 pixels wide, but the first row (line 2) is 3"},
        BadMap{"LongRow", ". = 0,0,0\n...\n....\n", 3, "row is 4 pixels wide"},
        BadMap{"TwoComponents", ". = 0,0\n.\n", 1, "legend line must read '<char> = R,G,B [name]'"},
        BadMap{"NoSpacesAroundEquals", "r=255,0,0\nr\n", 1, "legend line must read"},
        BadMap{"SpaceInColour", "r = 255, 0, 0\nr\n", 1, "legend line must read"},
        BadMap{"JunkAfterColour", "r = 255,0,0red\nr\n", 1, "legend line must read"},
        BadMap{"NegativeValue", "r = -1,0,0\nr\n", 1, "legend line must read"},
        BadMap{"ValueTooLarge", "r = 0,256,0\nr\n", 1, "colour value 256 is out of range 0..255"},
        BadMap{"HugeValue", "r = 0,0,99999999999\nr\n", 1, "colour value 99999999999 is out of range"},
        BadMap{"EqualsAsCharacter", "= = 1,2,3\n=\n", 1, "legend character '=' cannot stand for a pixel"},
        BadMap{"CharacterTwice", ". = 0,0,0\n. = 1,1,1\n.\n", 2, "character '.' is already in the legend (line 1)"},
        BadMap{"ColourTwice", ". = 0,0,0\n\nk = 0,0,0 also black\n.\n", 3,
               "colour 0,0,0 is already given to '.' (line 1)"},
        BadMap{"LegendAmongRows", ". = 0,0,0\n..\nr = 255,0,0\n..\n", 3, "legend line among the pixel rows"},
        BadMap{"RowsAfterBlankLine", ". = 0,0,0\n..\n\n..\n", 4, "text after the blank line that ends the pixel rows"},
        BadMap{"RowBeforeLegend", "..\n. = 0,0,0\n", 1, "pixel row before any legend line"},
        BadMap{"NoRows", "# only a legend\n. = 0,0,0\n", 0, "no pixel rows"},
        BadMap{"Empty", "", 0, "no pixel rows"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(PixelMapReader, RejectsAPictureWiderThanTheLimit) {
  const std::string text = ". = 0,0,0\n" + std::string(kestrune::pixmap::kMaxSide + 1, '.') + "\n";
  try {
    ParsePixelMap(text);
    FAIL() << "accepted an oversized row";
  } catch (const MapError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_NE(std::string(e.what()).find("more than 4096"), std::string::npos) << e.what();
  }
}

}  // namespace
