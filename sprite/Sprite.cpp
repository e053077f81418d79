// The sprite: masks built once when the picture or key colour is set, so that
// drawing is two raster operations, done in one pass, and no allocation.
#include "sprite/Sprite.h"

#include <algorithm>
#include <climits>
#include <cstdint>

TSprite::TSprite(TComponent* owner) : TComponent(owner) {
  FPicture = std::make_unique<TBitmap>();
  FMask = std::make_unique<TBitmap>();
  FImage = std::make_unique<TBitmap>();
  Transparent = true;
  X = 0;
  Y = 0;
  SetCount(1);  // the picture is still empty: Width and Height become 0
  SetIndex(0);  // after Count, or the clamp would give -1
  FColorKey = clBlack;  // stored directly: no masks to build yet
}

TSprite::~TSprite() {
  FPicture.reset();
  FMask.reset();
  FImage.reset();
}

void TSprite::SetPicture(TBitmap* value) {
  if (value == nullptr) {
    // Our choice where the sprite's contract is open: no picture means no
    // masks either, Width and Height 0, and Draw does nothing.
    FPicture.reset();
    FMask.reset();
    FImage.reset();
    SetCount(FCount);
    return;
  }
  if (!FPicture) FPicture = std::make_unique<TBitmap>();
  if (!FMask) FMask = std::make_unique<TBitmap>();
  if (!FImage) FImage = std::make_unique<TBitmap>();
  FPicture->Assign(value);
  FMask->Assign(value);
  FImage->Assign(value);

  TBitmap key_bits;  // one bit a pixel: set where the picture has the key colour
  key_bits.Assign(value);
  key_bits.SetMonochrome(true);
  HDC source = value->Canvas()->Handle();
  const TColor old_background = SetBkColor(source, FColorKey);
  BitBlt(key_bits.Canvas()->Handle(), 0, 0, value->Width(), value->Height(), source, 0, 0, SRCCOPY);
  SetBkColor(source, old_background);
  // Set bits come out in FMask's background colour (white), clear ones in its text colour (black).
  BitBlt(FMask->Canvas()->Handle(), 0, 0, value->Width(), value->Height(), key_bits.Canvas()->Handle(), 0, 0,
         SRCCOPY);
  PatBlt(key_bits.Canvas()->Handle(), 0, 0, value->Width(), value->Height(), DSTINVERT);
  BitBlt(FImage->Canvas()->Handle(), 0, 0, value->Width(), value->Height(), key_bits.Canvas()->Handle(), 0, 0,
         SRCAND);
  SetCount(FCount);
}

void TSprite::SetCount(int value) {
  FCount = value > 0 ? value : 1;
  FWidth = FPicture ? FPicture->Width() / FCount : 0;
  FHeight = FPicture ? FPicture->Height() : 0;
}

void TSprite::SetIndex(int value) { FIndex = value < 0 ? 0 : std::min(value, FCount - 1); }

void TSprite::SetColorKey(TColor value) {
  FColorKey = value;
  if (!FPicture) return;
  TBitmap copy;
  copy.Assign(FPicture.get());
  SetPicture(&copy);
}

void TSprite::Draw() {
  if (Destination == nullptr || !FPicture) return;
  const int dx = Centering ? FWidth / 2 : 0;
  const int dy = Centering ? FHeight / 2 : 0;
  // An Index left past the strip by a lowered Count reads beyond the picture;
  // the surfaces clip that away, so such a frame draws only what exists.
  const auto frame_left = static_cast<int>(
      std::clamp<std::int64_t>(std::int64_t{FWidth} * FIndex, INT_MIN, INT_MAX));
  const auto left = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{X} - dx, INT_MIN, INT_MAX));
  const auto top = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{Y} - dy, INT_MIN, INT_MAX));
  HDC target = Destination->Canvas()->Handle();
  if (Transparent) {
    // SRCAND through FMask, then SRCPAINT from FImage, in one pass over the destination.
    BitBltMasked(target, left, top, FWidth, FHeight, FMask->Canvas()->Handle(), FImage->Canvas()->Handle(),
                 frame_left, 0);
  } else {
    BitBlt(target, left, top, FWidth, FHeight, FPicture->Canvas()->Handle(), frame_left, 0, SRCCOPY);
  }
}
