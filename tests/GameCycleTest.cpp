// A game from Start to its end: the start, the frame step and the end-of-game box.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Application.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/TestForm.h"

namespace kestrune::test {
namespace {

// No rung near the shots placed on line 1 below.
const Ladder kLadder{{{0, 240}, {1, 220}, {2, 200}, {3, 180}, {3, 160}, {2, 140}, {1, 120}, {0, 40}, {3, 20}, {2, 0}}};
const Ladder kOtherLadder{{{0, 0}, {1, 20}, {2, 40}, {3, 60}, {1, 80}, {0, 100}, {2, 120}, {3, 140}, {1, 160}, {2, 180}}};

// Picks Game, Start with the ladder's draws scripted.
void StartGame(TestForm& game, const Ladder& ladder) {
  ScriptedDraws draws;
  PushLadderDraws(draws, ladder);
  game->Start1->Click();
}

void ExpectImage2ShowsImage1(TestForm& game) {
  const Surface& shown = game->Image2->Picture().Bitmap().Pixels();
  ASSERT_EQ(shown.Width(), kFieldWidth);
  ASSERT_EQ(shown.Height(), kFieldHeight);
  for (int y = 0; y < kFieldHeight; ++y)
    for (int x = 0; x < kFieldWidth; ++x)
      ASSERT_EQ(game.ShownPixel(x, y), game.BackPixel(x, y)) << "at " << x << ", " << y;
}

using GameCycleTest = FormTest;

TEST_F(GameCycleTest, StartResetsTheGameAndShowsTheLadderAndTheGun) {
  HighScore = 1200;
  Score = 77;
  SpawnCount = 33;
  GunX = 50;
  game->Label3->SetCaption("55");
  for (TShot& shot : Shots) shot.Active = true;
  for (TEnemy& enemy : Enemies) enemy.Active = true;
  game->Image1->Canvas()->FillRect(Rect(0, 0, kFieldWidth, kFieldHeight));  // white: the brush as created

  StartGame(game, kLadder);

  EXPECT_EQ(Score, 0);
  EXPECT_EQ(SpawnCount, 0);
  EXPECT_EQ(GunX, 50);
  EXPECT_EQ(game->Label5->Caption(), "High 1200");
  EXPECT_EQ(game->Label1->Caption(), "Score 0");
  EXPECT_EQ(game->Label2->Caption(), "あと 50");
  EXPECT_EQ(game->Label3->Caption(), "55");
  for (const TShot& shot : Shots) EXPECT_FALSE(shot.Active);
  for (const TEnemy& enemy : Enemies) EXPECT_FALSE(enemy.Active);
  EXPECT_EQ(CurrentRungs(), kLadder);

  EXPECT_EQ(game.BackPixel(5, 5), clBlack);
  EXPECT_EQ(game.BackPixel(31, 5), clWhite);    // line 0
  EXPECT_EQ(game.BackPixel(186, 200), clWhite);  // rung 2
  EXPECT_EQ(game.BackPixel(16, 256), kGunColor);  // where Sprite1 stood: x 0
  ExpectImage2ShowsImage1(game);

  EXPECT_TRUE(game->Timer1->Enabled());
  EXPECT_EQ(Headless().NextTick(*game->Timer1), Headless().Now() + kFrameInterval);
}

TEST_F(GameCycleTest, Image2KeepsACopyOfTheFrame) {
  StartGame(game, kLadder);
  game->Image1->Canvas()->FillRect(Rect(0, 0, kFieldWidth, kFieldHeight));
  EXPECT_EQ(game.ShownPixel(31, 5), clWhite);
}

// The frame draws the ladder, the gun at GunX, then the shots and the enemies
// over them, and only then shows the result.
TEST_F(GameCycleTest, AFrameDrawsEnemiesOverShotsOverTheGunAndTheLadder) {
  StartGame(game, kLadder);
  game->Image2->MouseMove(TShiftState{}, 200, 100);
  Shots[0] = TShot{85, 108, 0, true};     // climbs to (85, 100): over line 1 at x 93
  Enemies[0] = TEnemy{95, 94, 0, true};   // falls to (95, 95): 10 right of the shot, no hit
  Enemies[1] = TEnemy{180, 230, 0, true};  // falls to (180, 231): over the gun
  ScriptedDraws draws{499, 499};          // slots 2 and 3 start nothing

  game.RunFrames(1);

  ASSERT_TRUE(Shots[0].Active);
  ASSERT_TRUE(Enemies[0].Active);
  EXPECT_EQ(game.BackPixel(90, 105), kShotColor);
  EXPECT_EQ(game.BackPixel(93, 105), kShotColor);    // the ladder line under the shot
  EXPECT_EQ(game.BackPixel(93, 150), clWhite);
  EXPECT_EQ(game.BackPixel(97, 105), kEnemyColor);   // where enemy and shot overlap
  EXPECT_EQ(game.BackPixel(195, 245), kEnemyColor);  // where enemy and gun overlap
  EXPECT_EQ(game.BackPixel(205, 256), kGunColor);    // the gun moved to GunX 184
  EXPECT_EQ(game.BackPixel(16, 256), clBlack);       // and is gone from x 0
  EXPECT_EQ(game->Sprite1->X, 184);
  ExpectImage2ShowsImage1(game);
  EXPECT_TRUE(game->Timer1->Enabled());
}

// The timer is off while a frame runs and counts its 55 ms from the frame's end.
TEST_F(GameCycleTest, FramesFollowTheTimerEveryFiftyFiveMilliseconds) {
  StartGame(game, kLadder);
  for (int k = 0; k < kEnemySlots; ++k) Enemies[k] = TEnemy{150, 0, 0, true};

  Headless().AdvanceTime(kFrameInterval - 1);
  EXPECT_EQ(Enemies[0].Y, 0);
  Headless().AdvanceTime(1);
  EXPECT_EQ(Enemies[0].Y, 1);
  game.TickFrames(3);
  EXPECT_EQ(Enemies[0].Y, 4);
  EXPECT_EQ(Headless().NextTick(*game->Timer1), Headless().Now() + kFrameInterval);
  EXPECT_TRUE(Headless().Exceptions().empty());
}

TEST_F(GameCycleTest, TheGameEndsOnlyWhenAllFiftyHaveStartedAndNoneIsLeft) {
  StartGame(game, kLadder);
  SpawnCount = 50;
  Enemies[2] = TEnemy{150, 268, 0, true};  // falls 5 a frame now
  game.RunFrames(1);  // 273: still there
  EXPECT_TRUE(Headless().MessageBoxes().empty());
  EXPECT_TRUE(game->Timer1->Enabled());
  game.RunFrames(1);  // 278: gone
  EXPECT_EQ(Headless().MessageBoxes().size(), 1u);
  EXPECT_FALSE(game->Timer1->Enabled());

  game.TickFrames(20);  // the timer stays off: no more frames, no more boxes
  EXPECT_EQ(Headless().MessageBoxes().size(), 1u);
}

TEST_F(GameCycleTest, FortyNineStartsWithNoEnemyLeftIsNoEnd) {
  StartGame(game, kLadder);
  SpawnCount = 49;
  ScriptedDraws draws{499, 499, 499, 499};
  game.RunFrames(1);
  EXPECT_TRUE(Headless().MessageBoxes().empty());
  EXPECT_TRUE(game->Timer1->Enabled());
}

// Only a score greater than the high score is a new high score.
TEST_F(GameCycleTest, EndGameNamesANewHighScoreOnlyWhenTheScoreBeatsIt) {
  const struct {
    int score;
    int high_score;
    const char* text;
    int high_score_after;
  } cases[] = {{0, 0, "終了です", 0},
               {100, 100, "終了です", 100},
               {99, 100, "終了です", 100},
               {101, 100, "ハイスコア更新！", 101}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "score " << c.score << ", high score " << c.high_score);
    HighScore = c.high_score;
    StartGame(game, kLadder);
    Headless().Clear();
    SpawnCount = 50;
    Score = c.score;

    game.RunFrames(1);

    ASSERT_EQ(Headless().MessageBoxes().size(), 1u);
    const auto& box = Headless().MessageBoxes().front();
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption, "Kestrune");
    EXPECT_EQ(box.flags, MB_OK);
    EXPECT_EQ(HighScore, c.high_score_after);
    EXPECT_FALSE(game->Timer1->Enabled());
    EXPECT_EQ(game->Label5->Caption(), "High " + std::to_string(c.high_score));
  }
}

