// TSprite: draws one frame of a picture strip onto an image, with one key
// colour see-through.
//
// Contract:
// - The sprite owns Picture and its two masks; Destination is not owned and
//   must outlive every Draw (the window owns both and frees the sprite first).
// - SetPicture copies the given bitmap (the caller keeps its own) and rebuilds
//   FMask and FImage from it and the current ColorKey, then Width and Height.
// - SetColorKey rebuilds the masks from the picture as it is now, so after
//   changing the picture in place, set ColorKey (even to its present value).
// - SetCount recomputes Width and Height; SetIndex clamps to the strip; a later
//   SetCount leaves Index alone.
// - Draw allocates nothing. See-through, it is SRCAND through FMask then
//   SRCPAINT from FImage, done as one pass (BitBltMasked); opaque, one SRCCOPY.
//   Either is clipped by the surfaces.
#pragma once

#include <memory>

#include "platform/Bitmap.h"
#include "platform/Component.h"
#include "platform/Controls.h"

class TSprite : public TComponent {
 public:
  explicit TSprite(TComponent* owner);
  ~TSprite() override;

  // Null once the picture has been set to none; Draw then draws nothing.
  TBitmap* Picture() const { return FPicture.get(); }
  // Copies value into the sprite and rebuilds the masks; none drops the
  // picture and its masks. The background colour of value's surface is
  // borrowed for the mask build and given back, hence not const.
  void SetPicture(TBitmap* value);

  int Count() const { return FCount; }
  void SetCount(int value);
  int Index() const { return FIndex; }
  void SetIndex(int value);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TColor ColorKey() const { return FColorKey; }
  void SetColorKey(TColor value);

  // Paints the current frame at (X, Y) onto Destination's canvas.
  void Draw();

  // The derived bitmaps, for tests and tools: white where the picture has the
  // key colour, black elsewhere; the picture with key-colour pixels black.
  const TBitmap* Mask() const { return FMask.get(); }
  const TBitmap* KeyedImage() const { return FImage.get(); }

  // The stored fields, in their declared order; the ones with setters are private.
  TImage* Destination = nullptr;

 private:
  int FCount = 0;
  int FIndex = 0;
  int FWidth = 0;
  int FHeight = 0;

 public:
  int X = 0;
  int Y = 0;
  bool Transparent = true;
  bool Centering = false;

 private:
  TColor FColorKey = clBlack;
  std::unique_ptr<TBitmap> FPicture;
  std::unique_ptr<TBitmap> FMask;
  std::unique_ptr<TBitmap> FImage;
};
