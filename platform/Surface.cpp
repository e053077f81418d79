// Raster operations written by hand: their exact bitwise and conversion
// results are what the sprite's masks depend on, and no library offers them.
#include "platform/Surface.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

namespace {

using Word = Surface::Word;

// One axis of a blit after clipping: where to start in each surface and how far.
struct Span {
  int dst = 0;
  int src = 0;
  int length = 0;
};

// Clips [dst, dst + length) to [0, dst_size) and [src, src + length) to
// [0, src_size) together. 64-bit arithmetic keeps huge coordinates from overflowing.
Span ClipAxis(std::int64_t dst, std::int64_t src, std::int64_t length, std::int64_t dst_size,
              std::int64_t src_size) {
  if (length <= 0) return {};
  std::int64_t skip = std::max<std::int64_t>({0, -dst, -src});
  dst += skip;
  src += skip;
  length -= skip;
  length = std::min({length, dst_size - dst, src_size - src});
  if (length <= 0) return {};
  return {static_cast<int>(dst), static_cast<int>(src), static_cast<int>(length)};
}

// The source word as the destination sees it, for each pair of formats.
struct SameFormat {
  Word operator()(Word s) const { return s; }
};
struct ColorToMono {
  Word background;
  Word operator()(Word s) const { return s == background ? 0xFFFFFFFFu : Surface::kOpaque; }
};
struct MonoToColor {
  Word background;
  Word text;
  // A set bit is stored as all-ones, so a mask selects between the two colours
  // without a branch, which keeps the loop vectorisable.
  Word operator()(Word s) const {
    Word set = Word{0} - ((s >> 23) & 1u);
    return (background & set) | (text & ~set);
  }
};

template <typename Convert>
void CombineRow(Word* d, const Word* s, int n, RasterOp rop, Convert convert) {
  switch (rop) {
    case RasterOp::SrcCopy:
      for (int i = 0; i < n; ++i) d[i] = convert(s[i]);
      break;
    case RasterOp::SrcAnd:
      for (int i = 0; i < n; ++i) d[i] &= convert(s[i]);
      break;
    case RasterOp::SrcPaint:
      for (int i = 0; i < n; ++i) d[i] |= convert(s[i]);
      break;
    case RasterOp::DstInvert:
      for (int i = 0; i < n; ++i) d[i] ^= Surface::kRgbMask;
      break;
  }
}

// Within one row of one surface, a block moved right must be combined from its
// right end, or it would read pixels it has already written.
void CombineRowBackward(Word* d, const Word* s, int n, RasterOp rop) {
  for (int i = n - 1; i >= 0; --i) {
    if (rop == RasterOp::SrcAnd)
      d[i] &= s[i];
    else if (rop == RasterOp::SrcPaint)
      d[i] |= s[i];
    else
      d[i] = s[i];
  }
}

template <typename Convert>
void CombineBlock(Surface& dst, const Surface& src, Span xs, Span ys, RasterOp rop, Convert convert) {
  // A block moved within one surface reads every source pixel before it is
  // overwritten: rows run bottom-up when moving down, and a row moved right
  // within itself runs right to left.
  const bool same_surface = &dst == &src;
  const bool bottom_up = same_surface && ys.dst > ys.src;
  const bool right_to_left = same_surface && ys.dst == ys.src && xs.dst > xs.src;
  for (int i = 0; i < ys.length; ++i) {
    const int row = bottom_up ? ys.length - 1 - i : i;
    Word* d = dst.Row(ys.dst + row) + xs.dst;
    const Word* s = src.Row(ys.src + row) + xs.src;
    if constexpr (std::is_same_v<Convert, SameFormat>) {
      if (rop == RasterOp::SrcCopy) {
        std::memmove(d, s, static_cast<std::size_t>(xs.length) * sizeof(Word));
        continue;
      }
      if (right_to_left) {
        CombineRowBackward(d, s, xs.length, rop);
        continue;
      }
    }
    CombineRow(d, s, xs.length, rop, convert);
  }
}

bool NeedsSource(RasterOp rop) { return rop != RasterOp::DstInvert; }

}  // namespace

void Surface::Reset(int width, int height, bool monochrome) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const std::int64_t pixels = std::int64_t{width} * height;
  // Refused before anything changes: an absurd size would otherwise exhaust
  // memory or be killed for it, far from the value that caused it.
  if (pixels > kMaxPixels)
    throw std::length_error("a bitmap of " + std::to_string(width) + " by " + std::to_string(height) +
                            " pixels is larger than the " + std::to_string(kMaxPixels) + " pixels a bitmap may have");
  words_.assign(static_cast<std::size_t>(pixels), kOpaque);
  width_ = width;
  height_ = height;
  monochrome_ = monochrome;
}

void Surface::ConvertToMonochrome() {
  if (monochrome_) return;
  const Word background = WordOf(BkColor);
  for (Word& w : words_) w = (w == background) ? 0xFFFFFFFFu : kOpaque;
  monochrome_ = true;
}

TColor Surface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clBlack;
  return Row(y)[x] & kRgbMask;
}

void Surface::SetPixel(int x, int y, TColor c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  if (monochrome_) c = (c & kRgbMask) == clWhite ? clWhite : clBlack;
  Row(y)[x] = WordOf(c);
}

void Surface::Fill(int left, int top, int right, int bottom, TColor c) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (left >= right || top >= bottom) return;
  if (monochrome_) c = (c & kRgbMask) == clWhite ? clWhite : clBlack;
  const Word w = WordOf(c);
  for (int y = top; y < bottom; ++y) std::fill(Row(y) + left, Row(y) + right, w);
}

TColor SetBkColor(HDC dc, TColor color) {
  if (dc == nullptr) return clBlack;
  return std::exchange(dc->BkColor, color & Surface::kRgbMask);
}

TColor SetTextColor(HDC dc, TColor color) {
  if (dc == nullptr) return clBlack;
  return std::exchange(dc->TextColor, color & Surface::kRgbMask);
}

bool BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int x_src, int y_src, RasterOp rop) {
  if (dst == nullptr) return false;
  if (!NeedsSource(rop)) return PatBlt(dst, x, y, width, height, rop);
  if (src == nullptr) return false;
  const Span xs = ClipAxis(x, x_src, width, dst->Width(), src->Width());
  const Span ys = ClipAxis(y, y_src, height, dst->Height(), src->Height());
  if (xs.length == 0 || ys.length == 0) return true;
  if (src->IsMonochrome() == dst->IsMonochrome()) {
    CombineBlock(*dst, *src, xs, ys, rop, SameFormat{});
  } else if (dst->IsMonochrome()) {
    CombineBlock(*dst, *src, xs, ys, rop, ColorToMono{Surface::WordOf(src->BkColor)});
  } else {
    CombineBlock(*dst, *src, xs, ys, rop,
                 MonoToColor{Surface::WordOf(dst->BkColor), Surface::WordOf(dst->TextColor)});
  }
  return true;
}

bool PatBlt(HDC dst, int x, int y, int width, int height, RasterOp rop) {
  if (dst == nullptr || rop != RasterOp::DstInvert) return false;
  const Span xs = ClipAxis(x, x, width, dst->Width(), dst->Width());
  const Span ys = ClipAxis(y, y, height, dst->Height(), dst->Height());
  for (int row = 0; row < ys.length; ++row) {
    Word* d = dst->Row(ys.dst + row) + xs.dst;
    for (int i = 0; i < xs.length; ++i) d[i] ^= Surface::kRgbMask;
  }
  return true;
}
