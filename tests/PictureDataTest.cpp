// The picture loader: 24-bit BMP files and picture blocks, good and bad.
#include "platform/PictureData.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::HasSubstr;

constexpr TColor kA = 0x12F0A5;
constexpr TColor kB = 0x8C3C5A;

// Header fields by their byte offset in the file.
constexpr std::size_t kSizeField = 2, kOffsetField = 10, kInfoSizeField = 14, kWidthField = 18, kHeightField = 22,
                      kPlanesField = 26, kBitsField = 28, kCompressionField = 30, kHeadersSize = 54;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
std::uint32_t Get32(const Bytes& b, std::size_t at) {
  return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}
void FixSizeField(Bytes& b) { Put32(b, kSizeField, static_cast<std::uint32_t>(b.size())); }

// 3 by 2 pixels, every one different: 9 bytes a row, padded to 12.
TColor PixelColour(int x, int y) { return RGB(static_cast<std::uint8_t>(10 + x), static_cast<std::uint8_t>(100 + y), static_cast<std::uint8_t>(200 + x + y)); }

void MakePicture(TBitmap& b, int width, int height) {
  b.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.Pixels().SetPixel(x, y, PixelColour(x, y));
}

Bytes ValidFile(int width = 3, int height = 2) {
  TBitmap b;
  MakePicture(b, width, height);
  return SaveBmp(b);
}

std::vector<TColor> PixelsOf(const TBitmap& b) {
  std::vector<TColor> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(b.Pixels().Pixel(x, y));
  return out;
}

void ExpectPicture(const TBitmap& b, int width, int height) {
  ASSERT_EQ(b.Width(), width);
  ASSERT_EQ(b.Height(), height);
  EXPECT_FALSE(b.Monochrome());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) EXPECT_EQ(b.Pixels().Pixel(x, y), PixelColour(x, y)) << "at (" << x << ", " << y << ")";
}

// ---------------------------------------------------------------------------

TEST(SaveBmp, WritesA24BitBottomUpFileWithPaddedRows) {
  const Bytes file = ValidFile(3, 2);
  ASSERT_EQ(file.size(), kHeadersSize + 2 * 12);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Get32(file, kSizeField), file.size());
  EXPECT_EQ(Get32(file, kOffsetField), kHeadersSize);
  EXPECT_EQ(Get32(file, kInfoSizeField), 40u);
  EXPECT_EQ(Get32(file, kWidthField), 3u);
  EXPECT_EQ(Get32(file, kHeightField), 2u);
  EXPECT_EQ(file[kBitsField], 24);
  EXPECT_EQ(Get32(file, kCompressionField), 0u);
  // The first row in the file is the bottom one, blue green red.
  EXPECT_EQ(file[kHeadersSize + 0], GetBValue(PixelColour(0, 1)));
  EXPECT_EQ(file[kHeadersSize + 1], GetGValue(PixelColour(0, 1)));
  EXPECT_EQ(file[kHeadersSize + 2], GetRValue(PixelColour(0, 1)));
  EXPECT_EQ(file[kHeadersSize + 12], GetBValue(PixelColour(0, 0)));
}

struct SizeCase {
  const char* name;
  int width, height;
};
void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }
class RoundTrip : public ::testing::TestWithParam<SizeCase> {};

TEST_P(RoundTrip, LoadGivesBackWhatSaveWrote) {
  const SizeCase& c = GetParam();
  TBitmap loaded;
  LoadBmp(loaded, ValidFile(c.width, c.height));
  ExpectPicture(loaded, c.width, c.height);
}

// Row lengths of every remainder mod 4, so every amount of padding is crossed.
const SizeCase kSizes[] = {
    {"OneByOne", 1, 1}, {"ThreeByTwo", 3, 2}, {"FourWideNoPadding", 4, 3}, {"FiveWide", 5, 1}, {"SixWide", 6, 2},
};
INSTANTIATE_TEST_SUITE_P(Sizes, RoundTrip, ::testing::ValuesIn(kSizes),
                         [](const ::testing::TestParamInfo<SizeCase>& row) { return std::string(row.param.name); });

TEST(LoadBmp, TopDownFileLoadsTheRightWayUp) {
  const Bytes bottom_up = ValidFile(3, 2);
  Bytes top_down = bottom_up;
  Put32(top_down, kHeightField, static_cast<std::uint32_t>(-2));
  // Swap the two 12-byte rows: the top row now comes first.
  for (std::size_t i = 0; i < 12; ++i) {
    top_down[kHeadersSize + i] = bottom_up[kHeadersSize + 12 + i];
    top_down[kHeadersSize + 12 + i] = bottom_up[kHeadersSize + i];
  }
  TBitmap loaded;
  LoadBmp(loaded, top_down);
  ExpectPicture(loaded, 3, 2);
}

