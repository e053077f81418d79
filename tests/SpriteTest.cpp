// The sprite component: frame selection, centring, the key-colour masks and
// when they are rebuilt, drawing with and without see-through, and a Draw that
// allocates nothing.
#include "sprite/Sprite.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "platform/Controls.h"

// ---------------------------------------------------------------------------
// Every allocation on this thread is counted while counting is on, so a test
// can show that a call allocates nothing.

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

// ---------------------------------------------------------------------------
// Pictures and destinations as text, one string a row, one letter a pixel.

constexpr TColor kBackdrop = 0x336699;  // the destination before a draw
constexpr TColor kOther = 0x102030;

const std::map<char, TColor>& Legend() {
  static const std::map<char, TColor> legend = {
      {'.', kBackdrop}, {'k', clBlack}, {'w', clWhite}, {'r', clRed},     {'b', clBlue},
      {'y', clYellow},  {'f', clFuchsia}, {'g', clGray}, {'o', kOther},
  };
  return legend;
}

void Paint(TBitmap& b, const std::vector<std::string>& rows) {
  b.SetSize(rows.empty() ? 0 : static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      b.Pixels().SetPixel(x, y, Legend().at(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]));
}

std::vector<std::string> Text(const TBitmap& b) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int x = 0; x < b.Width(); ++x) {
      char letter = '?';
      for (const auto& [l, c] : Legend())
        if (c == b.Pixels().Pixel(x, y)) letter = l;
      row += letter;
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<TColor> PixelsOf(const TBitmap& b) {
  std::vector<TColor> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(b.Pixels().Pixel(x, y));
  return out;
}

class SpriteTest : public ::testing::Test {
 protected:
  // A destination of width by height pixels, all backdrop, with its canvas made.
  void MakeDestination(int width, int height) {
    image.Width = width;
    image.Height = height;
    image.Canvas()->Brush.Color = kBackdrop;
    image.Canvas()->FillRect(Rect(0, 0, width, height));
  }
  void SetPicture(const std::vector<std::string>& rows) {
    TBitmap b;
    Paint(b, rows);
    sprite.SetPicture(&b);
  }
  // A destination showing the given pixels.
  void PaintDestination(const std::vector<std::string>& rows) {
    MakeDestination(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x)
        image.Canvas()->Handle()->SetPixel(x, y, Legend().at(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]));
  }
  std::vector<std::string> Destination() const { return Text(image.Picture().Bitmap()); }
  const TBitmap& DestinationBitmap() const { return image.Picture().Bitmap(); }

  TImage image{nullptr};
  TSprite sprite{nullptr};
};

// ---------------------------------------------------------------------------

TEST_F(SpriteTest, ConstructorState) {
  EXPECT_EQ(sprite.Count(), 1);
  EXPECT_EQ(sprite.Index(), 0);
  EXPECT_EQ(sprite.Width(), 0);
  EXPECT_EQ(sprite.Height(), 0);
  EXPECT_EQ(sprite.X, 0);
  EXPECT_EQ(sprite.Y, 0);
  EXPECT_TRUE(sprite.Transparent);
  EXPECT_FALSE(sprite.Centering);
  EXPECT_EQ(sprite.ColorKey(), clBlack);
  EXPECT_EQ(sprite.Destination, nullptr);
  ASSERT_NE(sprite.Picture(), nullptr);
  EXPECT_TRUE(sprite.Picture()->Empty());
  ASSERT_NE(sprite.Mask(), nullptr);
  EXPECT_TRUE(sprite.Mask()->Empty());
  ASSERT_NE(sprite.KeyedImage(), nullptr);
  EXPECT_TRUE(sprite.KeyedImage()->Empty());
  sprite.Draw();  // no destination: nothing to do
}

TEST_F(SpriteTest, AnOwnerFreesItsSprites) {
  TComponent owner(nullptr);
  auto* owned = new TSprite(&owner);
  EXPECT_EQ(owned->Owner(), &owner);
  EXPECT_EQ(owner.ComponentCount(), 1);
}  // the sanitizer build reports a leak or a double free

