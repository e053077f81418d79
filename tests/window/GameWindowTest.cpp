// The real game in a real window under an Xvfb of the test's own: what a
// person sees and does, from the silver playfield to Close.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "GameWindow.h"

namespace kestrune::window_test {
namespace {

bool IsBlack(std::uint32_t p) { return p == kBlack; }
bool IsSilver(std::uint32_t p) { return p == kSilver; }
bool IsNotBlack(std::uint32_t p) { return p != kBlack; }

// A band of the playfield below every rung (rungs lie at y 240 at most) and
// above where enemies get in the first seconds: only the gun, shots and lines.
constexpr Rect kGunBand{0, kGunY + 2, 313, 30};

// The non-black pixels of the gun band that are not the ladder's lines.
int GunPixels(const Picture& field, int left, int width) {
  int n = 0;
  for (int y = kGunBand.y; y < kGunBand.y + kGunBand.height; ++y)
    for (int x = std::max(left, 0); x < std::min(left + width, 313); ++x) {
      bool on_line = false;
      for (int line : kLineX) on_line = on_line || x == line;
      n += !on_line && IsNotBlack(field.At(x, y)) ? 1 : 0;
    }
  return n;
}

// The right edge of a label's rectangle of colour, whose rows are top to top + height.
int RightEdge(const Picture& picture, int left, int top, int height, std::uint32_t colour) {
  int edge = left;
  for (int x = left; x < picture.Width(); ++x)
    for (int y = top; y < top + height; ++y)
      if (picture.At(x, y) == colour) edge = x;
  return edge;
}

class GameWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game_ = std::make_unique<GameWindow>(session_);
    ASSERT_TRUE(game_->Found()) << "no window titled Kestrune; the program said:\n" << game_->Program().Output();
  }

  // Starts a game and waits for its first black frame.
  void StartGame() {
    game_->StartGame();
    game_->MovePointerAway();
    ASSERT_TRUE(WaitUntil([this] { return game_->Playfield().Count({0, 0, 313, 273}, IsSilver) == 0; },
                          milliseconds(5000)))
        << "Game, Start did not paint the playfield";
  }

  void ExpectExitsWithZero() {
    const auto status = game_->Program().WaitForExit(milliseconds(5000));
    ASSERT_TRUE(status.has_value()) << "the program is still running";
    ASSERT_TRUE(WIFEXITED(*status)) << "the program did not exit normally; it said:\n" << game_->Program().Output();
    EXPECT_EQ(WEXITSTATUS(*status), 0) << game_->Program().Output();
  }

  XSession session_;
  std::unique_ptr<GameWindow> game_;
};

TEST_F(GameWindowTest, OpensAtItsPlaceWithItsClientAreaBelowTheMenuBar) {
  const Rect frame = game_->Frame();
  EXPECT_EQ(frame.x, kWindowLeft);
  EXPECT_EQ(frame.y, kWindowTop);
  EXPECT_EQ(frame.width, kClientWidth);
  EXPECT_GT(game_->MenuBarHeight(), 10) << "no menu bar above the client area";
  EXPECT_LT(game_->MenuBarHeight(), 60);
}

TEST_F(GameWindowTest, BeforeStartThePlayfieldIsSilverAndTheLabelsShowTheirColours) {
  const Picture client = game_->Client();
  EXPECT_EQ(client.Count(kPlayfield, IsSilver), kPlayfield.width * kPlayfield.height);

  struct Probe {
    const char* what;
    Rect inside;  // a part of the control that its text leaves mostly bare
    std::uint32_t colour;
  };
  const Probe probes[] = {
      {"Label5 (High)", {333, 9, 30, 12}, kWhite},
      {"Label1 (Score)", {333, 32, 40, 12}, 0x00FF00},
      {"Label2 (あと)", {333, 65, 24, 14}, 0x00FFFF},
      {"Label3 (empty, still a sliver)", {333, 97, 3, 10}, 0x800080},
      {"Memo1", {345, 175, 70, 70}, kWhite},
  };
  for (const Probe& p : probes) {
    const int area = p.inside.width * p.inside.height;
    EXPECT_GT(client.Count(p.inside, [&](std::uint32_t c) { return c == p.colour; }), area / 4) << p.what;
  }
  // Label4 takes the window's colour: nothing but silver just right of its text.
  EXPECT_EQ(client.At(420, 148), kSilver);
}

