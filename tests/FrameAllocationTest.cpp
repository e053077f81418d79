// The frame's hot path: a game's steady frames allocate nothing; a finished
// frame is shown by sharing its pixels, not copying them, and every surface
// that shares pixels takes its own before it writes, so what one shows never
// changes under the other's drawing; and the sprite's one-pass see-through
// draw gives exactly what its two raster operations give.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "app/LayoutReader.h"
#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/Surface.h"
#include "platform/headless/HeadlessBackend.h"

// ---------------------------------------------------------------------------
// Every allocation on this thread is counted while counting is on (as in
// SpriteTest, whose replacement operators are its own program's).

namespace {
thread_local bool t_counting = false;
thread_local long t_allocations = 0;

void* Allocate(std::size_t size) {
  if (t_counting) ++t_allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  if (t_counting) ++t_allocations;
  const auto align = static_cast<std::size_t>(alignment);
  const std::size_t rounded = (size + align - 1) / align * align;
  if (void* p = std::aligned_alloc(align, rounded == 0 ? align : rounded)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new(std::size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace {

// Counts the allocations made on this thread while it lives.
class AllocationCounter {
 public:
  AllocationCounter() {
    t_allocations = 0;
    t_counting = true;
  }
  ~AllocationCounter() { t_counting = false; }
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;
  long Count() const { return t_allocations; }
};

std::vector<TColor> PixelsOf(const Surface& s) {
  std::vector<TColor> out;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) out.push_back(s.Pixel(x, y));
  return out;
}

// ---------------------------------------------------------------------------
// The real window, headless, with a game in progress.

class SteadyGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetUnit1State();
    Application->Initialize();
    kestrune::Headless().Clear();
    Application->SetFormLoader(kestrune::LoadEmbeddedLayout);
    Application->CreateForm(form_);
    Application->SetFormLoader(nullptr);
    ASSERT_NE(form_, nullptr);
    Application->Run();  // headless: the clock now ticks Timer1
    form_->Start1->Click();
    // The gun, three climbing shots and four falling enemies, 160 apart in y
    // so that no hit happens for many frames; every enemy started, so no new
    // one starts and the game cannot end while they fall.
    const TShot shots[kShotSlots] = {{40, 200, 0, true}, {140, 200, 0, true}, {240, 200, 0, true}};
    const TEnemy enemies[kEnemySlots] = {{10, 40, 0, true}, {90, 40, 0, true}, {170, 40, 0, true}, {250, 40, 1, true}};
    std::copy(std::begin(shots), std::end(shots), std::begin(Shots));
    std::copy(std::begin(enemies), std::end(enemies), std::begin(Enemies));
    GunX = 140;
    SpawnCount = kEnemiesPerGame;
  }
  void TearDown() override {
    delete form_;
    kestrune::Headless().Clear();
  }

  // Frames as the event loop delivers them: through the headless clock.
  void RunFrames(int n) { kestrune::Headless().AdvanceTime(std::int64_t{n} * kFrameInterval); }

  const Surface& Back() const { return form_->Image1->Picture().Bitmap().Pixels(); }
  const Surface& Shown() const { return form_->Image2->Picture().Bitmap().Pixels(); }

  TForm1* form_ = nullptr;
};

TEST_F(SteadyGameTest, FramesOfAGameInProgressAllocateNothing) {
  // The first frames after Start may still find the blocks the back buffer
  // and the playfield flip between.
  RunFrames(2);
  const int enemy_y = Enemies[0].Y;
  long allocations = 0;
  {
    AllocationCounter counter;
    RunFrames(5);
    allocations = counter.Count();
  }
  EXPECT_EQ(allocations, 0);
  // Five whole frames ran, with everything in play and no hit.
  EXPECT_EQ(Enemies[0].Y, enemy_y + 5 * (kEnemiesPerGame / 12 + 1));
  for (const TShot& shot : Shots) EXPECT_TRUE(shot.Active);
  for (const TEnemy& enemy : Enemies) EXPECT_TRUE(enemy.Active);
  EXPECT_EQ(Score, 0);
  EXPECT_TRUE(kestrune::Headless().Exceptions().empty());
}

TEST_F(SteadyGameTest, TheShownFrameIsTheBackBufferSharedNotCopied) {
  RunFrames(3);
  EXPECT_TRUE(Shown().SharesPixelsWith(Back()));
  EXPECT_EQ(PixelsOf(Shown()), PixelsOf(Back()));
}

// Drawing on the back buffer between frames, over all of it (which takes the
// spare block without copying) or part of it (which copies first), must leave
// the shown frame as it was, however many frames have flipped the two blocks.
TEST_F(SteadyGameTest, DrawingOnTheBackBufferLeavesTheShownFrameAsItWas) {
  for (const bool whole : {true, false}) {
    SCOPED_TRACE(whole ? "whole fill" : "part fill");
    RunFrames(3);
    const std::vector<TColor> shown = PixelsOf(Shown());
    const std::vector<TColor> back = PixelsOf(Back());
    TCanvas* canvas = form_->Image1->Canvas();
    canvas->Brush.Color = clWhite;
    const TRect r = whole ? Rect(0, 0, form_->Image1->Width, form_->Image1->Height) : Rect(100, 100, 120, 110);
    canvas->FillRect(r);
    canvas->Brush.Color = clBlack;
    EXPECT_EQ(PixelsOf(Shown()), shown);
    EXPECT_FALSE(Shown().SharesPixelsWith(Back()));
    EXPECT_EQ(Back().Pixel(r.Left, r.Top), clWhite);
    if (!whole) {
      EXPECT_EQ(Back().Pixel(r.Left - 1, r.Top), back[static_cast<std::size_t>(r.Top * Back().Width() + r.Left - 1)])
          << "a part fill keeps the rest of the back buffer";
    }
  }
}

// ---------------------------------------------------------------------------
// Sharing pixels between surfaces: every way of writing, on either side.

constexpr TColor kA = 0x12F0A5;
constexpr TColor kB = 0x8C3C5A;
constexpr TColor kC = 0xE1017E;
constexpr TColor kInk = 0x3355CC;

// A 3 by 3 surface of its own, every pixel different.
Surface MakeSurface() {
  Surface s;
  s.Reset(3, 3, false);
  const TColor colours[] = {kA, kB, kC, kA ^ kB, kB ^ kC, kA ^ kC, kInk, kA | kB, kB & kC};
  for (int i = 0; i < 9; ++i) s.SetPixel(i % 3, i / 3, colours[i]);
  return s;
}

struct Write {
  const char* name;
  std::function<void(Surface&)> apply;
};

void PrintTo(const Write& w, std::ostream* os) { *os << w.name; }

Surface& InkSurface() {
  static Surface ink = [] {
    Surface s;
    s.Reset(3, 3, false);
    s.Fill(0, 0, 3, 3, kInk);
    s.SetPixel(1, 1, clBlack);
    return s;
  }();
  return ink;
}

const Write kWrites[] = {
    {"SetPixel", [](Surface& s) { s.SetPixel(1, 1, kInk); }},
    {"FillPart", [](Surface& s) { s.Fill(1, 0, 3, 2, kInk); }},
    {"FillColumn", [](Surface& s) { s.Fill(2, 0, 3, 3, kInk); }},
    {"FillAll", [](Surface& s) { s.Fill(0, 0, 3, 3, kInk); }},
    {"FillAllFromOutside", [](Surface& s) { s.Fill(-5, -5, 50, 50, kInk); }},
    {"RowWrite", [](Surface& s) { s.Row(2)[1] = Surface::WordOf(kInk); }},
    {"BitBltCopy", [](Surface& s) { BitBlt(&s, 1, 1, 2, 2, &InkSurface(), 0, 0, SRCCOPY); }},
    {"BitBltAnd", [](Surface& s) { BitBlt(&s, 0, 0, 3, 3, &InkSurface(), 0, 0, SRCAND); }},
    {"BitBltPaint", [](Surface& s) { BitBlt(&s, 0, 1, 3, 2, &InkSurface(), 0, 0, SRCPAINT); }},
    {"BitBltWithinItself", [](Surface& s) { BitBlt(&s, 1, 1, 2, 2, &s, 0, 0, SRCCOPY); }},
    {"BitBltMasked", [](Surface& s) { BitBltMasked(&s, 0, 0, 3, 3, &InkSurface(), &InkSurface(), 0, 0); }},
    {"PatBlt", [](Surface& s) { PatBlt(&s, 0, 0, 2, 3, DSTINVERT); }},
    {"ConvertToMonochrome",
     [](Surface& s) {
       s.BkColor = kB;
       s.ConvertToMonochrome();
     }},
    {"ResetSameSize", [](Surface& s) { s.Reset(3, 3, false); }},
    {"ResetOtherSize", [](Surface& s) { s.Reset(2, 4, false); }},
};

// (the write, whether it goes to the copy rather than to the original)
class SharedWriteTable : public ::testing::TestWithParam<std::tuple<Write, bool>> {};

TEST_P(SharedWriteTable, OnlyTheSurfaceWrittenChanges) {
  const auto& [write, to_copy] = GetParam();
  Surface expected = MakeSurface();  // a surface that shares with no one
  write.apply(expected);

  Surface original = MakeSurface();
  const std::vector<TColor> before = PixelsOf(original);
  Surface copy;
  copy.CopyPixelsFrom(original);
  ASSERT_TRUE(copy.SharesPixelsWith(original));

  Surface& written = to_copy ? copy : original;
  const Surface& other = to_copy ? original : copy;
  write.apply(written);

  EXPECT_EQ(PixelsOf(written), PixelsOf(expected));
  EXPECT_EQ(written.Width(), expected.Width());
  EXPECT_EQ(written.IsMonochrome(), expected.IsMonochrome());
  EXPECT_EQ(PixelsOf(other), before) << "the surface not written keeps its pixels";
  EXPECT_EQ(other.Width(), 3);
  EXPECT_FALSE(other.IsMonochrome());
}

INSTANTIATE_TEST_SUITE_P(EveryWrite, SharedWriteTable, ::testing::Combine(::testing::ValuesIn(kWrites), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<Write, bool>>& row) {
                           return std::string(std::get<0>(row.param).name) +
                                  (std::get<1>(row.param) ? "_ToTheCopy" : "_ToTheOriginal");
                         });

// The frame's pattern on two surfaces: draw on the back, show it, again and
// again. Each shown frame stays as shown; after the first round nothing is
// allocated, the two surfaces flipping between two blocks.
TEST(SharedPixels, ShowingTheBackEveryFrameFlipsTwoBlocksAndKeepsEachFrame) {
  Surface back = MakeSurface();
  Surface shown;
  const TColor frames[] = {kA, kB, kC, kInk, kA, kB};
  long allocations_after_first_round = 0;
  for (int i = 0; i < 6; ++i) {
    long allocations = 0;
    {
      AllocationCounter counter;
      back.Fill(0, 0, 3, 3, frames[i]);
      back.SetPixel(i % 3, 1, clWhite);
      shown.CopyPixelsFrom(back);
      back.Fill(0, 0, 2, 1, clBlack);  // the next frame's drawing begins
      allocations = counter.Count();
    }
    if (i >= 2) allocations_after_first_round += allocations;
    std::vector<TColor> as_shown(9, frames[i]);
    as_shown[static_cast<std::size_t>(3 + i % 3)] = clWhite;
    EXPECT_EQ(PixelsOf(shown), as_shown) << "frame " << i;
    EXPECT_EQ(back.Pixel(0, 0), clBlack) << "frame " << i;
    EXPECT_EQ(back.Pixel(2, 2), frames[i]) << "frame " << i;
  }
  EXPECT_EQ(allocations_after_first_round, 0);
}

// A block left over from a surface of another size is never written as if it
// fitted: under the sanitizers that would be an overflow, here wrong pixels.
TEST(SharedPixels, ASpareOfAnotherSizeIsNotReused) {
  Surface big;
  big.Reset(40, 30, false);
  big.Fill(0, 0, 40, 30, kB);
  Surface shown;
  shown.Reset(2, 2, false);

  shown.CopyPixelsFrom(big);  // its own 2 by 2 block is left over as its spare
  shown.Fill(0, 0, 40, 30, kC);  // and it must take a new block of 40 by 30
  EXPECT_EQ(PixelsOf(shown), std::vector<TColor>(40 * 30, kC));
  EXPECT_EQ(PixelsOf(big), std::vector<TColor>(40 * 30, kB));
}

TEST(SharedPixels, CopiesAndMovesOfASurface) {
  Surface original = MakeSurface();
  const std::vector<TColor> before = PixelsOf(original);
  Surface copy = original;
  EXPECT_TRUE(copy.SharesPixelsWith(original));
  copy.SetPixel(0, 0, kInk);
  EXPECT_EQ(PixelsOf(original), before);

  Surface moved = std::move(original);
  EXPECT_EQ(PixelsOf(moved), before);
  EXPECT_TRUE(original.IsEmpty()) << "a moved-from surface is empty, not a size over no pixels";  // NOLINT
  EXPECT_EQ(original.Pixel(0, 0), clBlack);
  original.Reset(1, 1, false);  // and usable again
  EXPECT_EQ(original.Pixel(0, 0), clBlack);
}

// ---------------------------------------------------------------------------
// BitBltMasked against BitBlt SRCAND then BitBlt SRCPAINT, bit for bit.

struct Placement {
  const char* name;
  int x, y, width, height, x_src, y_src;
};

void PrintTo(const Placement& p, std::ostream* os) { *os << p.name; }

// The destination is 5 by 4, the sources 4 by 3 unless a setup says otherwise.
const Placement kPlacements[] = {
    {"Inside", 1, 1, 3, 2, 0, 0},
    {"WholeSource", 0, 0, 4, 3, 0, 0},
    {"PartOfTheSource", 2, 0, 2, 3, 1, 0},
    {"PastTheRightAndBottom", 3, 2, 4, 3, 0, 0},
    {"PastTheLeftAndTop", -2, -1, 4, 3, 0, 0},
    {"SourceFromOutside", 0, 0, 4, 3, -1, -2},
    {"LargerThanBoth", -10, -10, 100, 100, -10, -10},
    {"Nowhere", 50, 50, 4, 3, 0, 0},
    {"Empty", 1, 1, 0, 3, 0, 0},
    {"HugeCoordinates", INT_MAX - 1, INT_MIN + 1, INT_MAX, INT_MAX, INT_MIN, INT_MAX},
};

// Which surfaces take part: formats, sizes and whether a source is the
// destination. A source that is the destination has its size (5 by 4), and so
// then has the other source, or the sizes alone would rule out one pass.
struct Setup {
  const char* name;
  bool dst_mono, mask_mono, image_mono;
  int mask_width, mask_height, image_width, image_height;
  enum class Alias { kNone, kMaskIsDst, kImageIsDst } alias;
};

void PrintTo(const Setup& s, std::ostream* os) { *os << s.name; }

const Setup kSetups[] = {
    {"AllColour", false, false, false, 4, 3, 4, 3, Setup::Alias::kNone},
    {"AllMonochrome", true, true, true, 4, 3, 4, 3, Setup::Alias::kNone},
    {"MonochromeMask", false, true, false, 4, 3, 4, 3, Setup::Alias::kNone},
    {"MonochromeImage", false, false, true, 4, 3, 4, 3, Setup::Alias::kNone},
    {"MonochromeDestination", true, false, false, 4, 3, 4, 3, Setup::Alias::kNone},
    {"ImageNarrower", false, false, false, 4, 3, 3, 3, Setup::Alias::kNone},
    {"ImageShorter", false, false, false, 4, 3, 4, 2, Setup::Alias::kNone},
    {"MaskIsTheDestination", false, false, false, 5, 4, 5, 4, Setup::Alias::kMaskIsDst},
    {"ImageIsTheDestination", false, false, false, 5, 4, 5, 4, Setup::Alias::kImageIsDst},
};

Surface Patterned(int width, int height, bool monochrome, unsigned seed) {
  Surface s;
  s.Reset(width, height, false);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned v = (static_cast<unsigned>(x * 7 + y * 13) + seed) * 2654435761u;
      s.SetPixel(x, y, (x + y + static_cast<int>(seed)) % 3 == 0 ? clWhite : (v >> 8) & 0xFFFFFFu);
    }
  s.BkColor = clWhite;
  if (monochrome) s.ConvertToMonochrome();
  s.BkColor = RGB(0x21, 0x43, 0x65);  // used by the conversions into a colour destination
  s.TextColor = RGB(0xFE, 0xDC, 0xBA);
  return s;
}

class MaskedBlitTable : public ::testing::TestWithParam<std::tuple<Placement, Setup>> {};

TEST_P(MaskedBlitTable, GivesWhatTheTwoRasterOperationsGive) {
  const auto& [p, setup] = GetParam();
  // Each side gets surfaces of its own, built the same way.
  struct Side {
    Surface dst, mask, image;
    HDC Mask() { return alias == Setup::Alias::kMaskIsDst ? &dst : &mask; }
    HDC Image() { return alias == Setup::Alias::kImageIsDst ? &dst : &image; }
    Setup::Alias alias;
  };
  auto make_side = [&] {
    return Side{Patterned(5, 4, setup.dst_mono, 1), Patterned(setup.mask_width, setup.mask_height, setup.mask_mono, 2),
                Patterned(setup.image_width, setup.image_height, setup.image_mono, 3), setup.alias};
  };
  Side two_calls = make_side();
  Side one_call = make_side();

  const bool anded = BitBlt(&two_calls.dst, p.x, p.y, p.width, p.height, two_calls.Mask(), p.x_src, p.y_src, SRCAND);
  const bool painted =
      BitBlt(&two_calls.dst, p.x, p.y, p.width, p.height, two_calls.Image(), p.x_src, p.y_src, SRCPAINT);
  const bool masked =
      BitBltMasked(&one_call.dst, p.x, p.y, p.width, p.height, one_call.Mask(), one_call.Image(), p.x_src, p.y_src);

  EXPECT_EQ(masked, anded && painted);
  EXPECT_EQ(PixelsOf(one_call.dst), PixelsOf(two_calls.dst));
  EXPECT_EQ(PixelsOf(one_call.mask), PixelsOf(two_calls.mask)) << "the sources are only read";
  EXPECT_EQ(PixelsOf(one_call.image), PixelsOf(two_calls.image));
}

INSTANTIATE_TEST_SUITE_P(EveryPlacementAndSetup, MaskedBlitTable,
                         ::testing::Combine(::testing::ValuesIn(kPlacements), ::testing::ValuesIn(kSetups)),
                         [](const ::testing::TestParamInfo<std::tuple<Placement, Setup>>& row) {
                           return std::string(std::get<0>(row.param).name) + "_" + std::get<1>(row.param).name;
                         });

TEST(MaskedBlit, MissingSurfacesAreRefusedAsBitBltRefusesThem) {
  Surface dst = Patterned(2, 2, false, 1);
  Surface source = Patterned(2, 2, false, 2);
  const std::vector<TColor> before = PixelsOf(dst);
  EXPECT_FALSE(BitBltMasked(nullptr, 0, 0, 2, 2, &source, &source, 0, 0));
  EXPECT_FALSE(BitBltMasked(&dst, 0, 0, 2, 2, nullptr, nullptr, 0, 0));
  EXPECT_EQ(PixelsOf(dst), before);
  // A missing mask still lets the image be painted, as the second BitBlt would.
  EXPECT_FALSE(BitBltMasked(&dst, 0, 0, 2, 2, nullptr, &source, 0, 0));
  Surface expected = Patterned(2, 2, false, 1);
  BitBlt(&expected, 0, 0, 2, 2, &source, 0, 0, SRCPAINT);
  EXPECT_EQ(PixelsOf(dst), PixelsOf(expected));
}

}  // namespace
