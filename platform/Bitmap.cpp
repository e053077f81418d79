// Format changes and copies of a bitmap.
#include "platform/Bitmap.h"

#include <utility>

void TBitmap::SetMonochrome(bool monochrome) {
  if (!monochrome) {
    surface_.ConvertToColor();
    return;
  }
  // The switch works as a copy through a fresh surface, whose background is
  // white, so a colour lent to this canvas for a blit plays no part.
  const TColor background = std::exchange(surface_.BkColor, clWhite);
  surface_.ConvertToMonochrome();
  surface_.BkColor = background;
}

void TBitmap::Assign(const TBitmap* source) {
  if (source == this) return;
  if (source == nullptr) {
    surface_.Reset(0, 0, false);
    return;
  }
  surface_.CopyPixelsFrom(source->surface_);
}