TEST_F(SpriteTest, AnEmptyPictureDrawsNothing) {
  MakeDestination(3, 2);
  sprite.Destination = &image;
  for (bool transparent : {true, false}) {
    sprite.Transparent = transparent;
    sprite.Draw();
    EXPECT_EQ(Destination(), (std::vector<std::string>{"...", "..."}));
  }
}

// ---------------------------------------------------------------------------
// Count and Index.

struct ClampCase {
  const char* name;
  int count;
  int index;
  int expected_count;
  int expected_index;
};
void PrintTo(const ClampCase& c, std::ostream* os) { *os << c.name; }
class Clamping : public SpriteTest, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(Clamping, CountAtLeastOneAndIndexWithinTheStrip) {
  const ClampCase& c = GetParam();
  sprite.SetCount(c.count);
  sprite.SetIndex(c.index);
  EXPECT_EQ(sprite.Count(), c.expected_count);
  EXPECT_EQ(sprite.Index(), c.expected_index);
}

const ClampCase kClampCases[] = {
    {"NegativeIndex", 1, -5, 1, 0},
    {"IndexPastTheStrip", 3, 7, 3, 2},
    {"LastFrame", 3, 2, 3, 2},
    {"MiddleFrame", 3, 1, 3, 1},
    {"LowestIndex", 3, INT_MIN, 3, 0},
    {"HighestIndex", 3, INT_MAX, 3, 2},
    {"ZeroCount", 0, 0, 1, 0},
    {"NegativeCount", -4, 3, 1, 0},
    {"LowestCount", INT_MIN, 1, 1, 0},
    {"HighestCount", INT_MAX, INT_MAX, INT_MAX, INT_MAX - 1},
};
INSTANTIATE_TEST_SUITE_P(CountAndIndex, Clamping, ::testing::ValuesIn(kClampCases),
                         [](const ::testing::TestParamInfo<ClampCase>& row) { return std::string(row.param.name); });

TEST_F(SpriteTest, ALaterCountOrPictureLeavesIndexAlone) {
  sprite.SetCount(3);
  sprite.SetIndex(7);
  ASSERT_EQ(sprite.Index(), 2);
  sprite.SetCount(1);
  EXPECT_EQ(sprite.Index(), 2);
  sprite.SetCount(0);
  EXPECT_EQ(sprite.Index(), 2);
  // Setting the picture or the key recomputes the frame size, not the frame.
  SetPicture({"rbyw"});
  EXPECT_EQ(sprite.Index(), 2);
  sprite.SetColorKey(clWhite);
  EXPECT_EQ(sprite.Index(), 2);
}

TEST_F(SpriteTest, WidthIsThePictureWidthDividedByCount) {
  SetPicture(std::vector<std::string>(4, std::string(20, 'r')));
  EXPECT_EQ(sprite.Width(), 20);
  EXPECT_EQ(sprite.Height(), 4);
  sprite.SetCount(3);
  EXPECT_EQ(sprite.Width(), 6);
  EXPECT_EQ(sprite.Height(), 4);
  sprite.SetCount(0);
  EXPECT_EQ(sprite.Width(), 20);
  sprite.SetCount(20);
  EXPECT_EQ(sprite.Width(), 1);
}

// A strip 20 pixels wide in 3 frames: frames of 6 at x 0, 6 and 12; columns
// 18 and 19 belong to no frame. Columns 1, 5, 9, 13 and 17 have the key colour.
TColor StripColumn(int x) { return x % 4 == 1 ? clBlack : RGB(static_cast<std::uint8_t>(10 * x + 5), 0, 200); }

