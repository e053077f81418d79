// Enemies: hits and scoring, and starting new ones.
#include <cstdlib>

#include "game/Unit1.h"
#include "platform/Random.h"
#include "platform/RunTime.h"

namespace {

constexpr int kHitReach = 10;         // a hit: top-left corners less than 10 apart in x and in y
constexpr int kPointsLine = 260;      // an enemy is worth 260 - Y: more the higher it is hit
constexpr int kBonusPoints = 100;     // per Kind: the bonus enemy of slot 3 is worth 100 more
constexpr int kEnemiesPerStage = 15;  // every 15th start raises the stage and brings a new ladder

constexpr int kStartOdds = 500;       // an idle slot starts an enemy with chance (SpawnCount + 10) / 500
constexpr int kBaseStartChance = 10;
constexpr int kEnemyOverhang = 10;    // X from -10: the enemy's centre can lie anywhere across the field
constexpr int kBonusSlot = 3;

// The points factor, read from SpawnCount when a hit happens, not when the enemy started.
int Stage() { return SpawnCount / kEnemiesPerStage + 1; }

}  // namespace

// Every active shot is tested against each active enemy, so two shots in reach
// of one enemy both score; a shot freed by a hit is skipped for later enemies.
void TForm1::CheckHits() {
  for (TEnemy& enemy : Enemies) {
    if (!enemy.Active) continue;
    for (TShot& shot : Shots) {
      if (!shot.Active) continue;
      if (std::abs(shot.X - enemy.X) >= kHitReach || std::abs(shot.Y - enemy.Y) >= kHitReach) continue;
      const int points = Stage() * (enemy.Kind * kBonusPoints + kPointsLine - enemy.Y);
      Label3->SetCaption(IntToStr(points));
      Score += points;
      enemy.Active = false;
      shot.Active = false;
      Label1->SetCaption("Score " + IntToStr(Score));
    }
  }
}

// Each start counts at once, so it raises the next slot's chance in the same frame.
void TForm1::SpawnEnemies() {
  for (int i = 0; i < kEnemySlots; ++i) {
    TEnemy& enemy = Enemies[i];
    if (enemy.Active || SpawnCount >= kEnemiesPerGame) continue;
    const int r = Random(kStartOdds);
    if (r >= SpawnCount + kBaseStartChance) continue;
    enemy.X = Random(Image2->Width) - kEnemyOverhang;
    enemy.Active = true;
    enemy.Y = 0;
    enemy.Kind = i == kBonusSlot ? 1 : 0;
    ++SpawnCount;
    // The count is shown before the ladder is rebuilt, so that a rebuild that
    // throws cannot leave the label behind the count.
    Label2->SetCaption("あと " + IntToStr(kEnemiesPerGame - SpawnCount));
    // The new ladder is drawn, and read by the shots, from the next frame on.
    if (SpawnCount % kEnemiesPerStage == 0) MakeLadder();
  }
}
