// The gun and its shots: firing, and the road of a shot up the ladder.
#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestForm.h"

namespace kestrune::test {
namespace {

constexpr int kSpacing = kFieldWidth / 5;  // 62

// The state of shot slot 0 after a frame; frame 0 is the state before the first.
struct Row {
  int frame;
  int x;
  int y;
  int dx;
  bool active;
  friend bool operator==(const Row&, const Row&) = default;
  friend void PrintTo(const Row& r, std::ostream* out) {
    *out << "frame " << r.frame << ": x " << r.x << ", y " << r.y << ", dx " << r.dx
         << (r.active ? ", active" : ", free");
  }
};

// Moves a shot that starts in slot 0 as given, one MoveObjects a frame.
std::vector<Row> Fly(TForm1& form, TShot start, int frames) {
  Shots[0] = start;
  std::vector<Row> rows{{0, start.X, start.Y, start.DX, start.Active}};
  for (int frame = 1; frame <= frames; ++frame) {
    form.MoveObjects();
    rows.push_back({frame, Shots[0].X, Shots[0].Y, Shots[0].DX, Shots[0].Active});
  }
  return rows;
}

void ExpectRows(const std::vector<Row>& flight, std::initializer_list<Row> expected) {
  for (const Row& row : expected) EXPECT_EQ(flight.at(row.frame), row);
}

TShot FiredAt(int x) { return TShot{x, 250, 0, true}; }

// The given rungs, and the rest of the table filled with rungs in a gap that
// the shot under test never touches.
Ladder RungsAnd(std::initializer_list<TRung> rungs, int filler_gap) {
  Ladder ladder;
  ladder.fill(TRung{filler_gap, 240});
  std::copy(rungs.begin(), rungs.end(), ladder.begin());
  return ladder;
}

using ShotsTest = FormTest;

// --- Firing ---

TEST_F(ShotsTest, TheMouseSetsTheGunSixteenLeftOfThePointerWithoutLimits) {
  const struct {
    int pointer_x;
    int gun_x;
  } cases[] = {{0, -16}, {312, 296}, {150, 134}, {-50, -66}, {400, 384}};
  for (const auto& c : cases) {
    game->Image2->MouseMove(TShiftState{}, c.pointer_x, 100);
    EXPECT_EQ(GunX, c.gun_x) << "pointer at " << c.pointer_x;
  }
}

TEST_F(ShotsTest, AClickTakesTheLowestFreeSlotAndIsDroppedWhenAllThreeFly) {
  game->Sprite1->X = 100;
  game->Image2->Click();
  game->Image2->Click();
  game->Image2->Click();
  for (const TShot& shot : Shots) {
    EXPECT_TRUE(shot.Active);
    EXPECT_EQ(shot.X, 108);
    EXPECT_EQ(shot.Y, 250);
    EXPECT_EQ(shot.DX, 0);
  }

  Shots[0].Y = 123;  // a fourth click must leave every slot as it is
  game->Image2->Click();
  EXPECT_EQ(Shots[0].Y, 123);

  // Slot 0 freed first is taken again; the stale carry is forgotten.
  Shots[0].Active = false;
  Shots[0].DX = -30;
  game->Sprite1->X = 40;
  game->Image2->Click();
  EXPECT_TRUE(Shots[0].Active);
  EXPECT_EQ(Shots[0].X, 48);
  EXPECT_EQ(Shots[0].Y, 250);
  EXPECT_EQ(Shots[0].DX, 0);
  EXPECT_EQ(Shots[1].X, 108);
  EXPECT_EQ(Shots[2].X, 108);
}

// A shot leaves from the gun as last drawn: a pointer move counts from the next frame on.
TEST_F(ShotsTest, AShotLeavesFromTheGunAsDrawnNotFromThePointer) {
  SeededDraws draws(7);
  game->Start1->Click();
  game->Image2->MouseMove(TShiftState{}, 200, 100);
  game->Image2->Click();
  EXPECT_EQ(Shots[0].X, 8);  // the gun still stands at x 0

  game.RunFrames(1);
  game->Image2->Click();
  EXPECT_EQ(Shots[1].X, 192);
}

TEST_F(ShotsTest, AClickBetweenGamesFillsASlotThatStartClears) {
  game->Image2->Click();
  EXPECT_TRUE(Shots[0].Active);
  EXPECT_FALSE(game->Timer1->Enabled());  // and nothing moves it

  SeededDraws draws(3);
  game->Start1->Click();
  for (const TShot& shot : Shots) EXPECT_FALSE(shot.Active);
}

// --- The road of a shot ---

TEST_F(ShotsTest, AShotThatMeetsNoRungIsFreedInItsThirtyFourthFrame) {
  SetRungs(RungsAnd({}, 3));
  game->Sprite1->X = 92;
  game->Image2->Click();
  const std::vector<Row> flight = Fly(game.form(), Shots[0], 35);
  ExpectRows(flight, {{0, 100, 250, 0, true},
                      {1, 100, 242, 0, true},
                      {2, 100, 234, 0, true},
                      {32, 100, -6, 0, true},
                      {33, 100, -14, 0, true},
                      {34, 100, -22, 0, false},
                      {35, 100, -22, 0, false}});
  for (int frame = 1; frame <= 33; ++frame) EXPECT_TRUE(flight[frame].active) << "frame " << frame;
}

TEST_F(ShotsTest, AShotAtExactlyMinusSixteenStaysOneMoreFrame) {
  SetRungs(RungsAnd({}, 3));
  ExpectRows(Fly(game.form(), TShot{100, -8, 0, true}, 2), {{1, 100, -16, 0, true}, {2, 100, -24, 0, false}});
}

// A rung on the left: the frame of the match already moves the shot. Centre 93
// is on line 1; the rung at 200 is met when Y is 194.
TEST_F(ShotsTest, ACarryToTheLeftStartsInTheFrameOfTheMatch) {
  SetRungs(RungsAnd({{0, 200}}, 3));
  ExpectRows(Fly(game.form(), FiredAt(85), 16), {{7, 85, 194, 0, true},
                                                 {8, 77, 186, -54, true},
                                                 {9, 69, 186, -46, true},
                                                 {14, 29, 186, -6, true},
                                                 {15, 23, 181, 0, true},
                                                 {16, 23, 173, 0, true}});
}

// A rung on the right: the frame of the match only lifts the shot; the carry
// ends one frame later than one to the left.
TEST_F(ShotsTest, ACarryToTheRightStartsInTheFrameAfterTheMatch) {
  SetRungs(RungsAnd({{1, 200}}, 3));
  ExpectRows(Fly(game.form(), FiredAt(85), 17), {{7, 85, 194, 0, true},
                                                 {8, 85, 186, 62, true},
                                                 {9, 93, 186, 54, true},
                                                 {15, 141, 186, 6, true},
                                                 {16, 147, 181, 0, true},
                                                 {17, 147, 173, 0, true}});
}

// Centres 310 to 312 count as column 4: a rung of gap 3 carries the shot to a
// centre of 248 to 250, column 4 again, so the next rung of gap 3 carries it once more.
TEST_F(ShotsTest, ACentrePastTheFifthColumnCountsAsColumnFourAndIsCarriedLeftTwice) {
  SetRungs(RungsAnd({{3, 200}, {3, 150}}, 0));
  for (const int x : {302, 303, 304}) {
    SCOPED_TRACE(::testing::Message() << "centre " << x + 8);
    ExpectRows(Fly(game.form(), FiredAt(x), 28), {{8, x - 8, 186, -54, true},
                                                  {15, x - 62, 181, 0, true},
                                                  {20, x - 70, 141, -54, true},
                                                  {27, x - 124, 136, 0, true},
                                                  {28, x - 124, 128, 0, true}});
  }
}

// Division truncates toward zero, so a centre from -61 to -1 is column 0 and a
// rung of gap 0 carries it right; from -62 on the column is negative and no
// rung can match.
TEST_F(ShotsTest, ACentreLeftOfTheFieldIsColumnZeroDownToMinusSixtyOne) {
  SetRungs(RungsAnd({{0, 200}}, 3));
  for (const int x : {-69, -9}) {
    SCOPED_TRACE(::testing::Message() << "centre " << x + 8);
    ExpectRows(Fly(game.form(), FiredAt(x), 16), {{8, x, 186, 62, true}, {16, x + 62, 181, 0, true}});
  }
  for (const int x : {-70, -200}) {
    SCOPED_TRACE(::testing::Message() << "centre " << x + 8);
    ExpectRows(Fly(game.form(), FiredAt(x), 34), {{8, x, 186, 0, true}, {34, x, -22, 0, false}});
  }
}

// A climbing shot at Y 100 tests for rungs at Y + 4 = 104.
TEST_F(ShotsTest, ARungMatchesWhenLessThanFiveFromYPlusFour) {
  const struct {
    int rung_y;
    int dx_after;
  } cases[] = {{99, 0}, {100, 62}, {104, 62}, {108, 62}, {109, 0}};
  for (const auto& c : cases) {
    SetRungs(RungsAnd({{1, c.rung_y}}, 3));
    Shots[0] = TShot{85, 100, 0, true};
    game->MoveObjects();
    EXPECT_EQ(Shots[0].DX, c.dx_after) << "rung at " << c.rung_y;
  }
}

// Only a table with two rungs at one height can match twice; the later one wins.
TEST_F(ShotsTest, WhenTwoRungsMatchTheLaterOneInTheTableWins) {
  const struct {
    Ladder rungs;
    int dx_after;
  } cases[] = {{RungsAnd({{1, 104}, {0, 104}}, 3), -54}, {RungsAnd({{0, 104}, {1, 104}}, 3), 62}};
  for (const auto& c : cases) {
    SetRungs(c.rungs);
    Shots[0] = TShot{85, 100, 0, true};
    game->MoveObjects();
    EXPECT_EQ(Shots[0].DX, c.dx_after) << "first rung in gap " << c.rungs[0].Column;
  }
}

// The carry is settled when the rung is met; a new ladder does not cut it short.
TEST_F(ShotsTest, ACarryGoesItsWholeSpacingWhenTheLadderIsRebuiltOnTheWay) {
  SetRungs(RungsAnd({{1, 200}}, 3));
  const std::vector<Row> before = Fly(game.form(), FiredAt(85), 10);
  EXPECT_EQ(before.back(), (Row{10, 101, 186, 46, true}));

  // The new ladder has a rung of gap 0 at the shot's height, on the left of column 1.
  ScriptedDraws draws;
  PushLadderDraws(draws, {{{0, 190}, {1, 20}, {2, 40}, {3, 60}, {0, 80},
                           {1, 100}, {2, 120}, {3, 140}, {0, 160}, {3, 220}}});
  game->MakeLadder();

  ExpectRows(Fly(game.form(), Shots[0], 7), {{5, 141, 186, 6, true}, {6, 147, 181, 0, true}, {7, 147, 173, 0, true}});
}

// The ladder lottery worked out on paper: from the bottom up, each rung that
// touches the current line moves the walk to the rung's other line.
int LotteryColumn(Ladder ladder, int column) {
  std::sort(ladder.begin(), ladder.end(), [](const TRung& a, const TRung& b) { return a.Y > b.Y; });
  for (const TRung& rung : ladder) {
    if (rung.Column == column)
      ++column;
    else if (rung.Column == column - 1)
      --column;
  }
  return column;
}

TEST_F(ShotsTest, AShotLeavesTheTopInTheColumnTheLadderLotteryGives) {
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    {
      SeededDraws draws(seed);
      game->MakeLadder();
    }
    const Ladder ladder = CurrentRungs();
    for (int column = 0; column <= 4; ++column) {
      for (const int offset : {0, 31, 61}) {  // anywhere in the column's band
        Shots[0] = FiredAt(kSpacing * column + offset - 8);
        int frames = 0;
        while (Shots[0].Active && frames < 200) {
          game->MoveObjects();
          ++frames;
        }
        ASSERT_FALSE(Shots[0].Active);
        const int exit_column = std::min((Shots[0].X + 8) / kSpacing, 4);
        ASSERT_EQ(exit_column, LotteryColumn(ladder, column))
            << "seed " << seed << ", column " << column << ", offset " << offset;
        ASSERT_EQ((Shots[0].X + 8) % kSpacing, offset) << "a carry moves by exactly one spacing";
      }
    }
  }
}

}  // namespace
}  // namespace kestrune::test