class Strip : public SpriteTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Strip, EachIndexShowsItsOwnColumnsAndNeverTheRemainder) {
  const bool transparent = GetParam();
  TBitmap strip;
  strip.SetSize(20, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 20; ++x) strip.Pixels().SetPixel(x, y, StripColumn(x));
  sprite.SetPicture(&strip);
  sprite.SetCount(3);
  sprite.Transparent = transparent;
  sprite.Destination = &image;
  for (int index = 0; index < 3; ++index) {
    MakeDestination(8, 2);
    sprite.SetIndex(index);
    sprite.Draw();
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 8; ++x) {
        const TColor shown = DestinationBitmap().Pixels().Pixel(x, y);
        const TColor column = StripColumn(6 * index + x);
        TColor want = x < 6 ? column : kBackdrop;
        if (x < 6 && transparent && column == clBlack) want = kBackdrop;
        EXPECT_EQ(shown, want) << "frame " << index << " at (" << x << ", " << y << ")";
        EXPECT_NE(shown, StripColumn(18));
        EXPECT_NE(shown, StripColumn(19));
      }
  }
}
INSTANTIATE_TEST_SUITE_P(DrawModes, Strip, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& row) {
                           return std::string(row.param ? "Transparent" : "Opaque");
                         });

TEST_F(SpriteTest, CountLargerThanThePictureGivesEmptyFramesThatDrawNothing) {
  SetPicture(std::vector<std::string>(4, std::string(20, 'r')));
  sprite.SetCount(50);
  EXPECT_EQ(sprite.Width(), 0);
  EXPECT_EQ(sprite.Height(), 4);
  MakeDestination(3, 3);
  sprite.Destination = &image;
  for (bool transparent : {true, false}) {
    sprite.Transparent = transparent;
    sprite.Draw();
    EXPECT_EQ(Destination(), (std::vector<std::string>{"...", "...", "..."}));
  }
}

// Index left past the strip by a lowered Count: what lies beyond the picture
// is clipped away, and only real picture columns are ever drawn.
TEST_F(SpriteTest, IndexPastTheStripAfterALowerCountDrawsOnlyWhatExists) {
  SetPicture({"rrrrrbbbbbyyyyywwwwwfffffg"});  // 26 wide; Count 5: frames of 5, column 25 spare
  sprite.SetCount(5);
  sprite.SetIndex(4);
  sprite.SetCount(4);  // frames of 6; Index 4 now starts at column 24
  ASSERT_EQ(sprite.Index(), 4);
  ASSERT_EQ(sprite.Width(), 6);
  sprite.Destination = &image;
  for (bool transparent : {true, false}) {
    MakeDestination(7, 1);
    sprite.Transparent = transparent;
    sprite.Draw();
    EXPECT_EQ(Destination(), (std::vector<std::string>{"fg....."}));
  }
  sprite.SetCount(1);  // one frame of 26, Index 4 starts at 104: wholly outside
  for (bool transparent : {true, false}) {
    MakeDestination(7, 1);
    sprite.Transparent = transparent;
    sprite.Draw();
    EXPECT_EQ(Destination(), (std::vector<std::string>{"......."}));
  }
}

// ---------------------------------------------------------------------------
// Where the frame lands.

struct PlaceCase {
  const char* name;
  int picture_width, picture_height, count;
  bool centering;
  int x, y;
  int left, top;  // where the frame's top-left corner must land
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }
class Placement : public SpriteTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(Placement, TheFrameLandsWithItsCornerOrCentreAtXY) {
  const PlaceCase& c = GetParam();
  SetPicture(std::vector<std::string>(static_cast<std::size_t>(c.picture_height),
                                      std::string(static_cast<std::size_t>(c.picture_width), 'r')));
  sprite.SetCount(c.count);
  sprite.Centering = c.centering;
  sprite.X = c.x;
  sprite.Y = c.y;
  sprite.Destination = &image;
  const int frame_width = c.picture_width / c.count;
  for (bool transparent : {true, false}) {
    MakeDestination(200, 100);
    sprite.Transparent = transparent;
    sprite.Draw();
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 200; ++x) {
        const bool inside = x >= c.left && x < c.left + frame_width && y >= c.top && y < c.top + c.picture_height;
        ASSERT_EQ(DestinationBitmap().Pixels().Pixel(x, y), inside ? clRed : kBackdrop)
            << "at (" << x << ", " << y << "), transparent " << transparent;
      }
  }
}

