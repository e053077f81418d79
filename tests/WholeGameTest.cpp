// Whole games played frame by frame on the headless clock, with a fixed seed
// and a mouse that moves and clicks at fixed frames.
#include <iostream>
#include <string>

#include <gtest/gtest.h>

#include "platform/headless/HeadlessBackend.h"
#include "support/TestForm.h"

namespace kestrune::test {
namespace {

constexpr std::uint64_t kSeed = 20240611;
constexpr int kFrameLimit = 20000;  // far beyond any game, which takes some 1500 frames

struct GameResult {
  int score = 0;
  int frames = 0;
};

// The mouse walks the gun over the five lines in turn and fires every fourth frame.
void MoveTheMouse(TestForm& game, int frame) {
  if (frame % 20 == 0) game->Image2->MouseMove(TShiftState{}, 31 + 62 * ((frame / 20) % 5), 250);
  if (frame % 4 == 0) game->Image2->Click();
}

GameResult PlayWholeGame(std::uint64_t seed) {
  TestForm game;
  SeededDraws draws(seed);
  game->Start1->Click();
  GameResult result;
  int last_spawn_count = 0;
  while (Headless().MessageBoxes().empty() && result.frames < kFrameLimit) {
    MoveTheMouse(game, result.frames);
    game.TickFrames(1);
    ++result.frames;
    // What every frame keeps true.
    EXPECT_EQ(game->Label1->Caption(), "Score " + std::to_string(Score));
    EXPECT_EQ(game->Label2->Caption(), "あと " + std::to_string(50 - SpawnCount));
    EXPECT_GE(SpawnCount, last_spawn_count);
    last_spawn_count = SpawnCount;
  }
  EXPECT_TRUE(Headless().Exceptions().empty());  // the timer's ticks report them instead of failing
  EXPECT_EQ(Headless().MessageBoxes().size(), 1u);
  EXPECT_EQ(SpawnCount, 50);
  for (const TEnemy& enemy : Enemies) EXPECT_FALSE(enemy.Active);
  EXPECT_FALSE(game->Timer1->Enabled());
  EXPECT_EQ(HighScore, Score);  // the first game of the program: any score above 0 is a new high
  EXPECT_EQ(Headless().MessageBoxes().front().text, Score > 0 ? "ハイスコア更新！" : "終了です");
  result.score = Score;
  return result;
}

TEST(WholeGameTest, AGameWithAFixedSeedReachesItsEndAndPlaysTheSameTwice) {
  const GameResult first = PlayWholeGame(kSeed);
  const GameResult second = PlayWholeGame(kSeed);
  EXPECT_LT(first.frames, kFrameLimit);
  EXPECT_GT(first.score, 0);
  EXPECT_EQ(second.score, first.score);
  EXPECT_EQ(second.frames, first.frames);
  std::cout << "seed " << kSeed << ": final score " << first.score << " after " << first.frames << " frames\n";
}

}  // namespace
}  // namespace kestrune::test
