// Raster operations on small in-memory surfaces: every operation and format
// pair, the two monochrome conversions, and clipping at every edge.
#include "platform/Surface.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr TColor kWhite = clWhite;
constexpr TColor kBlack = clBlack;
// Bit patterns chosen so that AND and OR of any two differ from both.
constexpr TColor kA = 0x12F0A5;
constexpr TColor kB = 0x8C3C5A;
constexpr TColor kC = 0xE1017E;
constexpr TColor kD = 0x3355CC;
constexpr TColor kP = 0x0FF00F;
constexpr TColor kQ = 0xA5A5A5;
constexpr TColor kR = 0x71E8C3;
constexpr TColor kS = 0xC0FFEE;
// Non-default surface colours: a conversion that uses white or black, or the
// wrong surface's colours, shows up as a wrong pixel.
constexpr TColor kSrcBackground = 0x2A7F13;
constexpr TColor kSrcText = 0x445566;
constexpr TColor kDstBackground = 0x9ABCDE;
constexpr TColor kDstText = 0x1B2D3F;

Surface MakeSurface(int width, int height, bool monochrome, const std::vector<TColor>& pixels) {
  Surface s;
  s.Reset(width, height, false);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.SetPixel(x, y, pixels[static_cast<std::size_t>(y * width + x)]);
  // Monochrome bits are given as white (set) and black (clear).
  if (monochrome) {
    s.BkColor = kWhite;
    s.ConvertToMonochrome();
  }
  return s;
}

// Names each parameterised case after its table row.
template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& row) {
  return row.param.name;
}

std::vector<TColor> PixelsOf(const Surface& s) {
  std::vector<TColor> out;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) out.push_back(s.Pixel(x, y));
  return out;
}

// ---------------------------------------------------------------------------
// Every operation on every pair of formats, 2 by 2 pixels each.

struct BlitCase {
  const char* name;
  bool src_mono;
  std::vector<TColor> src;
  bool dst_mono;
  std::vector<TColor> dst;
  RasterOp rop;
  std::vector<TColor> expected;
};

void PrintTo(const BlitCase& c, std::ostream* os) { *os << c.name; }

class BlitTable : public ::testing::TestWithParam<BlitCase> {};

TEST_P(BlitTable, CombinesEveryPixel) {
  const BlitCase& c = GetParam();
  Surface src = MakeSurface(2, 2, c.src_mono, c.src);
  Surface dst = MakeSurface(2, 2, c.dst_mono, c.dst);
  src.BkColor = kSrcBackground;
  src.TextColor = kSrcText;
  dst.BkColor = kDstBackground;
  dst.TextColor = kDstText;

  ASSERT_TRUE(BitBlt(&dst, 0, 0, 2, 2, &src, 0, 0, c.rop));

  EXPECT_EQ(PixelsOf(dst), c.expected);
  EXPECT_EQ(dst.IsMonochrome(), c.dst_mono) << "a blit never changes the destination's format";
  EXPECT_EQ(PixelsOf(src), PixelsOf(MakeSurface(2, 2, c.src_mono, c.src))) << "the source is only read";
}

// Colour into monochrome: a bit is set exactly where the source pixel equals
// the SOURCE's background colour; white and near misses are clear.
constexpr TColor kNearBackground = kSrcBackground ^ 0x000100;

