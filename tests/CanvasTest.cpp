// Brush fills and pen lines, checked pixel by pixel on a small bitmap.
#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

namespace {

constexpr TColor kPaper = 0x203040;
constexpr TColor kInk = 0xC0FFEE;
constexpr int kW = 6, kH = 4;

// The bitmap as text, one string a row: '#' for ink, '.' for untouched paper,
// '?' for anything else.
std::vector<std::string> Picture(const TBitmap& b) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int x = 0; x < b.Width(); ++x) {
      const TColor c = b.Pixels().Pixel(x, y);
      row += c == kInk ? '#' : c == kPaper ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

class CanvasTest : public ::testing::Test {
 protected:
  CanvasTest() {
    bitmap.SetSize(kW, kH);
    bitmap.Pixels().Fill(0, 0, kW, kH, kPaper);
  }
  TBitmap bitmap;
  TCanvas& canvas = *bitmap.Canvas();
};

// ---------------------------------------------------------------------------

struct FillCase {
  const char* name;
  TRect rect;
  std::vector<std::string> expected;
};

void PrintTo(const FillCase& c, std::ostream* os) { *os << c.name; }

class FillTable : public CanvasTest, public ::testing::WithParamInterface<FillCase> {};

TEST_P(FillTable, FillsWithTheBrushRightAndBottomLeftOut) {
  canvas.Brush.Color = kInk;
  canvas.FillRect(GetParam().rect);
  EXPECT_EQ(Picture(bitmap), GetParam().expected);
}

const FillCase kFillCases[] = {
    {"Inside", Rect(1, 1, 3, 3), {"......", ".##...", ".##...", "......"}},
    {"WholeBitmap", Rect(0, 0, kW, kH), {"######", "######", "######", "######"}},
    {"PastTopLeft", Rect(-3, -2, 2, 1), {"##....", "......", "......", "......"}},
    {"PastBottomRight", Rect(4, 2, 99, 99), {"......", "......", "....##", "....##"}},
    {"HugeBothWays", Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), {"######", "######", "######", "######"}},
    {"WhollyOutside", Rect(kW, 0, kW + 3, kH), {"......", "......", "......", "......"}},
    {"WhollyAbove", Rect(0, INT_MIN, kW, 0), {"......", "......", "......", "......"}},
    {"Empty", Rect(2, 2, 2, 3), {"......", "......", "......", "......"}},
    {"Inverted", Rect(3, 3, 1, 1), {"......", "......", "......", "......"}},
};

