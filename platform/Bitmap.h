// TBitmap: a colour or monochrome bitmap with its own canvas.
#pragma once

#include "platform/Canvas.h"
#include "platform/Surface.h"

// Owns its pixels and its canvas. Not copyable: Assign makes an independent copy.
class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return surface_.Width(); }
  int Height() const { return surface_.Height(); }
  // Resizing gives a black bitmap of the new size; the old pixels are dropped.
  void SetSize(int width, int height) { surface_.Reset(width, height, surface_.IsMonochrome()); }
  void SetWidth(int width) { SetSize(width, Height()); }
  void SetHeight(int height) { SetSize(Width(), height); }
  bool Empty() const { return surface_.IsEmpty(); }

  bool Monochrome() const { return surface_.IsMonochrome(); }
  // True makes a one-bit bitmap of the same size: white pixels become set
  // bits, all others clear, whatever background colour the canvas has.
  void SetMonochrome(bool monochrome);

  // Makes this bitmap an independent copy of source's pixels, size and format
  // (none empties it); the two share the pixels until either is drawn on. The
  // canvas keeps its own brush, pen and surface colours.
  void Assign(const TBitmap* source);

  TCanvas* Canvas() { return &canvas_; }
  const Surface& Pixels() const { return surface_; }
  Surface& Pixels() { return surface_; }

 private:
  Surface surface_;
  TCanvas canvas_{surface_};
};