// The box opens over the finished last frame, with the timer off and the
// high score not yet written; the next Start shows the new high score.
TEST_F(GameCycleTest, TheLastFrameIsShownBeforeTheBoxOpens) {
  StartGame(game, kLadder);
  SpawnCount = 50;
  Enemies[0] = TEnemy{100, 130, 0, true};  // falls 5 to 135, where the shot is
  Shots[1] = TShot{100, 143, 0, true};     // climbs to 135
  Shots[2] = TShot{200, 208, 0, true};     // climbs to 200

  bool box_seen = false;
  Headless().AnswerMessageBox = [&](const HeadlessBackend::MessageBoxCall& box) {
    box_seen = true;
    EXPECT_EQ(box.text, "ハイスコア更新！");
    EXPECT_EQ(game.ShownPixel(205, 205), kShotColor);  // shot 2 where this frame put it
    EXPECT_EQ(game.ShownPixel(205, 218), clBlack);     // not where it was
    EXPECT_EQ(game.ShownPixel(110, 145), clBlack);     // the enemy is gone
    EXPECT_EQ(game->Label1->Caption(), "Score 500");
    EXPECT_EQ(HighScore, 0);
    EXPECT_FALSE(game->Timer1->Enabled());
    return IDOK;
  };
  game.RunFrames(1);

  EXPECT_TRUE(box_seen);
  EXPECT_EQ(Score, 500);  // stage 4 times (260 - 135)
  EXPECT_EQ(HighScore, 500);
  EXPECT_EQ(game->Label5->Caption(), "High 0");
  StartGame(game, kLadder);
  EXPECT_EQ(game->Label5->Caption(), "High 500");
}

