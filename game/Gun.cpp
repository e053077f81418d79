// The gun follows the mouse; a click fires a shot.
#include "game/Unit1.h"

namespace {

constexpr int kGunHalfWidth = 16;  // the 32-pixel gun is centred on the pointer
constexpr int kShotOffsetX = 8;    // and the 16-pixel shot on the gun
constexpr int kShotStartY = 250;   // 10 below the gun's top at y 240

}  // namespace

// Not clamped: a pointer near an edge leaves half the gun outside the field.
void TForm1::Image2MouseMove(TObject* /*Sender*/, TShiftState /*Shift*/, int X, int /*Y*/) {
  GunX = X - kGunHalfWidth;
}

// Takes the lowest free slot; with all three shots in flight the click is dropped.
// The shot leaves from the gun as last drawn, not from where the pointer is now.
void TForm1::Image2Click(TObject* /*Sender*/) {
  for (TShot& shot : Shots) {
    if (shot.Active) continue;
    shot.X = Sprite1->X + kShotOffsetX;
    shot.Y = kShotStartY;
    shot.DX = 0;
    shot.Active = true;
    return;
  }
}