const PlaceCase kPlaceCases[] = {
    {"OddSizeCentred", 15, 15, 1, true, 100, 50, 93, 43},
    {"EvenSizeCentred", 16, 16, 1, true, 100, 50, 92, 42},
    {"OddWideEvenTallCentred", 15, 16, 1, true, 100, 50, 93, 42},
    {"OddSizeNotCentred", 15, 15, 1, false, 100, 50, 100, 50},
    {"EvenSizeNotCentred", 16, 16, 1, false, 100, 50, 100, 50},
    {"CentredOnTheFrameNotTheStrip", 45, 15, 3, true, 100, 50, 93, 43},
    {"OneByOneCentred", 1, 1, 1, true, 10, 10, 10, 10},
    {"ClippedAtTopLeft", 16, 16, 1, true, 3, 2, -5, -6},
    {"ClippedAtBottomRight", 15, 15, 1, false, 190, 95, 190, 95},
};
INSTANTIATE_TEST_SUITE_P(CornerAndCentre, Placement, ::testing::ValuesIn(kPlaceCases),
                         [](const ::testing::TestParamInfo<PlaceCase>& row) { return std::string(row.param.name); });

TEST_F(SpriteTest, FarAwayPositionsDrawNothingAndDoNotOverflow) {
  SetPicture(std::vector<std::string>(15, std::string(15, 'r')));
  sprite.Destination = &image;
  sprite.Centering = true;
  for (int x : {INT_MIN, INT_MAX})
    for (int y : {INT_MIN, INT_MAX, 0}) {
      MakeDestination(4, 4);
      sprite.X = x;
      sprite.Y = y;
      sprite.Draw();
      EXPECT_EQ(Destination(), (std::vector<std::string>(4, "....")));
    }
}

TEST_F(SpriteTest, AnUntouchedDestinationGetsABlackBitmapOfItsSize) {
  SetPicture({"rk"});
  image.Width = 3;
  image.Height = 1;
  sprite.Destination = &image;
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{"rkk"}));
}

// ---------------------------------------------------------------------------
// The key colour and the masks.

TEST_F(SpriteTest, MasksMarkTheKeyColourAndDrawingLeavesItSeeThrough) {
  SetPicture({"krk", "bkw"});
  EXPECT_EQ(Text(*sprite.Mask()), (std::vector<std::string>{"wkw", "kwk"}));
  EXPECT_EQ(Text(*sprite.KeyedImage()), (std::vector<std::string>{"krk", "bkw"}));
  EXPECT_FALSE(sprite.Mask()->Monochrome());
  EXPECT_FALSE(sprite.KeyedImage()->Monochrome());

  sprite.Destination = &image;
  MakeDestination(4, 2);
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{".r..", "b.w."}));

  // With Transparent off the key colour is drawn like any other.
  MakeDestination(4, 2);
  sprite.Transparent = false;
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{"krk.", "bkw."}));
}

TEST_F(SpriteTest, AKeyThePictureLacksGivesABlackMaskAndAnOpaqueDraw) {
  SetPicture({"rbw", "ygo"});
  EXPECT_EQ(Text(*sprite.Mask()), (std::vector<std::string>{"kkk", "kkk"}));
  EXPECT_EQ(PixelsOf(*sprite.KeyedImage()), PixelsOf(*sprite.Picture()));
  sprite.Destination = &image;
  MakeDestination(3, 2);
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{"rbw", "ygo"}));
}

TEST_F(SpriteTest, AKeyEverywhereGivesAWhiteMaskAndChangesNothingWhenSeeThrough) {
  sprite.SetColorKey(clFuchsia);
  SetPicture({"fff", "fff"});
  EXPECT_EQ(Text(*sprite.Mask()), (std::vector<std::string>{"www", "www"}));
  EXPECT_EQ(Text(*sprite.KeyedImage()), (std::vector<std::string>{"kkk", "kkk"}));

  sprite.Destination = &image;
  const std::vector<std::string> pattern = {"rbyw", "kog."};
  PaintDestination(pattern);
  sprite.Draw();
  EXPECT_EQ(Destination(), pattern);

  sprite.Transparent = false;
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{"fffw", "fff."}));
}

struct NearKeyCase {
  const char* name;
  TColor pixel;
  bool see_through;
};
void PrintTo(const NearKeyCase& c, std::ostream* os) { *os << c.name; }
class NearKey : public SpriteTest, public ::testing::WithParamInterface<NearKeyCase> {};