const BlitCase kBlitCases[] = {
    {"ColorToColor_Copy", false, {kA, kB, kC, kD}, false, {kP, kQ, kR, kS}, SRCCOPY, {kA, kB, kC, kD}},
    {"ColorToColor_And", false, {kA, kB, kC, kD}, false, {kP, kQ, kR, kS}, SRCAND,
     {kA & kP, kB & kQ, kC & kR, kD & kS}},
    {"ColorToColor_Paint", false, {kA, kB, kC, kD}, false, {kP, kQ, kR, kS}, SRCPAINT,
     {kA | kP, kB | kQ, kC | kR, kD | kS}},
    {"ColorToColor_CopyIgnoresSourceBackground", false, {kSrcBackground, kWhite, kBlack, kA}, false,
     {kP, kQ, kR, kS}, SRCCOPY, {kSrcBackground, kWhite, kBlack, kA}},

    {"ColorToMono_Copy", false, {kSrcBackground, kWhite, kNearBackground, kDstBackground}, true,
     {kBlack, kWhite, kWhite, kBlack}, SRCCOPY, {kWhite, kBlack, kBlack, kBlack}},
    {"ColorToMono_And", false, {kSrcBackground, kWhite, kSrcBackground, kBlack}, true,
     {kWhite, kWhite, kBlack, kWhite}, SRCAND, {kWhite, kBlack, kBlack, kBlack}},
    {"ColorToMono_Paint", false, {kSrcBackground, kA, kWhite, kSrcBackground}, true,
     {kBlack, kWhite, kBlack, kWhite}, SRCPAINT, {kWhite, kWhite, kBlack, kWhite}},

    // Monochrome into colour: set bits take the DESTINATION's background
    // colour, clear bits its text colour; the source's own colours play no part.
    {"MonoToColor_Copy", true, {kWhite, kBlack, kBlack, kWhite}, false, {kP, kQ, kR, kS}, SRCCOPY,
     {kDstBackground, kDstText, kDstText, kDstBackground}},
    {"MonoToColor_And", true, {kWhite, kBlack, kBlack, kWhite}, false, {kP, kQ, kR, kS}, SRCAND,
     {kP & kDstBackground, kQ & kDstText, kR & kDstText, kS & kDstBackground}},
    {"MonoToColor_Paint", true, {kWhite, kBlack, kBlack, kWhite}, false, {kP, kQ, kR, kS}, SRCPAINT,
     {kP | kDstBackground, kQ | kDstText, kR | kDstText, kS | kDstBackground}},

    {"MonoToMono_Copy", true, {kWhite, kBlack, kWhite, kBlack}, true, {kBlack, kBlack, kWhite, kWhite}, SRCCOPY,
     {kWhite, kBlack, kWhite, kBlack}},
    {"MonoToMono_And", true, {kWhite, kBlack, kWhite, kBlack}, true, {kBlack, kBlack, kWhite, kWhite}, SRCAND,
     {kBlack, kBlack, kWhite, kBlack}},
    {"MonoToMono_Paint", true, {kWhite, kBlack, kWhite, kBlack}, true, {kBlack, kBlack, kWhite, kWhite}, SRCPAINT,
     {kWhite, kBlack, kWhite, kWhite}},

    // DSTINVERT needs no source; through BitBlt it ignores the one given.
    {"Color_DstInvert", false, {kWhite, kWhite, kWhite, kWhite}, false, {kP, kQ, kBlack, kWhite}, DSTINVERT,
     {~kP & 0xFFFFFF, ~kQ & 0xFFFFFF, kWhite, kBlack}},
    {"Mono_DstInvert", true, {kWhite, kWhite, kWhite, kWhite}, true, {kBlack, kWhite, kWhite, kBlack}, DSTINVERT,
     {kWhite, kBlack, kBlack, kWhite}},
};

INSTANTIATE_TEST_SUITE_P(EveryOperation, BlitTable, ::testing::ValuesIn(kBlitCases),
                         RowName<BlitCase>);

TEST(PatBlt, InvertsColourAndMonochromeAndRefusesOtherOperations) {
  Surface colour = MakeSurface(2, 1, false, {kA, kBlack});
  ASSERT_TRUE(PatBlt(&colour, 0, 0, 2, 1, DSTINVERT));
  EXPECT_EQ(PixelsOf(colour), (std::vector<TColor>{~kA & 0xFFFFFF, kWhite}));
  ASSERT_TRUE(PatBlt(&colour, 0, 0, 2, 1, DSTINVERT));
  EXPECT_EQ(PixelsOf(colour), (std::vector<TColor>{kA, kBlack})) << "inverting twice gives the picture back";

  Surface mono = MakeSurface(2, 1, true, {kWhite, kBlack});
  ASSERT_TRUE(PatBlt(&mono, 0, 0, 2, 1, DSTINVERT));
  EXPECT_EQ(PixelsOf(mono), (std::vector<TColor>{kBlack, kWhite}));

  // Operations that need a source are not pattern operations.
  for (RasterOp rop : {SRCCOPY, SRCAND, SRCPAINT}) {
    EXPECT_FALSE(PatBlt(&colour, 0, 0, 2, 1, rop));
    EXPECT_EQ(PixelsOf(colour), (std::vector<TColor>{kA, kBlack}));
  }
  EXPECT_FALSE(PatBlt(nullptr, 0, 0, 2, 1, DSTINVERT));
}

