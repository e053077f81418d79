// The drawing tools of one bitmap: brush fills, pen lines and its surface handle.
#pragma once

#include "platform/Color.h"
#include "platform/Surface.h"
#include "platform/Types.h"

struct TBrush {
  TColor Color = clWhite;
};

struct TPen {
  TColor Color = clBlack;
};

// A canvas draws on the surface of the bitmap that owns it; the brush and pen
// keep their colours until changed. Who calls: the game's frame and ladder.
class TCanvas {
 public:
  explicit TCanvas(Surface& surface) : surface_(surface) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBrush Brush;
  TPen Pen;

  // Fills the rectangle, right and bottom edges left out, with the brush colour.
  void FillRect(const TRect& r);
  void MoveTo(int x, int y);
  // A one-pixel line in the pen colour from the pen position to (x, y), the
  // end point left out; the pen position moves to (x, y).
  void LineTo(int x, int y);
  TPoint PenPos() const { return pen_pos_; }

  HDC Handle() { return &surface_; }

 private:
  void FillClamped(long long left, long long top, long long right, long long bottom, TColor c);

  Surface& surface_;
  TPoint pen_pos_;
};
