// Enemies: when they start, how they fall, hits and the points they score.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestForm.h"

namespace kestrune::test {
namespace {

// A layout unlike any other in these tests, to see when the ladder is rebuilt.
const Ladder kNewLadder{{{0, 0}, {1, 20}, {2, 40}, {3, 60}, {1, 80}, {0, 100}, {2, 120}, {3, 140}, {1, 160}, {2, 180}}};
const Ladder kOldLadder{{{0, 240}, {1, 220}, {2, 200}, {3, 180}, {3, 160}, {2, 140}, {1, 120}, {0, 100}, {3, 80}, {2, 60}}};

const std::vector<int> kLadderRanges{241, 241, 241, 241, 4, 241, 4, 241, 4, 241, 4, 241, 4, 241, 4, 241};

// An enemy that is busy far from every shot, so that its slot draws nothing.
void OccupyEnemySlot(int k) { Enemies[k] = TEnemy{150, 10, k == 3 ? 1 : 0, true}; }

using EnemiesTest = FormTest;

// --- Starting enemies ---

// An idle slot starts an enemy when Random(500) is below SpawnCount + 10.
TEST_F(EnemiesTest, AnIdleSlotStartsAnEnemyWhenTheDrawIsBelowSpawnCountPlusTen) {
  const struct {
    int spawn_count;
    int draw;
    bool starts;
  } cases[] = {{0, 0, true}, {0, 9, true}, {0, 10, false}, {20, 29, true}, {20, 30, false},
               {49, 58, true}, {49, 59, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "SpawnCount " << c.spawn_count << ", draw " << c.draw);
    SpawnCount = c.spawn_count;
    Enemies[0].Active = false;
    for (int k = 1; k < kEnemySlots; ++k) OccupyEnemySlot(k);
    ScriptedDraws draws{c.draw};
    if (c.starts) draws.Push(200);
    game->SpawnEnemies();
    EXPECT_EQ(Enemies[0].Active, c.starts);
    EXPECT_EQ(SpawnCount, c.spawn_count + (c.starts ? 1 : 0));
    EXPECT_EQ(draws.Remaining(), 0u);
  }
}

// Each start counts before the next slot is looked at: here every slot's draw
// is one too high for the count the frame began with.
TEST_F(EnemiesTest, EachStartRaisesTheChanceOfTheNextSlotInTheSameFrame) {
  ScriptedDraws draws{9, 0, 10, 312, 11, 150, 12, 5};
  game->SpawnEnemies();

  const struct {
    int x;
    int kind;
  } expected[kEnemySlots] = {{-10, 0}, {302, 0}, {140, 0}, {-5, 1}};
  for (int k = 0; k < kEnemySlots; ++k) {
    EXPECT_TRUE(Enemies[k].Active) << "slot " << k;
    EXPECT_EQ(Enemies[k].X, expected[k].x) << "slot " << k;
    EXPECT_EQ(Enemies[k].Y, 0) << "slot " << k;
    EXPECT_EQ(Enemies[k].Kind, expected[k].kind) << "slot " << k;
  }
  EXPECT_EQ(SpawnCount, 4);
  EXPECT_EQ(game->Label2->Caption(), "あと 46");
  EXPECT_EQ(draws.RangesAsked(), (std::vector<int>{500, 313, 500, 313, 500, 313, 500, 313}));
}

TEST_F(EnemiesTest, ABusySlotDrawsNothing) {
  OccupyEnemySlot(0);
  OccupyEnemySlot(2);
  ScriptedDraws draws{499, 499};
  game->SpawnEnemies();
  EXPECT_EQ(draws.RangesAsked(), (std::vector<int>{500, 500}));
  EXPECT_EQ(SpawnCount, 0);
}

TEST_F(EnemiesTest, NoRandomIsDrawnAfterTheFiftiethStart) {
  SpawnCount = 48;
  ScriptedDraws draws{0, 50, 0, 60};
  game->SpawnEnemies();
  EXPECT_EQ(SpawnCount, 50);
  EXPECT_EQ(draws.RangesAsked(), (std::vector<int>{500, 313, 500, 313}));
  EXPECT_EQ(game->Label2->Caption(), "あと 0");
  EXPECT_FALSE(Enemies[2].Active);
  EXPECT_FALSE(Enemies[3].Active);

  game->SpawnEnemies();  // the script is empty: any draw would throw
  EXPECT_EQ(SpawnCount, 50);
}

TEST_F(EnemiesTest, TheFifteenthThirtiethAndFortyFifthStartsRebuildTheLadder) {
  const struct {
    int spawn_count_before;
    bool rebuilds;
  } cases[] = {{0, false}, {13, false}, {14, true}, {15, false}, {29, true}, {44, true}, {49, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "start number " << c.spawn_count_before + 1);
    SetRungs(kOldLadder);
    SpawnCount = c.spawn_count_before;
    Enemies[0].Active = false;
    for (int k = 1; k < kEnemySlots; ++k) OccupyEnemySlot(k);
    ScriptedDraws draws{0, 100};
    if (c.rebuilds) PushLadderDraws(draws, kNewLadder);

    game->SpawnEnemies();

    std::vector<int> ranges{500, 313};
    if (c.rebuilds) ranges.insert(ranges.end(), kLadderRanges.begin(), kLadderRanges.end());
    EXPECT_EQ(draws.RangesAsked(), ranges);
    EXPECT_EQ(CurrentRungs(), c.rebuilds ? kNewLadder : kOldLadder);
    EXPECT_EQ(game->Label2->Caption(), "あと " + std::to_string(50 - SpawnCount));
  }
}

// The ladder made in a frame was not drawn in it: the frame after shows it.
TEST_F(EnemiesTest, ALadderRebuiltInAFrameIsDrawnFromTheNextFrameOn) {
  {
    ScriptedDraws draws;
    PushLadderDraws(draws, kOldLadder);
    game->Start1->Click();
  }
  SpawnCount = 14;
  for (int k = 1; k < kEnemySlots; ++k) OccupyEnemySlot(k);
  // Rung 2 of the old ladder lies at y 200 in gap 2 (x 155 to 217), rung 6 of
  // the new one at y 120 in the same gap; x 190 is clear of every sprite.
  ScriptedDraws draws{0, 100};
  PushLadderDraws(draws, kNewLadder);
  game.RunFrames(1);
  EXPECT_EQ(game.ShownPixel(190, 200), clWhite);
  EXPECT_EQ(game.ShownPixel(190, 120), clBlack);

  game.RunFrames(1);  // every slot busy: no draws
  EXPECT_EQ(game.ShownPixel(190, 200), clBlack);
  EXPECT_EQ(game.ShownPixel(190, 120), clWhite);
}

// --- The fall ---

TEST_F(EnemiesTest, EnemiesFallFasterEveryTwelveStarts) {
  const struct {
    int spawn_count;
    int speed;
  } cases[] = {{0, 1}, {11, 1}, {12, 2}, {23, 2}, {24, 3}, {35, 3}, {36, 4}, {47, 4}, {48, 5}, {50, 5}};
  for (const auto& c : cases) {
    SpawnCount = c.spawn_count;
    for (int k = 0; k < kEnemySlots; ++k) Enemies[k] = TEnemy{20 * k, 100, 0, k != 2};
    game->MoveObjects();
    for (int k = 0; k < kEnemySlots; ++k)
      EXPECT_EQ(Enemies[k].Y, k != 2 ? 100 + c.speed : 100) << "SpawnCount " << c.spawn_count << ", slot " << k;
  }
}

// The speed is read when the enemies fall: the twelfth start speeds up every enemy.
TEST_F(EnemiesTest, TheTwelfthStartSpeedsUpEveryEnemyFromTheNextFrameOn) {
  SpawnCount = 11;
  Enemies[1] = TEnemy{150, 50, 0, true};
  OccupyEnemySlot(2);
  OccupyEnemySlot(3);
  ScriptedDraws draws{0, 100};
  game.RunFrames(1);
  EXPECT_EQ(Enemies[1].Y, 51);
  EXPECT_EQ(SpawnCount, 12);
  game.RunFrames(1);
  EXPECT_EQ(Enemies[1].Y, 53);
  EXPECT_EQ(Enemies[0].Y, 2);
}

TEST_F(EnemiesTest, AnEnemyAt273StaysOneMoreFrameAndEscapesWithoutScoring) {
  SpawnCount = 11;
  Score = 500;
  game->Label1->SetCaption("Score 500");
  Enemies[0] = TEnemy{150, 272, 0, true};
  for (int k = 1; k < kEnemySlots; ++k) OccupyEnemySlot(k);

  game.RunFrames(1);
  EXPECT_EQ(Enemies[0].Y, 273);
  EXPECT_TRUE(Enemies[0].Active);

  ScriptedDraws draws{499};  // the freed slot draws, and starts nothing
  game.RunFrames(1);
  EXPECT_EQ(Enemies[0].Y, 274);
  EXPECT_FALSE(Enemies[0].Active);
  EXPECT_EQ(Score, 500);
  EXPECT_EQ(SpawnCount, 11);
  EXPECT_EQ(game->Label1->Caption(), "Score 500");
}

// --- Hits and points ---

TEST_F(EnemiesTest, AHitScoresTheStageTimesKindTimes100Plus260MinusY) {
  const struct {
    int spawn_count;
    int kind;
    int enemy_y;
    int points;
  } cases[] = {
      {20, 0, 100, 320},  {14, 0, 100, 160},  {47, 1, 200, 640},  {15, 0, 100, 320}, {29, 0, 60, 400},
      {30, 0, 60, 600},   {44, 1, 60, 900},   {45, 1, 1, 1436},   {0, 0, 251, 9},     {0, 1, 1, 359},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "SpawnCount " << c.spawn_count << ", kind " << c.kind << ", y "
                                      << c.enemy_y);
    SpawnCount = c.spawn_count;
    Score = 1000;
    const int slot = c.kind == 1 ? 3 : 0;
    Enemies[slot] = TEnemy{120, c.enemy_y, c.kind, true};
    Shots[1] = TShot{123, c.enemy_y - 2, 0, true};

    game->CheckHits();

    EXPECT_EQ(game->Label3->Caption(), std::to_string(c.points));
    EXPECT_EQ(Score, 1000 + c.points);
    EXPECT_EQ(game->Label1->Caption(), "Score " + std::to_string(1000 + c.points));
    EXPECT_FALSE(Enemies[slot].Active);
    EXPECT_FALSE(Shots[1].Active);
  }
}

// Corners as stored, less than 10 apart in x and in y.
TEST_F(EnemiesTest, AShotHitsWhenItsCornerIsLessThanTenFromTheEnemysBothWays) {
  const struct {
    int dx;
    int dy;
    bool hits;
  } cases[] = {{0, 0, true},    {9, 0, true},    {-9, 0, true},  {0, 9, true},   {0, -9, true},  {9, -9, true},
               {10, 0, false},  {-10, 0, false}, {0, 10, false}, {0, -10, false}, {10, 9, false}, {-9, -10, false}};
  for (const auto& c : cases) {
    Score = 0;
    Enemies[2] = TEnemy{100, 100, 0, true};
    Shots[0] = TShot{100 + c.dx, 100 + c.dy, 0, true};
    game->CheckHits();
    EXPECT_EQ(!Enemies[2].Active, c.hits) << "shot at dx " << c.dx << ", dy " << c.dy;
    EXPECT_EQ(!Shots[0].Active, c.hits) << "shot at dx " << c.dx << ", dy " << c.dy;
    EXPECT_EQ(Score, c.hits ? 160 : 0) << "shot at dx " << c.dx << ", dy " << c.dy;
  }
}

TEST_F(EnemiesTest, TwoShotsOnOneEnemyBothScore) {
  Enemies[0] = TEnemy{100, 100, 0, true};
  Shots[0] = TShot{100, 100, 0, true};
  Shots[1] = TShot{105, 95, 0, true};
  Shots[2] = TShot{100, 130, 0, true};  // out of reach
  game->CheckHits();
  EXPECT_EQ(Score, 320);
  EXPECT_EQ(game->Label3->Caption(), "160");
  EXPECT_EQ(game->Label1->Caption(), "Score 320");
  EXPECT_FALSE(Shots[0].Active);
  EXPECT_FALSE(Shots[1].Active);
  EXPECT_TRUE(Shots[2].Active);
}

TEST_F(EnemiesTest, AShotInReachOfTwoEnemiesHitsTheLowerSlot) {
  Enemies[1] = TEnemy{100, 100, 0, true};
  Enemies[2] = TEnemy{105, 105, 0, true};
  Shots[0] = TShot{102, 102, 0, true};
  game->CheckHits();
  EXPECT_FALSE(Enemies[1].Active);
  EXPECT_TRUE(Enemies[2].Active);
  EXPECT_EQ(Score, 160);  // slot 2's enemy, at y 105, would have been worth 155
}

// An enemy started as the 14th and hit after the 15th has started scores with stage 2.
TEST_F(EnemiesTest, TheStageIsReadWhenTheHitHappens) {
  SpawnCount = 13;
  ScriptedDraws draws{0, 110, 0, 200};
  PushLadderDraws(draws, kNewLadder);
  draws.Push({499, 499});
  game->SpawnEnemies();
  ASSERT_EQ(SpawnCount, 15);

  Enemies[0].Y = 100;
  Shots[0] = TShot{100, 100, 0, true};
  game->CheckHits();
  EXPECT_EQ(Score, 320);
}

}  // namespace
}  // namespace kestrune::test