TEST(BitBlt, MissingSurfacesAreRefusedWithoutDrawing) {
  Surface s = MakeSurface(1, 1, false, {kA});
  EXPECT_FALSE(BitBlt(nullptr, 0, 0, 1, 1, &s, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(&s, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  EXPECT_EQ(s.Pixel(0, 0), kA);
  EXPECT_TRUE(BitBlt(&s, 0, 0, 1, 1, nullptr, 0, 0, DSTINVERT)) << "DSTINVERT needs no source";
  EXPECT_EQ(s.Pixel(0, 0), ~kA & 0xFFFFFF);
}

TEST(SetBkColor, ReturnsTheColourItReplaces) {
  Surface s;
  EXPECT_EQ(SetBkColor(&s, kSrcBackground), kWhite) << "a new surface has a white background";
  EXPECT_EQ(SetBkColor(&s, kA), kSrcBackground);
  EXPECT_EQ(s.BkColor, kA);
  EXPECT_EQ(SetTextColor(&s, kB), kBlack) << "a new surface has black text";
  EXPECT_EQ(SetTextColor(&s, kC), kB);
}

TEST(SetBkColor, TheBackgroundSetIsTheOneTheConversionUses) {
  // The sprite's mask build: set the key as background, copy into one bit, restore.
  Surface picture = MakeSurface(3, 1, false, {kA, kB, kA});
  Surface bits = MakeSurface(3, 1, true, {kWhite, kWhite, kWhite});
  const TColor old = SetBkColor(&picture, kA);
  BitBlt(&bits, 0, 0, 3, 1, &picture, 0, 0, SRCCOPY);
  EXPECT_EQ(SetBkColor(&picture, old), kA);
  EXPECT_EQ(PixelsOf(bits), (std::vector<TColor>{kWhite, kBlack, kWhite}));
  EXPECT_EQ(picture.BkColor, kWhite);
}

TEST(Surface, ConvertToMonochromeSetsBitsWhereTheBackgroundColourIs) {
  Surface s = MakeSurface(3, 1, false, {kWhite, kSrcBackground, kNearBackground});
  s.BkColor = kSrcBackground;
  s.ConvertToMonochrome();
  EXPECT_TRUE(s.IsMonochrome());
  EXPECT_EQ(PixelsOf(s), (std::vector<TColor>{kBlack, kWhite, kBlack}));
  EXPECT_EQ(s.Width(), 3);
  EXPECT_EQ(s.Height(), 1);
}

TEST(Surface, MonochromePixelsAreOnlyWhiteOrBlack) {
  Surface s = MakeSurface(3, 1, true, {kBlack, kBlack, kBlack});
  s.SetPixel(0, 0, kWhite);
  s.SetPixel(1, 0, kA);
  s.Fill(2, 0, 3, 1, kWhite);
  EXPECT_EQ(PixelsOf(s), (std::vector<TColor>{kWhite, kBlack, kWhite}));
}

TEST(Surface, ResetGivesABlackSurfaceAndNegativeSizesCountAsZero) {
  Surface s;
  EXPECT_TRUE(s.IsEmpty());
  s.Reset(3, 2, false);
  EXPECT_EQ(PixelsOf(s), std::vector<TColor>(6, kBlack));
  s.Reset(-4, 5, false);
  EXPECT_EQ(s.Width(), 0);
  EXPECT_EQ(s.Height(), 5);
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(s.Pixel(0, 0), kBlack) << "outside reads as black";
  s.SetPixel(0, 0, kA);  // outside: ignored
  s.Fill(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kA);
}

TEST(Surface, FillClipsAndLeavesOutRightAndBottom) {
  Surface s = MakeSurface(3, 3, false, std::vector<TColor>(9, kP));
  s.Fill(-5, 1, 2, INT_MAX, kA);
  EXPECT_EQ(PixelsOf(s), (std::vector<TColor>{kP, kP, kP, kA, kA, kP, kA, kA, kP}));
  s.Fill(2, 2, 1, 3, kB);  // right before left: nothing
  s.Fill(INT_MIN, INT_MIN, INT_MIN + 1, INT_MIN + 1, kB);
  EXPECT_EQ(PixelsOf(s), (std::vector<TColor>{kP, kP, kP, kA, kA, kP, kA, kA, kP}));
}

// ---------------------------------------------------------------------------
// Clipping: whatever the coordinates, the destination changes exactly where
// the requested block overlaps both surfaces, and nothing outside either is
// read or written (the sanitizer build catches a stray access).

struct ClipCase {
  const char* name;
  int x, y, width, height, x_src, y_src;
};

void PrintTo(const ClipCase& c, std::ostream* os) { *os << c.name; }

constexpr int kSrcW = 4, kSrcH = 3, kDstW = 5, kDstH = 4;
constexpr TColor kUntouched = 0x5A5A5A;

// Source pixels all differ from one another and from kUntouched.
TColor SourceColour(int x, int y) { return RGB(static_cast<std::uint8_t>(16 + x), static_cast<std::uint8_t>(32 + y), 200); }

// Where the requested block overlaps both surfaces, (x, y) of the destination
// shows the source pixel that the unclipped block would put there.
bool Covered(const ClipCase& c, int x, int y, int* sx, int* sy) {
  const std::int64_t bx = std::int64_t{x} - c.x, by = std::int64_t{y} - c.y;
  if (bx < 0 || by < 0 || bx >= c.width || by >= c.height) return false;
  const std::int64_t src_x = c.x_src + bx, src_y = c.y_src + by;
  if (src_x < 0 || src_y < 0 || src_x >= kSrcW || src_y >= kSrcH) return false;
  *sx = static_cast<int>(src_x);
  *sy = static_cast<int>(src_y);
  return true;
}

class ClipTable : public ::testing::TestWithParam<ClipCase> {
 protected:
  static Surface Source(bool monochrome) {
    Surface s;
    s.Reset(kSrcW, kSrcH, false);
    for (int y = 0; y < kSrcH; ++y)
      for (int x = 0; x < kSrcW; ++x) s.SetPixel(x, y, monochrome ? ((x + y) % 2 ? kWhite : kBlack) : SourceColour(x, y));
    if (monochrome) s.ConvertToMonochrome();
    return s;
  }
  static Surface Destination() {
    Surface d;
    d.Reset(kDstW, kDstH, false);
    d.Fill(0, 0, kDstW, kDstH, kUntouched);
    return d;
  }
};

TEST_P(ClipTable, ColourCopyChangesOnlyTheOverlap) {
  const ClipCase& c = GetParam();
  Surface src = Source(false);
  Surface dst = Destination();
  ASSERT_TRUE(BitBlt(&dst, c.x, c.y, c.width, c.height, &src, c.x_src, c.y_src, SRCCOPY));
  for (int y = 0; y < kDstH; ++y)
    for (int x = 0; x < kDstW; ++x) {
      int sx = 0, sy = 0;
      const TColor want = Covered(c, x, y, &sx, &sy) ? SourceColour(sx, sy) : kUntouched;
      EXPECT_EQ(dst.Pixel(x, y), want) << "at (" << x << ", " << y << ")";
    }
}

TEST_P(ClipTable, MonochromeIntoColourChangesOnlyTheOverlap) {
  const ClipCase& c = GetParam();
  Surface src = Source(true);
  Surface dst = Destination();
  dst.BkColor = kDstBackground;
  dst.TextColor = kDstText;
  ASSERT_TRUE(BitBlt(&dst, c.x, c.y, c.width, c.height, &src, c.x_src, c.y_src, SRCPAINT));
  for (int y = 0; y < kDstH; ++y)
    for (int x = 0; x < kDstW; ++x) {
      int sx = 0, sy = 0;
      const TColor want =
          Covered(c, x, y, &sx, &sy) ? kUntouched | ((sx + sy) % 2 ? kDstBackground : kDstText) : kUntouched;
      EXPECT_EQ(dst.Pixel(x, y), want) << "at (" << x << ", " << y << ")";
    }
}

TEST_P(ClipTable, ColourIntoMonochromeChangesOnlyTheOverlap) {
  const ClipCase& c = GetParam();
  Surface src = Source(false);
  src.BkColor = SourceColour(1, 1);  // exactly one source pixel is the background
  Surface dst;
  dst.Reset(kDstW, kDstH, true);
  dst.Fill(0, 0, kDstW, kDstH, kWhite);
  ASSERT_TRUE(BitBlt(&dst, c.x, c.y, c.width, c.height, &src, c.x_src, c.y_src, SRCAND));
  for (int y = 0; y < kDstH; ++y)
    for (int x = 0; x < kDstW; ++x) {
      int sx = 0, sy = 0;
      const TColor want = Covered(c, x, y, &sx, &sy) && !(sx == 1 && sy == 1) ? kBlack : kWhite;
      EXPECT_EQ(dst.Pixel(x, y), want) << "at (" << x << ", " << y << ")";
    }
}

// DSTINVERT has no source: only the destination rectangle clips it.
TEST_P(ClipTable, PatBltInvertsOnlyTheDestinationPart) {
  const ClipCase& c = GetParam();
  Surface dst = Destination();
  ASSERT_TRUE(PatBlt(&dst, c.x, c.y, c.width, c.height, DSTINVERT));
  for (int y = 0; y < kDstH; ++y)
    for (int x = 0; x < kDstW; ++x) {
      const std::int64_t bx = std::int64_t{x} - c.x, by = std::int64_t{y} - c.y;
      const bool inside = bx >= 0 && by >= 0 && bx < c.width && by < c.height;
      EXPECT_EQ(dst.Pixel(x, y), inside ? (~kUntouched & 0xFFFFFF) : kUntouched) << "at (" << x << ", " << y << ")";
    }
}

const ClipCase kClipCases[] = {
    // name                          x         y        width    height   x_src    y_src
    {"WhollyInside", 1, 1, 2, 2, 1, 0},
    {"WholeSourceAtOrigin", 0, 0, kSrcW, kSrcH, 0, 0},
    {"NegativeDestinationX", -2, 1, 4, 2, 0, 0},
    {"NegativeDestinationY", 1, -2, 2, 4, 0, 0},
    {"NegativeDestinationCorner", -1, -1, 3, 3, 0, 0},
    {"NegativeSourceX", 1, 0, 4, 2, -2, 0},
    {"NegativeSourceY", 0, 1, 2, 3, 0, -2},
    {"SourcePartlyPastRight", 0, 0, 4, 2, 2, 0},
    {"SourcePartlyPastBottom", 0, 0, 2, 3, 0, 2},
    {"DestinationPartlyPastRight", 3, 0, 4, 2, 0, 0},
    {"DestinationPartlyPastBottom", 0, 2, 2, 4, 0, 0},
    {"SizeBeyondBothBitmaps", 0, 0, 100, 100, 0, 0},
    {"SizeBeyondBothFromInside", 2, 1, 100, 100, 1, 1},
    {"SourceWhollyOutside", 0, 0, 2, 2, kSrcW, 0},
    {"SourceWhollyAbove", 0, 0, 2, 2, 0, -2},
    {"DestinationWhollyOutside", kDstW, 0, 2, 2, 0, 0},
    {"DestinationWhollyLeft", -2, 0, 2, 2, 0, 0},
    {"ZeroWidth", 1, 1, 0, 2, 0, 0},
    {"ZeroHeight", 1, 1, 2, 0, 0, 0},
    {"NegativeWidth", 3, 1, -2, 2, 0, 0},
    {"NegativeHeight", 1, 3, 2, -2, 0, 0},
    {"IntMaxWidthAndHeight", 1, 1, INT_MAX, INT_MAX, 0, 0},
    {"IntMaxWidthFromNegativeX", -2, 0, INT_MAX, INT_MAX, 0, 0},
    {"IntMaxWidthFromIntMinX", INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0},
    {"IntMaxDestination", INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0, 0},
    {"IntMinDestination", INT_MIN, INT_MIN, 4, 4, 0, 0},
    {"IntMaxSource", 0, 0, 4, 4, INT_MAX, INT_MAX},
    {"IntMinSource", 0, 0, 4, 4, INT_MIN, INT_MIN},
    {"IntMinSourceWithIntMaxSize", 0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN},
    {"IntMinWidth", 1, 1, INT_MIN, INT_MIN, 0, 0},
    {"FarDestinationFarSourceCancel", INT_MIN + 2, 0, INT_MAX, 3, INT_MIN, 0},
};

INSTANTIATE_TEST_SUITE_P(EveryEdge, ClipTable, ::testing::ValuesIn(kClipCases),
                         RowName<ClipCase>);

TEST(BitBlt, EmptySurfacesAreNeitherReadNorWritten) {
  Surface empty;
  Surface s = MakeSurface(2, 2, false, {kA, kB, kC, kD});
  EXPECT_TRUE(BitBlt(&s, 0, 0, 2, 2, &empty, 0, 0, SRCCOPY));
  EXPECT_EQ(PixelsOf(s), (std::vector<TColor>{kA, kB, kC, kD}));
  EXPECT_TRUE(BitBlt(&empty, 0, 0, 2, 2, &s, 0, 0, SRCCOPY));
  EXPECT_TRUE(PatBlt(&empty, 0, 0, 2, 2, DSTINVERT));
}

// ---------------------------------------------------------------------------
// One surface as both source and destination: the result is as if the source
// block had been read whole before anything was written.

struct OverlapCase {
  const char* name;
  int x, y, width, height, x_src, y_src;
  RasterOp rop;
};

void PrintTo(const OverlapCase& c, std::ostream* os) { *os << c.name; }

class OverlapTable : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(OverlapTable, ReadsTheSourceAsItWasBefore) {
  const OverlapCase& c = GetParam();
  Surface s;
  s.Reset(4, 4, false);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      s.SetPixel(x, y, RGB(static_cast<std::uint8_t>(37 * x + 91 * y + 5), static_cast<std::uint8_t>((53 * x) ^ (17 * y)),
                           static_cast<std::uint8_t>(1 << (x + y))));
  const Surface before = s;
  ASSERT_TRUE(BitBlt(&s, c.x, c.y, c.width, c.height, &s, c.x_src, c.y_src, c.rop));
  // The same blit from a separate copy of the source.
  Surface expected = before;
  Surface source_copy = before;
  ASSERT_TRUE(BitBlt(&expected, c.x, c.y, c.width, c.height, &source_copy, c.x_src, c.y_src, c.rop));
  EXPECT_EQ(PixelsOf(s), PixelsOf(expected));
}

const OverlapCase kOverlapCases[] = {
    {"CopyDownRight", 1, 1, 3, 3, 0, 0, SRCCOPY},
    {"CopyUpLeft", 0, 0, 3, 3, 1, 1, SRCCOPY},
    {"CopyRightInOneRow", 1, 0, 3, 4, 0, 0, SRCCOPY},
    {"CopyDown", 0, 1, 4, 3, 0, 0, SRCCOPY},
    {"AndDownRight", 1, 1, 3, 3, 0, 0, SRCAND},
    {"PaintRightInOneRow", 1, 0, 3, 4, 0, 0, SRCPAINT},
    {"PaintUpLeft", 0, 0, 3, 3, 1, 1, SRCPAINT},
    {"OntoItself", 0, 0, 4, 4, 0, 0, SRCAND},
};

INSTANTIATE_TEST_SUITE_P(SameSurface, OverlapTable, ::testing::ValuesIn(kOverlapCases),
                         RowName<OverlapCase>);

}  // namespace
