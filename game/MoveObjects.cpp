// One frame of movement: the shots climb and ride the rungs, then the enemies fall.
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "game/Unit1.h"

namespace {

constexpr int kColumnCount = 5;     // the column spacing is the field's width div 5
constexpr int kLastColumn = kColumnCount - 1;  // the last pixels past five spacings count as column 4
constexpr int kShotHalfWidth = 8;   // X + 8 is the shot's centre
constexpr int kRungProbeY = 4;      // the shot meets a rung when Y + 4 is
constexpr int kRungReach = 5;       // less than 5 from it
constexpr int kClimbStep = 8;
constexpr int kCarryStep = 8;
constexpr int kCarryEndRise = 5;    // lifts the shot clear of the rung it has just crossed
constexpr int kShotGoneAbove = -16;  // a climb that takes Y below this frees the slot

constexpr int kEnemiesPerSpeedStep = 12;
constexpr int kFieldBottom = 273;   // the playfield's height, fixed: an enemy below it is gone

// Pixels an enemy falls a frame: 1, and 1 more for every 12 enemies started so far.
int FallSpeed() { return SpawnCount / kEnemiesPerSpeedStep + 1; }

// One move along a rung; the last one, of what is left under 8, also lifts the shot.
void MoveAlongRung(TShot& shot, int step) {
  shot.X += step;
  shot.DX -= step;
  if (shot.DX == 0) shot.Y -= kCarryEndRise;
}

}  // namespace

void TForm1::MoveObjects() {
  const int s = Image2->Width / kColumnCount;
  // A layout could make the field narrower than five pixels; the columns
  // below divide by s, so that is an error, not a crash.
  if (s == 0) throw std::logic_error("the playfield is too narrow for five columns");

  for (TShot& shot : Shots) {
    if (!shot.Active) continue;
    // Truncates toward zero, so a centre from -s + 1 to -1 still counts as column 0.
    const int column = std::min((shot.X + kShotHalfWidth) / s, kLastColumn);
    if (shot.DX == 0) {
      // Every rung is tested and a later match wins; on a proper ladder at most one matches.
      for (const TRung& rung : Rungs) {
        const bool level = std::abs(rung.Y - (shot.Y + kRungProbeY)) < kRungReach;
        if (rung.Column == column && level) shot.DX = s;
        if (rung.Column == column - 1 && level) shot.DX = -s;
      }
      shot.Y -= kClimbStep;
      if (shot.Y < kShotGoneAbove) shot.Active = false;
    } else if (shot.DX > 0) {
      MoveAlongRung(shot, shot.DX / kCarryStep != 0 ? kCarryStep : shot.DX);
    }
    // Not an else: a shot that has just met a rung on its left moves in this same
    // frame, while one carried right starts in the next.
    if (shot.DX < 0) MoveAlongRung(shot, shot.DX / kCarryStep != 0 ? -kCarryStep : shot.DX);
  }

  for (TEnemy& enemy : Enemies) {
    if (!enemy.Active) continue;
    enemy.Y += FallSpeed();
    if (enemy.Y > kFieldBottom) enemy.Active = false;
  }
}