// Only an exact match is see-through: one step in any channel is opaque.
TEST_P(NearKey, OnlyTheExactKeyIsSeeThrough) {
  const NearKeyCase& c = GetParam();
  sprite.SetColorKey(kOther);
  TBitmap picture;
  picture.SetSize(1, 1);
  picture.Pixels().SetPixel(0, 0, c.pixel);
  sprite.SetPicture(&picture);
  EXPECT_EQ(sprite.Mask()->Pixels().Pixel(0, 0), c.see_through ? clWhite : clBlack);
  sprite.Destination = &image;
  MakeDestination(1, 1);
  sprite.Draw();
  EXPECT_EQ(DestinationBitmap().Pixels().Pixel(0, 0), c.see_through ? kBackdrop : c.pixel);
}

const NearKeyCase kNearKeyCases[] = {
    {"Exact", kOther, true},
    {"RedOneUp", kOther + 0x010000, false},
    {"RedOneDown", kOther - 0x010000, false},
    {"GreenOneUp", kOther + 0x000100, false},
    {"GreenOneDown", kOther - 0x000100, false},
    {"BlueOneUp", kOther + 0x000001, false},
    {"BlueOneDown", kOther - 0x000001, false},
    {"Black", clBlack, false},
    {"White", clWhite, false},
};
INSTANTIATE_TEST_SUITE_P(OneChannelOff, NearKey, ::testing::ValuesIn(kNearKeyCases),
                         [](const ::testing::TestParamInfo<NearKeyCase>& row) { return std::string(row.param.name); });

TEST_F(SpriteTest, AWhiteKeyRebuildsTheMasksAndBlackBringsThemBack) {
  SetPicture({"kwr"});
  const std::vector<TColor> picture = PixelsOf(*sprite.Picture());
  sprite.Destination = &image;

  MakeDestination(3, 1);
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{".wr"}));

  sprite.SetColorKey(clWhite);
  EXPECT_EQ(sprite.ColorKey(), clWhite);
  EXPECT_EQ(Text(*sprite.Mask()), (std::vector<std::string>{"kwk"}));
  MakeDestination(3, 1);
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{"k.r"})) << "black pixels are drawn black";
  EXPECT_EQ(PixelsOf(*sprite.Picture()), picture);

  sprite.SetColorKey(clBlack);
  MakeDestination(3, 1);
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{".wr"}));
  EXPECT_EQ(PixelsOf(*sprite.Picture()), picture);
}

// The masks are built when the picture or the key is set, never while drawing.
TEST_F(SpriteTest, APictureChangedInPlaceKeepsItsOldMasksUntilTheKeyIsSetAgain) {
  SetPicture({"rk"});
  sprite.Destination = &image;
  TBitmap& picture = *sprite.Picture();
  picture.Pixels().SetPixel(0, 0, clBlack);
  picture.Pixels().SetPixel(1, 0, clBlue);

  MakeDestination(2, 1);
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{"r."})) << "the old masks are still in use";
  EXPECT_EQ(Text(*sprite.Mask()), (std::vector<std::string>{"kw"}));

  sprite.SetColorKey(sprite.ColorKey());  // the same key: still a rebuild
  EXPECT_EQ(Text(*sprite.Mask()), (std::vector<std::string>{"wk"}));
  MakeDestination(2, 1);
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{".b"}));
  EXPECT_EQ(Text(*sprite.Picture()), (std::vector<std::string>{"kb"}));
}

TEST_F(SpriteTest, APictureResizedInPlaceKeepsItsOldSizeUntilTheKeyIsSetAgain) {
  SetPicture({"rr"});
  Paint(*sprite.Picture(), {"bbbb", "bbbb"});
  EXPECT_EQ(sprite.Width(), 2);
  EXPECT_EQ(sprite.Height(), 1);
  sprite.SetColorKey(clBlack);
  EXPECT_EQ(sprite.Width(), 4);
  EXPECT_EQ(sprite.Height(), 2);
  EXPECT_EQ(sprite.Mask()->Width(), 4);
  EXPECT_EQ(sprite.KeyedImage()->Height(), 2);
}

