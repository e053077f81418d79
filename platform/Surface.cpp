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

// The kernels every frame runs (fills and the sprite's AND and OR) are built
// twice, for AVX2 and for the x86-64 baseline, and the loader picks one once:
// the program stays distributable and still gets 32-byte vectors where the
// machine has them. Elsewhere they are built once, for the target as given.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__ELF__)
#define KESTRUNE_ROW_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define KESTRUNE_ROW_KERNEL
#endif

// GCC says so with a macro, clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define KESTRUNE_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTRUNE_ADDRESS_SANITIZER
#endif
#endif

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

// ---------------------------------------------------------------------------
// Kernels over blocks of rows. d and s never overlap here (distinct surfaces
// never share a block once the destination has been unshared), so the
// pointers are restrict and every inner loop vectorises without alias checks.

KESTRUNE_ROW_KERNEL
void FillRows(Word* __restrict d, std::ptrdiff_t d_stride, int width, int height, Word value) {
  for (int row = 0; row < height; ++row, d += d_stride)
    for (int i = 0; i < width; ++i) d[i] = value;
}

KESTRUNE_ROW_KERNEL
void FillWords(Word* __restrict d, std::size_t count, Word value) {
  for (std::size_t i = 0; i < count; ++i) d[i] = value;
}

// Below this many bytes the string instruction's start-up costs more than it
// saves (glibc's memset switches at the same size).
[[maybe_unused]] constexpr std::size_t kStringFillBytes = 2048;

// A run of rows one after another, such as the frame's clear. Black is not one
// repeated byte (it is 0xFF000000), so memset cannot do it; on x86-64 the
// 32-bit string store is what memset itself uses at this size, and unlike
// vector stores it need not read each cache line before writing it, which
// makes it a third faster here. Sanitizer builds keep the loop, which they
// can check.
void FillRun(Word* d, std::size_t count, Word value) {
#if defined(__x86_64__) && defined(__GNUC__) && !defined(KESTRUNE_ADDRESS_SANITIZER)
  if (count * sizeof(Word) >= kStringFillBytes) {
    asm volatile("rep stosl" : "+D"(d), "+c"(count) : "a"(value) : "memory");
    return;
  }
#endif
  FillWords(d, count, value);
}

KESTRUNE_ROW_KERNEL
void AndRows(Word* __restrict d, std::ptrdiff_t d_stride, const Word* __restrict s, std::ptrdiff_t s_stride,
             int width, int height) {
  for (int row = 0; row < height; ++row, d += d_stride, s += s_stride)
    for (int i = 0; i < width; ++i) d[i] &= s[i];
}

KESTRUNE_ROW_KERNEL
void OrRows(Word* __restrict d, std::ptrdiff_t d_stride, const Word* __restrict s, std::ptrdiff_t s_stride,
            int width, int height) {
  for (int row = 0; row < height; ++row, d += d_stride, s += s_stride)
    for (int i = 0; i < width; ++i) d[i] |= s[i];
}

KESTRUNE_ROW_KERNEL
void AndOrRows(Word* __restrict d, std::ptrdiff_t d_stride, const Word* __restrict m, const Word* __restrict s,
               std::ptrdiff_t s_stride, int width, int height) {
  for (int row = 0; row < height; ++row, d += d_stride, m += s_stride, s += s_stride)
    for (int i = 0; i < width; ++i) d[i] = (d[i] & m[i]) | s[i];
}

void CopyRows(Word* d, std::ptrdiff_t d_stride, const Word* s, std::ptrdiff_t s_stride, int width, int height) {
  const std::size_t bytes = static_cast<std::size_t>(width) * sizeof(Word);
  for (int row = 0; row < height; ++row, d += d_stride, s += s_stride) std::memcpy(d, s, bytes);
}

