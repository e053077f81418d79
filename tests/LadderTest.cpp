// The ladder: the random layout's draws and rules, the way out of a dead end,
// and the drawing of lines and rungs.
#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestForm.h"

namespace kestrune::test {
namespace {

constexpr int kHeights = kFieldHeight - 32;  // a rung's y is drawn from 0 to 240

// The draws that place these rungs in order, none of them rejected.
void PushRungDraws(ScriptedDraws& draws, const std::vector<TRung>& rungs) {
  for (std::size_t i = 0; i < rungs.size(); ++i) {
    if (i >= 4) draws.Push(rungs[i].Column);
    draws.Push(rungs[i].Y);
  }
}

// The ranges that placing n rungs without a rejection asks for.
std::vector<int> RangesForRungs(int n) {
  std::vector<int> ranges;
  for (int i = 0; i < n; ++i) {
    if (i >= 4) ranges.push_back(4);
    ranges.push_back(kHeights);
  }
  return ranges;
}

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Every rule a finished layout must meet; empty when all hold.
std::string BrokenLadderRule(const Ladder& ladder) {
  for (int i = 0; i < kRungCount; ++i) {
    const TRung& rung = ladder[i];
    if (i < 4 && rung.Column != i) return "rung " + std::to_string(i) + " is not in gap " + std::to_string(i);
    if (rung.Column < 0 || rung.Column > 3) return "rung " + std::to_string(i) + " has no gap";
    if (rung.Y < 0 || rung.Y > 240) return "rung " + std::to_string(i) + " is off the ladder";
    for (int j = 0; j < i; ++j)
      if (std::abs(ladder[j].Y - rung.Y) < 16)
        return "rungs " + std::to_string(j) + " and " + std::to_string(i) + " are closer than 16";
  }
  return {};
}

using LadderTest = FormTest;

TEST_F(LadderTest, DrawsAHeightForRungsZeroToThreeAndAColumnThenAHeightForTheRest) {
  ScriptedDraws draws{
      100,            // rung 0
      115, 116,       // rung 1: 15 from rung 0 rejected, 16 accepted
      0,              // rung 2: the top
      240,            // rung 3: the lowest height allowed
      3, 225, 0, 224, // rung 4: 15 from rung 3 rejected; column and height drawn again
      1, 15, 2, 16,   // rung 5: 15 from rung 2, in another gap, rejected
      3, 132,         // rung 6: 16 from rung 1
      0, 148,         // rung 7
      1, 170,         // rung 8
      2, 209, 2, 200, // rung 9: 15 from rung 4 rejected
  };
  game->MakeLadder();

  const Ladder expected{{{0, 100}, {1, 116}, {2, 0}, {3, 240}, {0, 224},
                         {2, 16}, {3, 132}, {0, 148}, {1, 170}, {2, 200}}};
  EXPECT_EQ(CurrentRungs(), expected);
  const std::vector<int> ranges{241, 241, 241, 241, 241, 4, 241, 4, 241, 4, 241, 4, 241,
                                4, 241, 4, 241, 4, 241, 4, 241, 4, 241};
  EXPECT_EQ(draws.RangesAsked(), ranges);
  EXPECT_EQ(draws.Remaining(), 0u);
}

struct DeadEnd {
  const char* name;
  std::vector<TRung> rungs;  // the rungs placed before no height is left
};

class LadderDeadEndTest : public FormTest, public ::testing::WithParamInterface<DeadEnd> {};

// When the rungs placed cover every height, the layout is begun again from
// rung 0: the very next draw is rung 0's height.
TEST_P(LadderDeadEndTest, StartsTheLayoutOverFromRungZero) {
  const std::vector<TRung>& dead_end = GetParam().rungs;
  const Ladder after{{{0, 0}, {1, 20}, {2, 40}, {3, 60}, {1, 80},
                      {0, 100}, {2, 120}, {3, 140}, {1, 160}, {2, 180}}};
  ScriptedDraws draws;
  PushRungDraws(draws, dead_end);
  PushLadderDraws(draws, after);

  game->MakeLadder();

  EXPECT_EQ(CurrentRungs(), after);
  EXPECT_EQ(BrokenLadderRule(CurrentRungs()), "");
  EXPECT_EQ(draws.RangesAsked(), Concat(RangesForRungs(static_cast<int>(dead_end.size())), RangesForRungs(10)));
  EXPECT_EQ(draws.Remaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ladder, LadderDeadEndTest,
    ::testing::Values(
        // 15, 46, ... 232: each keeps 31 heights, together 0 to 247.
        DeadEnd{"EightRungs31Apart", {{0, 15}, {1, 46}, {2, 77}, {3, 108}, {0, 139}, {1, 170}, {2, 201}, {3, 232}}},
        // The first eight leave 218 to 240; the ninth takes them.
        DeadEnd{"NineRungs",
                {{0, 0}, {1, 16}, {2, 47}, {3, 78}, {0, 109}, {1, 140}, {2, 171}, {3, 202}, {0, 233}}}),
    [](const ::testing::TestParamInfo<DeadEnd>& param_info) { return std::string(param_info.param.name); });

// One height left is no dead end: the draws go on until they find it.
TEST_F(LadderTest, KeepsDrawingWhileASingleHeightIsLeft) {
  ScriptedDraws draws;
  // Together these cover 0 to 239; 240 is 16 from the last.
  PushRungDraws(draws, {{0, 0}, {1, 16}, {2, 47}, {3, 78}, {0, 109}, {1, 140}, {2, 171}, {3, 194}, {0, 224}});
  draws.Push({1, 5, 2, 239, 3, 240});

  game->MakeLadder();

  EXPECT_EQ(Rungs[9], (TRung{3, 240}));
  EXPECT_EQ(draws.RangesAsked(), Concat(RangesForRungs(10), {4, 241, 4, 241}));
  EXPECT_EQ(draws.Remaining(), 0u);
}

// A field 177 high leaves heights 0 to 144, just room for ten rungs 16 apart;
// one pixel less and no layout exists, which is refused instead of drawing forever.
TEST_F(LadderTest, NeedsAFieldTallEnoughForTenRungs) {
  {
    game->Image1->Height = 177;
    ScriptedDraws draws;
    PushRungDraws(draws, {{0, 144}, {1, 0}, {2, 128}, {3, 16}, {0, 112}, {1, 32}, {2, 96}, {3, 48}, {0, 80},
                          {1, 64}});
    game->MakeLadder();
    EXPECT_EQ(BrokenLadderRule(CurrentRungs()), "");
    EXPECT_EQ(draws.RangesAsked().front(), 145);
  }
  {
    game->Image1->Height = 176;
    ScriptedDraws draws;
    EXPECT_THROW(game->MakeLadder(), std::logic_error);
    EXPECT_TRUE(draws.RangesAsked().empty());
  }
}

// Seeded draws that give up after far more than any layout takes (some 66 on
// average, a few thousand at the very most), so that a layout which never
// finishes fails the test instead of hanging it.
class BoundedSeededRandom final : public RandomSource {
 public:
  explicit BoundedSeededRandom(std::uint64_t seed) : generator_(seed) {}
  int Next(int range) override {
    if (++draws_ > kMaxDraws) throw std::runtime_error("MakeLadder drew more than a million numbers");
    return generator_.Next(range);
  }

 private:
  static constexpr int kMaxDraws = 1000000;
  SeededRandom generator_;
  int draws_ = 0;
};

// About one layout in 2500 runs into a dead end, so these seeds take the way
// back to rung 0 several times too.
TEST_F(LadderTest, EveryLayoutMeetsEveryRule) {
  for (std::uint64_t seed = 1; seed <= 20000; ++seed) {
    BoundedSeededRandom source(seed);
    ScopedRandomSource scope(source);
    ASSERT_NO_THROW(game->MakeLadder()) << "seed " << seed;
    ASSERT_EQ(BrokenLadderRule(CurrentRungs()), "") << "seed " << seed;
  }
}

// On a 15 by 12 image the spacing is 3 and the lines stand at x 1, 4, 7, 10 and 13.
TEST_F(LadderTest, DrawsTheLinesFromTopToBottomAndEachRungBetweenItsTwoLines) {
  game->Image1->Width = 15;
  game->Image1->Height = 12;
  SetRungs({{{0, 0}, {1, 2}, {2, 4}, {3, 6}, {0, 8}, {1, 9}, {2, 9}, {3, 11}, {0, 0}, {3, 6}}});

  game->DrawLadder();

  const char* const expected[] = {
      ".####..#..#..#.",  //
      ".#..#..#..#..#.",  //
      ".#..####..#..#.",  //
      ".#..#..#..#..#.",  //
      ".#..#..####..#.",  //
      ".#..#..#..#..#.",  //
      ".#..#..#..####.",  //
      ".#..#..#..#..#.",  //
      ".####..#..#..#.",  //
      ".#..#######..#.",  //
      ".#..#..#..#..#.",  //
      ".#..#..#..####.",  //
  };
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 15; ++x)
      EXPECT_EQ(game.BackPixel(x, y), expected[y][x] == '#' ? clWhite : clBlack) << "at " << x << ", " << y;
}

}  // namespace
}  // namespace kestrune::test
