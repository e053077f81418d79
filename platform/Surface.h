// Drawing surfaces and their raster operations, with the exact results the
// sprite's masks rely on: bitwise operations and the two monochrome conversions.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Color.h"

// The raster operations the game uses, with their classic ternary codes.
enum class RasterOp : std::uint32_t {
  SrcCopy = 0x00CC0020,    // destination := source
  SrcAnd = 0x008800C6,     // destination := destination AND source
  SrcPaint = 0x00EE0086,   // destination := destination OR source
  DstInvert = 0x00550009,  // destination := NOT destination
};
constexpr RasterOp SRCCOPY = RasterOp::SrcCopy;
constexpr RasterOp SRCAND = RasterOp::SrcAnd;
constexpr RasterOp SRCPAINT = RasterOp::SrcPaint;
constexpr RasterOp DSTINVERT = RasterOp::DstInvert;

// The pixels of one bitmap and the colours that conversions into and out of it
// use. Colour and monochrome pixels are both one 32-bit word, laid out as Qt's
// RGB32 (0xFFRRGGBB) so the window can paint a frame without converting it:
// a set monochrome bit is stored as white, a clear one as black, which makes
// every raster operation a plain bitwise one on words.
class Surface {
 public:
  using Word = std::uint32_t;
  static constexpr Word kOpaque = 0xFF000000u;
  static constexpr Word kRgbMask = 0x00FFFFFFu;
  static constexpr Word WordOf(TColor c) { return kOpaque | (c & kRgbMask); }

  Surface() = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsMonochrome() const { return monochrome_; }
  bool IsEmpty() const { return width_ == 0 || height_ == 0; }

  // The most pixels a surface may hold (1 GiB), as many as the largest picture
  // file the loader accepts.
  static constexpr std::int64_t kMaxPixels = std::int64_t{16384} * 16384;

  // Resizes to width by height, every pixel black (clear); negative sizes
  // count as 0. Throws std::length_error, changing nothing, past kMaxPixels.
  void Reset(int width, int height, bool monochrome);
  // Turns the surface monochrome: a pixel equal to the background colour
  // becomes a set bit, any other a clear one.
  void ConvertToMonochrome();
  void ConvertToColor() { monochrome_ = false; }
  // Takes other's size, format and pixels; keeps this surface's own colours.
  void CopyPixelsFrom(const Surface& other) {
    width_ = other.width_;
    height_ = other.height_;
    monochrome_ = other.monochrome_;
    words_ = other.words_;
  }

  // The colour of a pixel (white or black on a monochrome surface); black outside.
  TColor Pixel(int x, int y) const;
  // Sets one pixel; ignored outside. A monochrome surface sets its bit for white only.
  void SetPixel(int x, int y, TColor c);

  Word* Row(int y) { return words_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
  const Word* Row(int y) const {
    return words_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  const Word* Bits() const { return words_.data(); }
  // Bytes from one row to the next.
  int Stride() const { return width_ * 4; }

  // Fills a rectangle (right and bottom left out), clipped to the surface.
  void Fill(int left, int top, int right, int bottom, TColor c);

  TColor BkColor = clWhite;
  TColor TextColor = clBlack;

 private:
  int width_ = 0;
  int height_ = 0;
  bool monochrome_ = false;
  std::vector<Word> words_;
};

// A surface handle, as drawing calls take it.
using HDC = Surface*;

// Sets the background colour of a surface; returns the one it had.
TColor SetBkColor(HDC dc, TColor color);
TColor SetTextColor(HDC dc, TColor color);

// Combines a width by height block of src at (x_src, y_src) into dst at (x, y).
// The source is first brought to the destination's format: colour into
// monochrome sets a bit where the pixel equals src's background colour;
// monochrome into colour gives dst's background colour for set bits and dst's
// text colour for clear ones. Everything is clipped against both surfaces, so
// nothing outside either is read or written, whatever the coordinates. src and
// dst may be one surface with overlapping blocks: the source is read as it was.
// Returns false only for a missing surface or an operation that needs none.
bool BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int x_src, int y_src, RasterOp rop);

// Applies a destination-only operation (DSTINVERT) to a clipped block.
bool PatBlt(HDC dst, int x, int y, int width, int height, RasterOp rop);
