// The game on a dense screen: the whole window twice the size, and the
// playfield enlarged by whole pixels, each of its pixels a sharp 2 by 2 block.
#include <gtest/gtest.h>

#include <set>

#include "GameWindow.h"

namespace kestrune::window_test {
namespace {

constexpr int kScale = 2;

// Every colour the playfield can show: black, the ladder's white and the
// colours of the gun, shot, enemy and bonus pictures. Anything else is a blend.
const std::set<std::uint32_t> kPlayfieldColours = {0x000000, 0xFFFFFF, 0xFF0000, 0x000080,
                                                   0x00FF00, 0x00FFFF, 0x0000FF};

bool IsSilver(std::uint32_t p) { return p == kSilver; }
bool IsWhite(std::uint32_t p) { return p == kWhite; }

// Ways a screen comes to be dense: asked for by the user, or told by the
// desktop through its font resolution (96 is one to one). 144 is 1.5, which
// would give uneven pixels, so it rounds to 2.
struct DenseScreen {
  const char* name;
  const char* resources;
  std::map<std::string, std::optional<std::string>> environment;
};

const DenseScreen kDenseScreens[] = {
    {"ScaleFactor2", "", {{"QT_SCALE_FACTOR", "2"}}},
    {"Dpi192", "Xft.dpi:\t192\n", {}},
    {"Dpi144RoundedUp", "Xft.dpi:\t144\n", {}},
};

void PrintTo(const DenseScreen& screen, std::ostream* out) { *out << screen.name; }

// Scaled rectangles of the client area.
Rect Scaled(Rect r) { return {r.x * kScale, r.y * kScale, r.width * kScale, r.height * kScale}; }

class HiDpiWindowTest : public ::testing::TestWithParam<DenseScreen> {
 protected:
  void SetUp() override {
    if (*GetParam().resources != '\0') session_.SetResources(GetParam().resources);
    game_ = std::make_unique<GameWindow>(session_, GameExecutable(), std::filesystem::path(), GetParam().environment,
                                         kScale);
    ASSERT_TRUE(game_->Found()) << "no window titled Kestrune; the program said:\n" << game_->Program().Output();
  }

  // Kept beside the test's output when it fails, to look at.
  void SaveOnFailure(const Picture& picture, const std::string& what) {
    if (HasFailure()) picture.Save(std::string("HiDpiWindowTest-") + GetParam().name + "-" + what + ".ppm");
  }

  XSession session_;
  std::unique_ptr<GameWindow> game_;
};

TEST_P(HiDpiWindowTest, TheWindowLabelsAndMemoAreTwiceTheSize) {
  const Rect frame = game_->Frame();
  EXPECT_EQ(frame.x, kScale * kWindowLeft);
  EXPECT_EQ(frame.y, kScale * kWindowTop);
  EXPECT_EQ(frame.width, kScale * kClientWidth);
  EXPECT_GT(game_->MenuBarHeight(), 2 * 10) << "the menu bar did not grow";

  const Picture client = game_->Client();
  const Rect playfield = Scaled(kPlayfield);
  EXPECT_EQ(client.Count(playfield, IsSilver), playfield.width * playfield.height);
  // Score's lime rectangle holds 13-pixel characters: doubled, at least 26 rows.
  int lime_rows = 0;
  for (int y = 0; y < client.Height(); ++y)
    lime_rows += client.Count({kScale * 333, y, kScale * 40, 1}, [](std::uint32_t p) { return p == 0x00FF00; }) > 0;
  EXPECT_GE(lime_rows, 2 * 13) << "Label1's text did not grow";
  EXPECT_LT(lime_rows, 2 * 24);
  // The memo's white field fills its doubled rectangle.
  const Rect memo_inside = Scaled({345, 175, 70, 70});
  EXPECT_GT(client.Count(memo_inside, IsWhite), memo_inside.width * memo_inside.height / 2) << "Memo1";
  SaveOnFailure(client, "client");
}

TEST_P(HiDpiWindowTest, ThePlayfieldIsEnlargedByWholePixelsNeverBlended) {
  game_->StartGame();
  game_->MovePointerAway();
  ASSERT_TRUE(WaitUntil([this] { return game_->Playfield().Count({0, 0, 626, 546}, IsSilver) == 0; },
                        milliseconds(5000)))
      << "Game, Start did not paint the playfield";
  const Picture field = game_->Playfield();
  const int width = field.Width(), height = field.Height();
  ASSERT_EQ(width, kScale * kPlayfield.width);

  EXPECT_EQ(field.Count({0, 0, width, height}, [](std::uint32_t p) { return kPlayfieldColours.count(p) == 0; }), 0)
      << "colours in between: the playfield was smoothed";
  int uneven_blocks = 0;
  for (int y = 0; y < height; y += kScale)
    for (int x = 0; x < width; x += kScale) {
      const std::uint32_t p = field.At(x, y);
      uneven_blocks += field.Count({x, y, kScale, kScale}, [p](std::uint32_t q) { return q == p; }) != kScale * kScale;
    }
  EXPECT_EQ(uneven_blocks, 0) << "playfield pixels that are not whole 2 by 2 blocks";
  // Each ladder line is exactly two screen pixels wide, from top to bottom.
  for (int line : kLineX) {
    EXPECT_GT(field.Count({kScale * line, 0, kScale, height}, IsWhite), kScale * height * 9 / 10) << "line at x " << line;
    // Beside it only rungs and the odd sprite are white.
    EXPECT_LT(field.Count({kScale * line - 1, 0, 1, height}, IsWhite), height / 5) << "left of the line at x " << line;
    EXPECT_LT(field.Count({kScale * line + kScale, 0, 1, height}, IsWhite), height / 5)
        << "right of the line at x " << line;
  }
  SaveOnFailure(field, "playfield");
}

INSTANTIATE_TEST_SUITE_P(Screens, HiDpiWindowTest, ::testing::ValuesIn(kDenseScreens),
                         [](const ::testing::TestParamInfo<DenseScreen>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kestrune::window_test