// Start during a game drops it: no box, and its points never reach the high score.
TEST_F(GameCycleTest, StartDuringAGameBeginsAFreshOne) {
  HighScore = 100;
  StartGame(game, kLadder);
  Score = 300;
  SpawnCount = 20;
  Shots[1] = TShot{50, 50, -20, true};
  Enemies[3] = TEnemy{50, 50, 1, true};

  StartGame(game, kOtherLadder);

  EXPECT_EQ(Score, 0);
  EXPECT_EQ(SpawnCount, 0);
  EXPECT_FALSE(Shots[1].Active);
  EXPECT_FALSE(Enemies[3].Active);
  EXPECT_EQ(CurrentRungs(), kOtherLadder);
  EXPECT_EQ(HighScore, 100);
  EXPECT_EQ(game->Label5->Caption(), "High 100");
  EXPECT_TRUE(Headless().MessageBoxes().empty());
  EXPECT_TRUE(game->Timer1->Enabled());
}

// Start draws the gun where it last stood; the first frame moves it to GunX.
TEST_F(GameCycleTest, StartDrawsTheGunWhereTheLastFrameLeftIt) {
  StartGame(game, kLadder);
  game->Image2->MouseMove(TShiftState{}, 116, 0);
  SpawnCount = 50;
  game.RunFrames(1);  // ends the game with the gun at x 100
  game->Image2->MouseMove(TShiftState{}, 266, 0);

  StartGame(game, kLadder);
  EXPECT_EQ(game.ShownPixel(116, 256), kGunColor);
  EXPECT_EQ(game.ShownPixel(266, 256), clBlack);
  ScriptedDraws draws{499, 499, 499, 499};
  game.RunFrames(1);
  EXPECT_EQ(game.ShownPixel(116, 256), clBlack);
  EXPECT_EQ(game.ShownPixel(266, 256), kGunColor);
}

}  // namespace
}  // namespace kestrune::test
