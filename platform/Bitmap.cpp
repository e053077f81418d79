// Format changes and copies of a bitmap.
#include "platform/Bitmap.h"

void TBitmap::SetMonochrome(bool monochrome) {
  if (monochrome)
    surface_.ConvertToMonochrome();
  else
    surface_.ConvertToColor();
}

void TBitmap::Assign(const TBitmap* source) {
  if (source == this) return;
  if (source == nullptr) {
    surface_.Reset(0, 0, false);
    return;
  }
  surface_.CopyPixelsFrom(source->surface_);
}
