// Drawing surfaces and their raster operations, with the exact results the
// sprite's masks rely on: bitwise operations and the two monochrome conversions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

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
//
// Copies share their pixels until one of them writes (copy on write), so
// showing a finished frame costs no copy. A surface that writes while it
// shares takes a block of its own first: its spare, left by a copy (see
// CopyPixelsFrom), and a new one only where there is none. Writing over the
// whole surface (Fill of everything) skips copying the shared pixels over.
class Surface {
 public:
  using Word = std::uint32_t;
  static constexpr Word kOpaque = 0xFF000000u;
  static constexpr Word kRgbMask = 0x00FFFFFFu;
  static constexpr Word WordOf(TColor c) { return kOpaque | (c & kRgbMask); }

  Surface() = default;
  // A copy shares the pixels and takes the colours; no spare block.
  Surface(const Surface& other);
  Surface& operator=(const Surface& other);
  // The moved-from surface is left empty.
  Surface(Surface&& other) noexcept;
  Surface& operator=(Surface&& other) noexcept;
  ~Surface() = default;

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
  // Takes other's size, format and pixels (shared until either writes); keeps
  // this surface's own colours. The block this surface held before, if no one
  // else holds it, becomes a spare: other's, if other has none and it fits,
  // so that a surface showing the same source frame after frame makes the two
  // flip between two blocks and neither allocates nor copies; else its own.
  void CopyPixelsFrom(const Surface& other);

  // The colour of a pixel (white or black on a monochrome surface); black outside.
  TColor Pixel(int x, int y) const;
  // Sets one pixel; ignored outside. A monochrome surface sets its bit for white only.
  void SetPixel(int x, int y, TColor c);

  // A row for writing: a surface that shares its pixels takes its own first.
  // The pointer is for writing only until the surface is next copied; after
  // that, ask again, or the copy would see the writes.
  Word* Row(int y) { return WritableBits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
  const Word* Row(int y) const { return Bits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
  const Word* Bits() const { return words_.get(); }
  // Every pixel for writing, rows one after another; null when empty.
  Word* WritableBits() { return Unshare(Contents::kKeep); }
  // Bytes from one row to the next.
  int Stride() const { return width_ * 4; }
  // True when another surface holds the same pixels, for tests.
  bool SharesPixelsWith(const Surface& other) const { return words_ != nullptr && words_ == other.words_; }

  // Fills a rectangle (right and bottom left out), clipped to the surface.
  void Fill(int left, int top, int right, int bottom, TColor c);

  TColor BkColor = clWhite;
  TColor TextColor = clBlack;

 private:
  using Block = std::shared_ptr<Word[]>;
  enum class Contents { kKeep, kDiscard };

  std::size_t PixelCount() const { return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_); }
  // A block of count pixels, contents undefined: the spare if it fits, else new.
  Block TakeBlock(std::size_t count);
  // Makes the pixels this surface's alone and returns them; kDiscard is for
  // callers about to overwrite every pixel, who need no copy of the old ones.
  Word* Unshare(Contents contents);

  int width_ = 0;
  int height_ = 0;
  bool monochrome_ = false;
  Block words_;
  // A block no surface shows any more, left by CopyPixelsFrom; reused by the
  // next write that needs a block of its size. A cache, hence mutable.
  mutable Block spare_;
  mutable std::size_t spare_count_ = 0;
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

// A sprite's see-through draw: dst := (dst AND mask) OR image over the block,
// mask and image read at the same place. The result is exactly that of BitBlt
// with SRCAND from mask followed by BitBlt with SRCPAINT from image, and it is
// those two calls where one pass cannot stand for them (a format differs,
// mask and image differ in size, or either is dst); otherwise it is one pass,
// each destination pixel read and written once. False as BitBlt gives it.
bool BitBltMasked(HDC dst, int x, int y, int width, int height, HDC mask, HDC image, int x_src, int y_src);

// Applies a destination-only operation (DSTINVERT) to a clipped block.
bool PatBlt(HDC dst, int x, int y, int width, int height, RasterOp rop);