TEST(LoadBmp, PixelsStartAtTheOffsetTheHeaderGives) {
  Bytes file = ValidFile(3, 2);
  file.insert(file.begin() + kHeadersSize, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
  Put32(file, kOffsetField, kHeadersSize + 6);
  FixSizeField(file);
  TBitmap loaded;
  LoadBmp(loaded, file);
  ExpectPicture(loaded, 3, 2);
}

TEST(LoadBmp, ALargerInfoHeaderIsSteppedOver) {
  // Newer writers use 108- or 124-byte info headers; the first 40 bytes mean the same.
  Bytes file = ValidFile(3, 2);
  file.insert(file.begin() + kHeadersSize, 68, std::uint8_t{0});
  Put32(file, kInfoSizeField, 108);
  Put32(file, kOffsetField, kHeadersSize + 68);
  FixSizeField(file);
  TBitmap loaded;
  LoadBmp(loaded, file);
  ExpectPicture(loaded, 3, 2);
}

TEST(LoadBmp, ReplacesAMonochromeBitmapWithAColourOne) {
  TBitmap b;
  b.SetSize(9, 9);
  b.SetMonochrome(true);
  LoadBmp(b, ValidFile(3, 2));
  ExpectPicture(b, 3, 2);
}

// ---------------------------------------------------------------------------
// Every malformed file is refused with a message that names the fault, and
// the bitmap keeps what it had.

struct BadCase {
  const char* name;
  std::function<void(Bytes&)> spoil;
  const char* message_part;
};
void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }
class BadFile : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadFile, IsRefusedAndTheBitmapKeepsItsPicture) {
  const BadCase& c = GetParam();
  Bytes file = ValidFile(3, 2);
  c.spoil(file);
  TBitmap b;
  b.SetSize(2, 1);
  b.Pixels().SetPixel(0, 0, kA);
  b.Pixels().SetPixel(1, 0, kB);
  try {
    LoadBmp(b, file);
    FAIL() << "a malformed file was loaded";
  } catch (const EInvalidGraphic& e) {
    EXPECT_THAT(e.what(), HasSubstr(c.message_part));
  }
  EXPECT_EQ(PixelsOf(b), (std::vector<TColor>{kA, kB}));
}

