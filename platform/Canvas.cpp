// Brush fills and pen lines on a bitmap's surface.
#include "platform/Canvas.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {
int ClampToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }
}  // namespace

void TCanvas::FillClamped(long long left, long long top, long long right, long long bottom, TColor c) {
  surface_.Fill(ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom), c);
}

void TCanvas::FillRect(const TRect& r) { surface_.Fill(r.Left, r.Top, r.Right, r.Bottom, Brush.Color); }

void TCanvas::MoveTo(int x, int y) { pen_pos_ = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  const TPoint from = pen_pos_;
  pen_pos_ = {x, y};
  if (from.Y == y) {  // horizontal: the game's rungs
    const long long left = from.X < x ? from.X : x + 1LL;
    const long long right = from.X < x ? x : from.X + 1LL;
    FillClamped(left, y, right, y + 1LL, Pen.Color);
    return;
  }
  if (from.X == x) {  // vertical: the game's ladder lines
    const long long top = from.Y < y ? from.Y : y + 1LL;
    const long long bottom = from.Y < y ? y : from.Y + 1LL;
    FillClamped(x, top, x + 1LL, bottom, Pen.Color);
    return;
  }
  // Any other slope: each step along the longer axis gets the nearest pixel on
  // the shorter one. Only the steps that can land on the surface are walked,
  // so far-away end points cost nothing.
  const long long dx = static_cast<long long>(x) - from.X;
  const long long dy = static_cast<long long>(y) - from.Y;
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const long long steps = x_major ? std::llabs(dx) : std::llabs(dy);
  const long long major_start = x_major ? from.X : from.Y;
  const long long major_dir = (x_major ? dx : dy) > 0 ? 1 : -1;
  const long long major_size = x_major ? surface_.Width() : surface_.Height();
  // Steps i with 0 <= major_start + major_dir * i < major_size.
  long long first = major_dir > 0 ? -major_start : major_start - (major_size - 1);
  long long last = major_dir > 0 ? major_size - 1 - major_start : major_start;
  first = std::max(first, 0LL);
  last = std::min(last, steps - 1);
  const long long minor_delta = x_major ? dy : dx;
  const long long minor_start = x_major ? from.Y : from.X;
  for (long long i = first; i <= last; ++i) {
    const long long num = 2 * i * minor_delta + steps;  // round half up
    const long long minor = minor_start + (num >= 0 ? num / (2 * steps) : -((-num + 2 * steps - 1) / (2 * steps)));
    const long long major = major_start + major_dir * i;
    if (x_major)
      surface_.SetPixel(static_cast<int>(major), static_cast<int>(minor), Pen.Color);
    else
      surface_.SetPixel(static_cast<int>(minor), static_cast<int>(major), Pen.Color);
  }
}
