// A game from Start to its end: the start, the frame step and the end-of-game box.
#include "platform/Application.h"
#include "platform/RunTime.h"
#include "game/Unit1.h"

void TForm1::Start1Click(TObject* /*Sender*/) {
  Timer1->SetEnabled(false);
  Score = 0;
  Label5->SetCaption("High " + IntToStr(HighScore));
  Label1->SetCaption("Score 0");
  Label2->SetCaption("あと 50");
  SpawnCount = 0;
  for (TShot& shot : Shots) shot.Active = false;
  for (TEnemy& enemy : Enemies) enemy.Active = false;
  Image1->Canvas()->Brush.Color = clBlack;
  Image1->Canvas()->FillRect(Rect(0, 0, Image1->Width, Image1->Height));
  MakeLadder();
  DrawLadder();
  Sprite1->Draw();  // where the gun was last drawn; the first frame moves it to GunX
  Image2->SetPicture(Image1->Picture());
  Timer1->SetEnabled(true);
}

// A frame that throws is lost, not the game. The error box reports it while
// the timer is still off, and only then is the timer switched on again: the
// game goes on 55 ms after the box is closed, and a fault that recurs every
// frame shows one box at a time instead of stacking them.
void TForm1::Timer1Timer(TObject* /*Sender*/) {
  Timer1->SetEnabled(false);
  try {
    Image1->Canvas()->FillRect(Rect(0, 0, Image1->Width, Image1->Height));
    DrawLadder();
    Sprite1->X = GunX;
    Sprite1->Draw();
    MoveObjects();
    CheckHits();
    SpawnEnemies();
    for (int k = 0; k < kShotSlots; ++k) {
      if (!Shots[k].Active) continue;
      ShotSprite(k)->X = Shots[k].X;
      ShotSprite(k)->Y = Shots[k].Y;
      ShotSprite(k)->Draw();
    }
    for (int k = 0; k < kEnemySlots; ++k) {
      if (!Enemies[k].Active) continue;
      EnemySprite(k)->X = Enemies[k].X;
      EnemySprite(k)->Y = Enemies[k].Y;
      EnemySprite(k)->Draw();
    }
    Image2->SetPicture(Image1->Picture());
  } catch (...) {
    Application->HandleException();
  }
  Timer1->SetEnabled(true);
  bool any_enemy_active = false;
  for (const TEnemy& enemy : Enemies) any_enemy_active = any_enemy_active || enemy.Active;
  if (!any_enemy_active && SpawnCount == kEnemiesPerGame) EndGame();
}

void TForm1::EndGame() {
  Timer1->SetEnabled(false);
  if (Score > HighScore) {
    Application->MessageBox("ハイスコア更新！", "Kestrune", MB_OK);
    HighScore = Score;
  } else {
    Application->MessageBox("終了です", "Kestrune", MB_OK);
  }
}