TEST_F(GameWindowTest, StartPaintsTheLadderOnBlackWithTheGunBottomLeft) {
  const Picture before = game_->Client();
  ASSERT_NO_FATAL_FAILURE(StartGame());
  const Picture field = game_->Playfield();
  const Picture client = game_->Client();

  EXPECT_GT(field.Count({0, 0, 313, 273}, IsBlack), 313 * 273 * 8 / 10);
  for (int line : kLineX)
    EXPECT_GT(field.Count({line, 0, 1, 273}, [](std::uint32_t p) { return p == kWhite; }), 260) << "line at x " << line;
  // The gun stands where the pointer last was over the playfield; picking
  // Start from the menu may have passed over it. A pointer at x 16 puts the
  // gun's left edge at 0.
  session_.MoveMouse(game_->PlayfieldScreenX(16), game_->PlayfieldScreenY(100));
  game_->MovePointerAway();
  EXPECT_TRUE(WaitUntil([&] { return GunPixels(game_->Playfield(), 0, kGunSize) > 30; }, milliseconds(3000)))
      << "no gun at the bottom-left";
  EXPECT_EQ(GunPixels(game_->Playfield(), kGunSize, 313 - kGunSize), 0) << "something but the gun in the bottom band";

  // The labels' rectangles grow with their new captions.
  EXPECT_GT(RightEdge(client, 333, 32, 12, 0x00FF00), RightEdge(before, 333, 32, 12, 0x00FF00) + 4) << "Score 0";
  EXPECT_GT(RightEdge(client, 333, 65, 14, 0x00FFFF), RightEdge(before, 333, 65, 14, 0x00FFFF) + 10) << "あと 50";
}

TEST_F(GameWindowTest, TheGunFollowsThePointerAndAClickFiresAShot) {
  ASSERT_NO_FATAL_FAILURE(StartGame());
  constexpr int kPointerX = 200;  // the gun's left edge goes 16 to the left of the pointer
  session_.MoveMouse(game_->PlayfieldScreenX(kPointerX), game_->PlayfieldScreenY(200));
  ASSERT_TRUE(WaitUntil([&] { return GunPixels(game_->Playfield(), kPointerX - 16, kGunSize) > 30; },
                        milliseconds(3000)))
      << "the gun did not come to the pointer";
  EXPECT_EQ(GunPixels(game_->Playfield(), 0, kGunSize), 0) << "the gun is still at the left";

  // Between the rungs' lowest place and where the first enemies can be, only a shot changes anything.
  constexpr Rect kShotRows{0, 150, 313, 85};
  const Picture before = game_->Playfield();
  session_.Click(game_->PlayfieldScreenX(kPointerX), game_->PlayfieldScreenY(200));
  EXPECT_TRUE(WaitUntil([&] { return game_->Playfield().CountDifferences(before, kShotRows) > 20; },
                        milliseconds(3000)))
      << "no shot climbed";
}

TEST_F(GameWindowTest, ADragFromThePlayfieldKeepsMovingTheGunOutsideAndReleasingThereFiresNothing) {
  ASSERT_NO_FATAL_FAILURE(StartGame());
  session_.MoveMouse(game_->PlayfieldScreenX(150), game_->PlayfieldScreenY(200));
  ASSERT_TRUE(WaitUntil([&] { return GunPixels(game_->Playfield(), 134, kGunSize) > 30; }, milliseconds(3000)));

  // Pressed over the playfield, then dragged out past the window's left edge:
  // the moves still come, with negative x, and take the gun off the field.
  session_.Press(game_->PlayfieldScreenX(150), game_->PlayfieldScreenY(200));
  session_.MoveMouse(game_->PlayfieldScreenX(-60), game_->PlayfieldScreenY(200));
  EXPECT_TRUE(WaitUntil([&] { return GunPixels(game_->Playfield(), 0, 313) == 0; }, milliseconds(3000)))
      << "the gun did not follow the drag out of the window";

  constexpr Rect kShotRows{0, 150, 313, 85};
  const Picture before = game_->Playfield();
  session_.Release(game_->PlayfieldScreenX(-60), game_->PlayfieldScreenY(200));
  Sleep(milliseconds(700));
  EXPECT_EQ(game_->Playfield().CountDifferences(before, kShotRows), 0) << "a release outside fired a shot";
}

TEST_F(GameWindowTest, TypingGoesToTheMemo) {
  constexpr Rect kMemoInside{340, 168, 82, 80};
  auto dark = [](std::uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 300; };
  const int before = game_->Client().Count(kMemoInside, dark);
  // Over the labels: the keyboard goes where the pointer is on a bare X server.
  session_.MoveMouse(game_->ScreenX(380), game_->ScreenY(120));
  session_.Type("Kestrune memo");
  EXPECT_TRUE(WaitUntil([&] { return game_->Client().Count(kMemoInside, dark) > before + 30; }, milliseconds(3000)))
      << "the memo shows no typed text";
}

// Game, Close and the window's close button both end the program at once, also during a game.
enum class CloseBy { GameClose, CloseButton };
class GameWindowCloseTest : public GameWindowTest, public ::testing::WithParamInterface<CloseBy> {};

TEST_P(GameWindowCloseTest, EndsTheProgramWithExitCodeZero) {
  ASSERT_NO_FATAL_FAILURE(StartGame());
  if (GetParam() == CloseBy::GameClose)
    game_->CloseGame();
  else
    session_.RequestClose(game_->Window());
  ExpectExitsWithZero();
}

void PrintTo(CloseBy way, std::ostream* out) { *out << (way == CloseBy::GameClose ? "GameClose" : "CloseButton"); }

std::string CloseByName(const ::testing::TestParamInfo<CloseBy>& param) { return ::testing::PrintToString(param.param); }

INSTANTIATE_TEST_SUITE_P(Ways, GameWindowCloseTest, ::testing::Values(CloseBy::GameClose, CloseBy::CloseButton),
                         CloseByName);

}  // namespace
}  // namespace kestrune::window_test