// ---------------------------------------------------------------------------
// The general path: format conversions and blocks moved within one surface.

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
  // Unshared first: a block shared with src is replaced here, and when src is
  // dst its pixels are read from the replacement.
  Word* const d0 = dst.WritableBits();
  const Word* const s0 = src.Bits();
  const std::ptrdiff_t d_stride = dst.Width();
  const std::ptrdiff_t s_stride = src.Width();
  Word* const d_first = d0 + ys.dst * d_stride + xs.dst;
  const Word* const s_first = s0 + ys.src * s_stride + xs.src;
  const bool same_surface = &dst == &src;
  if constexpr (std::is_same_v<Convert, SameFormat>) {
    if (!same_surface) {
      switch (rop) {
        case RasterOp::SrcCopy: return CopyRows(d_first, d_stride, s_first, s_stride, xs.length, ys.length);
        case RasterOp::SrcAnd: return AndRows(d_first, d_stride, s_first, s_stride, xs.length, ys.length);
        case RasterOp::SrcPaint: return OrRows(d_first, d_stride, s_first, s_stride, xs.length, ys.length);
        case RasterOp::DstInvert: break;
      }
    }
  }
  // A block moved within one surface reads every source pixel before it is
  // overwritten: rows run bottom-up when moving down, and a row moved right
  // within itself runs right to left.
  const bool bottom_up = same_surface && ys.dst > ys.src;
  const bool right_to_left = same_surface && ys.dst == ys.src && xs.dst > xs.src;
  for (int i = 0; i < ys.length; ++i) {
    const int row = bottom_up ? ys.length - 1 - i : i;
    Word* d = d_first + row * d_stride;
    const Word* s = s_first + row * s_stride;
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

// ---------------------------------------------------------------------------
// Surface

Surface::Surface(const Surface& other)
    : BkColor(other.BkColor),
      TextColor(other.TextColor),
      width_(other.width_),
      height_(other.height_),
      monochrome_(other.monochrome_),
      words_(other.words_) {}

Surface& Surface::operator=(const Surface& other) {
  if (&other == this) return *this;
  BkColor = other.BkColor;
  TextColor = other.TextColor;
  width_ = other.width_;
  height_ = other.height_;
  monochrome_ = other.monochrome_;
  words_ = other.words_;
  return *this;
}

Surface::Surface(Surface&& other) noexcept
    : BkColor(other.BkColor),
      TextColor(other.TextColor),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      monochrome_(other.monochrome_),
      words_(std::move(other.words_)),
      spare_(std::move(other.spare_)),
      spare_count_(std::exchange(other.spare_count_, 0)) {}

Surface& Surface::operator=(Surface&& other) noexcept {
  if (&other == this) return *this;
  BkColor = other.BkColor;
  TextColor = other.TextColor;
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  monochrome_ = other.monochrome_;
  words_ = std::move(other.words_);
  spare_ = std::move(other.spare_);
  spare_count_ = std::exchange(other.spare_count_, 0);
  return *this;
}

Surface::Block Surface::TakeBlock(std::size_t count) {
  Block spare = std::move(spare_);
  const bool fits = spare != nullptr && spare_count_ == count && spare.use_count() == 1;
  spare_count_ = 0;
  // A spare of another size is stale: freed here rather than kept.
  return fits ? std::move(spare) : std::make_shared_for_overwrite<Word[]>(count);
}

Surface::Word* Surface::Unshare(Contents contents) {
  if (words_ == nullptr || words_.use_count() == 1) return words_.get();
  const std::size_t count = PixelCount();
  Block own = TakeBlock(count);
  if (contents == Contents::kKeep) std::memcpy(own.get(), words_.get(), count * sizeof(Word));
  words_ = std::move(own);
  return words_.get();
}

void Surface::Reset(int width, int height, bool monochrome) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const std::int64_t pixels = std::int64_t{width} * height;
  // Refused before anything changes: an absurd size would otherwise exhaust
  // memory or be killed for it, far from the value that caused it.
  if (pixels > kMaxPixels)
    throw std::length_error("a bitmap of " + std::to_string(width) + " by " + std::to_string(height) +
                            " pixels is larger than the " + std::to_string(kMaxPixels) + " pixels a bitmap may have");
  const auto count = static_cast<std::size_t>(pixels);
  // The old block is reused when it is ours alone and of the right size.
  const bool reuse = words_ != nullptr && words_.use_count() == 1 && PixelCount() == count;
  if (!reuse) words_ = count == 0 ? nullptr : TakeBlock(count);
  width_ = width;
  height_ = height;
  monochrome_ = monochrome;
  if (count != 0) FillRun(words_.get(), count, kOpaque);
}