INSTANTIATE_TEST_SUITE_P(Clipping, FillTable, ::testing::ValuesIn(kFillCases),
                         [](const ::testing::TestParamInfo<FillCase>& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------------------

struct LineCase {
  const char* name;
  TPoint from;
  TPoint to;
  std::vector<std::string> expected;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineTable : public CanvasTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineTable, DrawsFromThePenPositionLeavingOutTheEndPoint) {
  const LineCase& c = GetParam();
  canvas.Pen.Color = kInk;
  canvas.MoveTo(c.from.X, c.from.Y);
  canvas.LineTo(c.to.X, c.to.Y);
  EXPECT_EQ(Picture(bitmap), c.expected);
  EXPECT_EQ(canvas.PenPos(), c.to) << "the pen ends where the line ends";
}

const LineCase kLineCases[] = {
    {"Rightwards", {1, 1}, {4, 1}, {"......", ".###..", "......", "......"}},
    {"Leftwards", {4, 1}, {1, 1}, {"......", "..###.", "......", "......"}},
    {"Downwards", {2, 0}, {2, 3}, {"..#...", "..#...", "..#...", "......"}},
    {"Upwards", {2, 3}, {2, 0}, {"......", "..#...", "..#...", "..#..."}},
    {"SinglePixel", {3, 2}, {4, 2}, {"......", "......", "...#..", "......"}},
    {"ZeroLength", {3, 2}, {3, 2}, {"......", "......", "......", "......"}},
    {"RightwardsAcrossBothEdges", {-5, 0}, {kW + 5, 0}, {"######", "......", "......", "......"}},
    {"LeftwardsFromFarRight", {INT_MAX, 3}, {INT_MIN, 3}, {"......", "......", "......", "######"}},
    {"DownwardsFromFarAbove", {5, INT_MIN}, {5, INT_MAX}, {".....#", ".....#", ".....#", ".....#"}},
    {"RowBelowTheBitmap", {0, kH}, {kW, kH}, {"......", "......", "......", "......"}},
    {"ColumnLeftOfTheBitmap", {-1, 0}, {-1, kH}, {"......", "......", "......", "......"}},
    {"EndingJustPastTheRightEdge", {3, 0}, {kW, 0}, {"...###", "......", "......", "......"}},
    {"EndingOnTheLastColumn", {3, 0}, {kW - 1, 0}, {"...##.", "......", "......", "......"}},
};

INSTANTIATE_TEST_SUITE_P(HorizontalAndVertical, LineTable, ::testing::ValuesIn(kLineCases),
                         [](const ::testing::TestParamInfo<LineCase>& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------------------

TEST_F(CanvasTest, ConsecutiveLinesJoinWithoutGapsOrDoubledCorners) {
  // A closed outline: every corner is the start of the next line, so each
  // pixel is drawn exactly once.
  canvas.Pen.Color = kInk;
  canvas.MoveTo(1, 0);
  canvas.LineTo(4, 0);
  canvas.LineTo(4, 3);
  canvas.LineTo(1, 3);
  canvas.LineTo(1, 0);
  EXPECT_EQ(Picture(bitmap), (std::vector<std::string>{".####.", ".#..#.", ".#..#.", ".####."}));
}

TEST_F(CanvasTest, BrushAndPenKeepTheirColoursUntilChanged) {
  TBitmap fresh;
  EXPECT_EQ(fresh.Canvas()->Brush.Color, clWhite);
  EXPECT_EQ(fresh.Canvas()->Pen.Color, clBlack);

  canvas.Brush.Color = kInk;
  canvas.Pen.Color = kPaper;
  canvas.FillRect(Rect(0, 0, kW, kH));
  canvas.MoveTo(0, 0);
  canvas.LineTo(kW, 0);
  // Drawing changes neither colour, nor do the bitmap's own operations.
  bitmap.SetSize(kW, kH);
  TBitmap other;
  other.SetSize(2, 2);
  bitmap.Assign(&other);
  EXPECT_EQ(canvas.Brush.Color, kInk);
  EXPECT_EQ(canvas.Pen.Color, kPaper);

  bitmap.SetSize(kW, kH);
  canvas.FillRect(Rect(0, 0, kW, kH));
  canvas.MoveTo(0, 1);
  canvas.LineTo(kW, 1);
  EXPECT_EQ(Picture(bitmap), (std::vector<std::string>{"######", "......", "######", "######"}));
}

TEST_F(CanvasTest, HandleIsTheBitmapsOwnSurface) {
  EXPECT_EQ(canvas.Handle(), &bitmap.Pixels());
  canvas.Brush.Color = kInk;
  canvas.FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(canvas.Handle()->Pixel(0, 0), kInk);
}

TEST_F(CanvasTest, DrawsOnAMonochromeBitmapInWhiteOrBlackOnly) {
  bitmap.SetMonochrome(true);
  canvas.Brush.Color = clWhite;
  canvas.FillRect(Rect(0, 0, 2, 1));
  canvas.Pen.Color = clWhite;
  canvas.MoveTo(0, 1);
  canvas.LineTo(2, 1);
  EXPECT_EQ(bitmap.Pixels().Pixel(0, 0), clWhite);
  EXPECT_EQ(bitmap.Pixels().Pixel(1, 1), clWhite);
  EXPECT_EQ(bitmap.Pixels().Pixel(2, 1), clBlack);
}

}  // namespace
