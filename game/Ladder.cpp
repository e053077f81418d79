// The ladder: a random rung layout, and its drawing.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <stdexcept>

#include "game/Unit1.h"
#include "platform/Random.h"

namespace {

constexpr int kLineCount = 5;            // vertical lines; the column spacing is the width div 5
constexpr int kGapCount = kLineCount - 1;  // rungs 0 to 3 take the gaps 0 to 3, one each
constexpr int kRungFreeBottomRows = 32;  // no rung in the bottom 32 rows, where the gun sits
constexpr int kMinRungDistance = 16;     // in y, between any two rungs of a layout

// True when y keeps its distance from every rung placed so far (0 to placed - 1).
bool IsFreeHeight(const TRung (&layout)[kRungCount], int y, int placed) {
  for (int j = 0; j < placed; ++j)
    if (std::abs(layout[j].Y - y) < kMinRungDistance) return false;
  return true;
}

// True when some height from 0 to heights - 1 is still free for the next rung.
bool HasFreeHeight(const TRung (&layout)[kRungCount], int heights, int placed) {
  for (int y = 0; y < heights; ++y)
    if (IsFreeHeight(layout, y, placed)) return true;
  return false;
}

}  // namespace

void TForm1::MakeLadder() {
  const int heights = Image1->Height - kRungFreeBottomRows;  // a rung's Y is Random(heights)
  // Ten rungs need 9 gaps of 16 stacked from y 0; a shorter field has no layout
  // at all and the draws below would never end.
  if (heights < (kRungCount - 1) * kMinRungDistance + 1)
    throw std::logic_error("the playfield is too short for a ladder of ten rungs");

  // Made aside and stored whole, so that a draw that throws part-way (a
  // frame's fault) leaves the old layout in place, never a mix of the two.
  TRung layout[kRungCount];
  int i = 0;
  while (i < kRungCount) {
    // Rungs 0 to 3 give every gap a rung; the others draw their gap, then their height.
    const int column = i < kGapCount ? i : Random(kGapCount);
    const int y = Random(heights);
    if (!IsFreeHeight(layout, y, i)) continue;  // a rejected candidate is drawn again whole
    layout[i] = TRung{column, y};
    ++i;
    // Eight or nine rungs can cover every height (eight 31 apart do), and then
    // no draw could ever be accepted. Such a layout is dropped and made again
    // from rung 0; the exact test keeps every other layout's draws untouched.
    if (i < kRungCount && !HasFreeHeight(layout, heights, i)) i = 0;
  }
  std::copy(std::begin(layout), std::end(layout), std::begin(Rungs));
}

void TForm1::DrawLadder() {
  TCanvas* canvas = Image1->Canvas();
  canvas->Pen.Color = clWhite;
  const int spacing = Image1->Width / kLineCount;
  const int half = spacing / 2;
  for (int c = 0; c < kLineCount; ++c) {
    canvas->MoveTo(spacing * c + half, 0);
    canvas->LineTo(spacing * c + half, Image1->Height);
  }
  for (const TRung& rung : Rungs) {
    canvas->MoveTo(spacing * rung.Column + half, rung.Y);
    canvas->LineTo(spacing * (rung.Column + 1) + half, rung.Y);
  }
}