// As the window's layout is read: the picture goes straight into the bitmap,
// then Count and Index, and the key colour last, which builds the masks.
TEST_F(SpriteTest, ALayoutLoadedSpriteDrawsSeeThroughOnceItsKeyIsApplied) {
  TBitmap loaded;
  Paint(loaded, {"rkbk"});
  sprite.Picture()->Assign(&loaded);
  sprite.Destination = &image;
  sprite.SetCount(2);
  sprite.SetIndex(1);
  EXPECT_EQ(sprite.Width(), 2);
  MakeDestination(2, 1);
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{".."})) << "no masks yet: nothing to draw";

  sprite.SetColorKey(clBlack);
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{"b."}));
}

TEST_F(SpriteTest, SetPictureCopiesAndGivesTheCallerItsBitmapBack) {
  TBitmap mine;
  Paint(mine, {"rk"});
  SetBkColor(mine.Canvas()->Handle(), kOther);
  sprite.SetColorKey(clRed);
  sprite.SetPicture(&mine);
  EXPECT_EQ(mine.Pixels().BkColor, kOther) << "the borrowed background colour is given back";
  EXPECT_EQ(Text(mine), (std::vector<std::string>{"rk"}));
  EXPECT_EQ(Text(*sprite.Mask()), (std::vector<std::string>{"wk"}));

  Paint(mine, {"bbb"});
  EXPECT_EQ(Text(*sprite.Picture()), (std::vector<std::string>{"rk"}));
  EXPECT_EQ(sprite.Width(), 2);
}

TEST_F(SpriteTest, SetPictureWithItsOwnPictureRebuildsTheMasks) {
  SetPicture({"rk"});
  sprite.Picture()->Pixels().SetPixel(0, 0, clBlack);
  sprite.SetPicture(sprite.Picture());
  EXPECT_EQ(Text(*sprite.Picture()), (std::vector<std::string>{"kk"}));
  EXPECT_EQ(Text(*sprite.Mask()), (std::vector<std::string>{"ww"}));
}

TEST_F(SpriteTest, NoPictureDrawsNothingAndTheKeyIsOnlyRecorded) {
  SetPicture({"rb"});
  sprite.SetPicture(nullptr);
  EXPECT_EQ(sprite.Picture(), nullptr);
  EXPECT_EQ(sprite.Width(), 0);
  EXPECT_EQ(sprite.Height(), 0);
  sprite.Destination = &image;
  MakeDestination(2, 1);
  for (bool transparent : {true, false}) {
    sprite.Transparent = transparent;
    sprite.Draw();
  }
  EXPECT_EQ(Destination(), (std::vector<std::string>{".."}));
  sprite.SetColorKey(clWhite);
  EXPECT_EQ(sprite.ColorKey(), clWhite);
  sprite.SetCount(2);
  sprite.SetIndex(1);
  EXPECT_EQ(sprite.Width(), 0);
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{".."}));

  // A new picture brings everything back, masks built with the recorded key.
  SetPicture({"wrwb"});
  sprite.Transparent = true;
  EXPECT_EQ(sprite.Width(), 2);
  EXPECT_EQ(Text(*sprite.Mask()), (std::vector<std::string>{"wkwk"}));
  sprite.Draw();
  EXPECT_EQ(Destination(), (std::vector<std::string>{".b"}));
}

// ---------------------------------------------------------------------------

TEST_F(SpriteTest, DrawAllocatesNothing) {
  SetPicture({"rkb", "kwk"});
  sprite.Destination = &image;
  MakeDestination(5, 5);  // the canvas exists before the draw
  sprite.X = 1;
  sprite.Y = 1;
  long allocations = 0;
  {
    AllocationCounter counter;
    sprite.Draw();
    sprite.Transparent = false;
    sprite.Draw();
    sprite.Centering = true;
    sprite.X = -1;
    sprite.Draw();
    allocations = counter.Count();
  }
  EXPECT_EQ(allocations, 0);
  // The counter does count: building masks allocates.
  AllocationCounter counter;
  sprite.SetColorKey(clBlack);
  const long mask_allocations = counter.Count();
  EXPECT_GT(mask_allocations, 0);
}

}  // namespace
