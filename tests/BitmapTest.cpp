// Bitmaps: sizes, independent copies and the switch to one bit a pixel.
#include "platform/Bitmap.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using ::testing::HasSubstr;

constexpr TColor kA = 0x12F0A5;
constexpr TColor kB = 0x8C3C5A;
constexpr TColor kNearWhite = 0xFFFEFF;

void Paint(TBitmap& b, const std::vector<TColor>& pixels) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.Pixels().SetPixel(x, y, pixels[static_cast<std::size_t>(y * b.Width() + x)]);
}

std::vector<TColor> PixelsOf(const TBitmap& b) {
  std::vector<TColor> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(b.Pixels().Pixel(x, y));
  return out;
}

TEST(Bitmap, StartsEmptyAndTakesTheSizeItIsGiven) {
  TBitmap b;
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 0);
  EXPECT_FALSE(b.Monochrome());

  b.SetSize(3, 2);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_FALSE(b.Empty());
  b.SetWidth(5);
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.Height(), 2);
  b.SetHeight(0);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Width(), 5);
  b.SetSize(-1, -7);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 0);
}

TEST(Bitmap, ASizeBeyondAnyPictureIsRefusedAndChangesNothing) {
  TBitmap b;
  b.SetSize(2, 1);
  Paint(b, {kA, kB});
  for (const auto& [width, height] : {std::pair{100000, 100000}, std::pair{INT_MAX, INT_MAX}, std::pair{16385, 16384}}) {
    try {
      b.SetSize(width, height);
      FAIL() << width << " by " << height << " was accepted";
    } catch (const std::length_error& e) {
      EXPECT_THAT(e.what(), HasSubstr("a bitmap of " + std::to_string(width) + " by " + std::to_string(height) +
                                      " pixels is larger than"));
    }
    EXPECT_EQ(PixelsOf(b), (std::vector<TColor>{kA, kB}));
  }
  // A row or a column of any length within the limit is fine.
  b.SetSize(INT_MAX, 0);
  EXPECT_TRUE(b.Empty());
  b.SetSize(1 << 20, 1);
  EXPECT_EQ(b.Width(), 1 << 20);
}

TEST(Bitmap, AssignMakesAnIndependentCopy) {
  TBitmap source;
  source.SetSize(2, 2);
  Paint(source, {kA, kB, clWhite, clBlack});
  TBitmap copy;
  copy.SetSize(7, 7);
  copy.Assign(&source);
  EXPECT_EQ(copy.Width(), 2);
  EXPECT_EQ(copy.Height(), 2);
  EXPECT_EQ(PixelsOf(copy), PixelsOf(source));

  // Drawing on either leaves the other as it was.
  copy.Canvas()->Brush.Color = kB;
  copy.Canvas()->FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(PixelsOf(source), (std::vector<TColor>{kA, kB, clWhite, clBlack}));
  source.Pixels().SetPixel(1, 1, kA);
  EXPECT_EQ(PixelsOf(copy), std::vector<TColor>(4, kB));
  source.SetSize(1, 1);
  EXPECT_EQ(copy.Width(), 2);
}

TEST(Bitmap, AssignCarriesTheFormatButNotTheCanvasColours) {
  TBitmap mono;
  mono.SetSize(2, 1);
  Paint(mono, {clWhite, kA});
  mono.SetMonochrome(true);
  TBitmap copy;
  copy.Canvas()->Brush.Color = kA;
  SetBkColor(copy.Canvas()->Handle(), kB);
  copy.Assign(&mono);
  EXPECT_TRUE(copy.Monochrome());
  EXPECT_EQ(PixelsOf(copy), (std::vector<TColor>{clWhite, clBlack}));
  EXPECT_EQ(copy.Canvas()->Brush.Color, kA);
  EXPECT_EQ(copy.Pixels().BkColor, kB);
}

TEST(Bitmap, AssignOfNoneEmptiesAndOfItselfChangesNothing) {
  TBitmap b;
  b.SetSize(2, 1);
  Paint(b, {kA, kB});
  b.Assign(&b);
  EXPECT_EQ(PixelsOf(b), (std::vector<TColor>{kA, kB}));
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, MonochromeSetsBitsForWhiteOnlyAndKeepsTheSize) {
  TBitmap b;
  b.SetSize(3, 2);
  Paint(b, {clWhite, clBlack, kNearWhite, kA, clWhite, 0xFEFFFF});
  b.SetMonochrome(true);
  EXPECT_TRUE(b.Monochrome());
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(PixelsOf(b), (std::vector<TColor>{clWhite, clBlack, clBlack, clBlack, clWhite, clBlack}));
  b.SetMonochrome(true);  // already one bit: nothing to convert
  EXPECT_EQ(PixelsOf(b), (std::vector<TColor>{clWhite, clBlack, clBlack, clBlack, clWhite, clBlack}));
  // Back to colour, set bits read as white and clear ones as black.
  b.SetMonochrome(false);
  EXPECT_FALSE(b.Monochrome());
  EXPECT_EQ(PixelsOf(b), (std::vector<TColor>{clWhite, clBlack, clBlack, clBlack, clWhite, clBlack}));
}

// A colour borrowed as the surface's background, for a blit, must not change
// what the format switch treats as white.
TEST(Bitmap, MonochromeIgnoresABackgroundColourSetOnTheCanvas) {
  TBitmap b;
  b.SetSize(2, 1);
  Paint(b, {clWhite, kA});
  SetBkColor(b.Canvas()->Handle(), kA);
  b.SetMonochrome(true);
  EXPECT_EQ(PixelsOf(b), (std::vector<TColor>{clWhite, clBlack}));
  EXPECT_EQ(b.Pixels().BkColor, kA) << "the canvas keeps the colour it was given";
}

TEST(Bitmap, ResizingKeepsTheFormatAndGivesBlackPixels) {
  TBitmap b;
  b.SetSize(1, 1);
  Paint(b, {clWhite});
  b.SetMonochrome(true);
  b.SetSize(2, 2);
  EXPECT_TRUE(b.Monochrome());
  EXPECT_EQ(PixelsOf(b), std::vector<TColor>(4, clBlack));
}

}  // namespace