void Surface::ConvertToMonochrome() {
  if (monochrome_) return;
  const Word background = WordOf(BkColor);
  Word* words = WritableBits();
  const std::size_t count = PixelCount();
  for (std::size_t i = 0; i < count; ++i) words[i] = (words[i] == background) ? 0xFFFFFFFFu : kOpaque;
  monochrome_ = true;
}

void Surface::CopyPixelsFrom(const Surface& other) {
  if (&other == this) return;
  const std::size_t old_count = PixelCount();
  Block old = std::exchange(words_, other.words_);
  width_ = other.width_;
  height_ = other.height_;
  monochrome_ = other.monochrome_;
  if (old == nullptr || old.use_count() != 1) return;
  // The old block goes to other, which writes next in the usual pattern (the
  // back buffer, shown every frame); if other has a spare already, this
  // surface keeps it as its own, for when it is written to itself (a mask
  // made as a copy of its picture, then drawn over).
  if (other.spare_ == nullptr && old_count == other.PixelCount()) {
    other.spare_ = std::move(old);
    other.spare_count_ = old_count;
  } else {
    spare_ = std::move(old);
    spare_count_ = old_count;
  }
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
  const bool whole_rows = left == 0 && right == width_;
  const bool everything = whole_rows && top == 0 && bottom == height_;
  Word* const first = Unshare(everything ? Contents::kDiscard : Contents::kKeep) +
                      static_cast<std::ptrdiff_t>(top) * width_ + left;
  if (whole_rows) {
    // Rows one after another are one run: the frame's clear is a single fill.
    FillRun(first, static_cast<std::size_t>(bottom - top) * static_cast<std::size_t>(width_), w);
  } else if (right - left == 1) {
    // A column (the ladder's lines): one store a row, no vector set-up. The
    // stride is held locally, since a store through first could alias width_.
    const std::ptrdiff_t stride = width_;
    Word* d = first;
    for (int y = top; y < bottom; ++y, d += stride) *d = w;
  } else {
    FillRows(first, width_, right - left, bottom - top, w);
  }
}

// ---------------------------------------------------------------------------
// Drawing calls

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

bool BitBltMasked(HDC dst, int x, int y, int width, int height, HDC mask, HDC image, int x_src, int y_src) {
  const bool one_pass = dst != nullptr && mask != nullptr && image != nullptr && mask != dst && image != dst &&
                        mask->Width() == image->Width() && mask->Height() == image->Height() &&
                        mask->IsMonochrome() == dst->IsMonochrome() && image->IsMonochrome() == dst->IsMonochrome();
  if (!one_pass) {
    const bool anded = BitBlt(dst, x, y, width, height, mask, x_src, y_src, SRCAND);
    const bool painted = BitBlt(dst, x, y, width, height, image, x_src, y_src, SRCPAINT);
    return anded && painted;
  }
  // mask and image have one size, so one clip serves both.
  const Span xs = ClipAxis(x, x_src, width, dst->Width(), mask->Width());
  const Span ys = ClipAxis(y, y_src, height, dst->Height(), mask->Height());
  if (xs.length == 0 || ys.length == 0) return true;
  const std::ptrdiff_t d_stride = dst->Width();
  const std::ptrdiff_t s_stride = mask->Width();
  Word* const d = dst->WritableBits() + ys.dst * d_stride + xs.dst;
  const std::ptrdiff_t s_offset = ys.src * s_stride + xs.src;
  AndOrRows(d, d_stride, mask->Bits() + s_offset, image->Bits() + s_offset, s_stride, xs.length, ys.length);
  return true;
}

bool PatBlt(HDC dst, int x, int y, int width, int height, RasterOp rop) {
  if (dst == nullptr || rop != RasterOp::DstInvert) return false;
  const Span xs = ClipAxis(x, x, width, dst->Width(), dst->Width());
  const Span ys = ClipAxis(y, y, height, dst->Height(), dst->Height());
  if (xs.length == 0 || ys.length == 0) return true;
  Word* const first = dst->WritableBits() + static_cast<std::ptrdiff_t>(ys.dst) * dst->Width() + xs.dst;
  for (int row = 0; row < ys.length; ++row) {
    Word* d = first + static_cast<std::ptrdiff_t>(row) * dst->Width();
    for (int i = 0; i < xs.length; ++i) d[i] ^= Surface::kRgbMask;
  }
  return true;
}