const BadCase kBadCases[] = {
    {"EmptyFile", [](Bytes& f) { f.clear(); }, "file of 0 bytes is shorter than"},
    {"ShorterThanTheHeaders", [](Bytes& f) { f.resize(53); }, "file of 53 bytes is shorter than"},
    {"WrongMagic", [](Bytes& f) { f[1] = 'A'; }, "does not start with \"BM\""},
    {"SizeFieldTooLarge", [](Bytes& f) { Put32(f, kSizeField, static_cast<std::uint32_t>(f.size() + 1)); },
     "size field says 79 bytes but the file has 78"},
    {"SizeFieldTooSmall", [](Bytes& f) { Put32(f, kSizeField, 54); }, "size field says 54 bytes"},
    {"FileLongerThanItsSizeField", [](Bytes& f) { f.push_back(0); }, "size field says 78 bytes but the file has 79"},
    {"ThirtyTwoBits", [](Bytes& f) { Put16(f, kBitsField, 32); }, "32 bits per pixel"},
    {"EightBits", [](Bytes& f) { Put16(f, kBitsField, 8); }, "8 bits per pixel"},
    {"ZeroBits", [](Bytes& f) { Put16(f, kBitsField, 0); }, "0 bits per pixel"},
    {"TwoPlanes", [](Bytes& f) { Put16(f, kPlanesField, 2); }, "plane count is 2"},
    {"RunLengthCompressed", [](Bytes& f) { Put32(f, kCompressionField, 1); }, "compression 1"},
    {"BitFields", [](Bytes& f) { Put32(f, kCompressionField, 3); }, "compression 3"},
    {"CoreInfoHeader", [](Bytes& f) { Put32(f, kInfoSizeField, 12); }, "info header size 12"},
    {"InfoHeaderPastTheFile", [](Bytes& f) { Put32(f, kInfoSizeField, 0xFFFFFFF0u); }, "info header size"},
    {"ZeroWidth", [](Bytes& f) { Put32(f, kWidthField, 0); }, "size 0 by 2"},
    {"NegativeWidth", [](Bytes& f) { Put32(f, kWidthField, static_cast<std::uint32_t>(-3)); }, "size -3 by 2"},
    {"ZeroHeight", [](Bytes& f) { Put32(f, kHeightField, 0); }, "size 3 by 0"},
    {"HugeWidth", [](Bytes& f) { Put32(f, kWidthField, INT_MAX); }, "out of range"},
    {"HugeHeight", [](Bytes& f) { Put32(f, kHeightField, INT_MAX); }, "out of range"},
    {"MostNegativeHeight", [](Bytes& f) { Put32(f, kHeightField, 0x80000000u); }, "out of range"},
    {"LargestSidesWithoutTheirPixels",
     [](Bytes& f) {
       Put32(f, kWidthField, 16384);
       Put32(f, kHeightField, 16384);
     },
     "pixel data is truncated: 16384 by 16384 needs 805306368 bytes"},
    {"LastRowCutShort",
     [](Bytes& f) {
       f.resize(f.size() - 1);
       FixSizeField(f);
     },
     "pixel data is truncated: 3 by 2 needs 24 bytes, the file has 23"},
    {"NoPixelsAtAll",
     [](Bytes& f) {
       f.resize(kHeadersSize);
       FixSizeField(f);
     },
     "pixel data is truncated"},
    {"TallerThanItsPixels", [](Bytes& f) { Put32(f, kHeightField, 3); }, "pixel data is truncated"},
    {"PixelOffsetPastTheEnd", [](Bytes& f) { Put32(f, kOffsetField, static_cast<std::uint32_t>(f.size() + 1)); },
     "pixel data offset 79 lies past the end of the 78-byte file"},
    {"PixelOffsetHuge", [](Bytes& f) { Put32(f, kOffsetField, 0xFFFFFFFFu); }, "pixel data offset 4294967295"},
    {"PixelOffsetInsideTheHeaders", [](Bytes& f) { Put32(f, kOffsetField, 20); }, "pixel data offset 20 lies inside the 54 bytes of headers"},
    {"PixelOffsetLeavesTooFewBytes", [](Bytes& f) { Put32(f, kOffsetField, 58); }, "pixel data is truncated"},
};
INSTANTIATE_TEST_SUITE_P(Malformed, BadFile, ::testing::ValuesIn(kBadCases),
                         [](const ::testing::TestParamInfo<BadCase>& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------------------

Bytes Block(const Bytes& file, std::uint32_t count) {
  Bytes block(4 + file.size());
  Put32(block, 0, count);
  std::copy(file.begin(), file.end(), block.begin() + 4);
  return block;
}

TEST(LoadPictureData, LoadsTheFileAfterItsByteCount) {
  const Bytes file = ValidFile(3, 2);
  TBitmap b;
  LoadPictureData(b, Block(file, static_cast<std::uint32_t>(file.size())));
  ExpectPicture(b, 3, 2);
}

struct BadBlockCase {
  const char* name;
  std::function<Bytes()> block;
  const char* message_part;
};
void PrintTo(const BadBlockCase& c, std::ostream* os) { *os << c.name; }
class BadBlock : public ::testing::TestWithParam<BadBlockCase> {};

TEST_P(BadBlock, IsRefusedAndTheBitmapKeepsItsPicture) {
  const BadBlockCase& c = GetParam();
  TBitmap b;
  b.SetSize(1, 1);
  b.Pixels().SetPixel(0, 0, kA);
  try {
    LoadPictureData(b, c.block());
    FAIL() << "a malformed block was loaded";
  } catch (const EInvalidGraphic& e) {
    EXPECT_THAT(e.what(), HasSubstr(c.message_part));
  }
  EXPECT_EQ(PixelsOf(b), std::vector<TColor>{kA});
}

const BadBlockCase kBadBlocks[] = {
    {"Empty", [] { return Bytes{}; }, "picture block of 0 bytes has no byte count"},
    {"ShorterThanItsCount", [] { return Bytes{1, 0, 0}; }, "picture block of 3 bytes has no byte count"},
    {"CountTooLarge", [] { return Block(ValidFile(), 79); }, "count says 79 bytes but 78 follow"},
    {"CountTooSmall", [] { return Block(ValidFile(), 77); }, "count says 77 bytes but 78 follow"},
    {"CountHuge", [] { return Block(ValidFile(), 0xFFFFFFFFu); }, "count says 4294967295 bytes"},
    {"CountRightFileWrong",
     [] {
       Bytes file = ValidFile();
       file[0] = 'X';
       return Block(file, static_cast<std::uint32_t>(file.size()));
     },
     "does not start with \"BM\""},
    {"CountOnly", [] { return Block(Bytes{}, 0); }, "file of 0 bytes is shorter than"},
};
INSTANTIATE_TEST_SUITE_P(Malformed, BadBlock, ::testing::ValuesIn(kBadBlocks),
                         [](const ::testing::TestParamInfo<BadBlockCase>& row) { return std::string(row.param.name); });

}  // namespace
