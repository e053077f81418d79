// A TForm1 built by hand, headless, as the window's layout would build it, and
// helpers to run its frames and to fix the random numbers it draws.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include "game/Unit1.h"
#include "platform/Random.h"

// Rungs compare and print field by field, for tables of expected layouts.
inline bool operator==(const TRung& a, const TRung& b) { return a.Column == b.Column && a.Y == b.Y; }
inline void PrintTo(const TRung& rung, std::ostream* out) {
  *out << "{column " << rung.Column << ", y " << rung.Y << "}";
}

namespace kestrune::test {

// The colours of the placeholder pictures: each sprite kind has its own, so a
// pixel tells which sprite was drawn last over it. The rest of each picture is
// black, the key colour, and shows what lies underneath.
constexpr TColor kGunColor = clLime;
constexpr TColor kShotColor = clYellow;
constexpr TColor kEnemyColor = clRed;
constexpr TColor kBonusEnemyColor = clFuchsia;

// Sizes of the window's parts, as the layout has them.
constexpr int kFieldWidth = 313;
constexpr int kFieldHeight = 273;
constexpr int kGunSize = 32;
constexpr int kShotSize = 16;
constexpr int kEnemySize = 20;
constexpr int kGunY = 240;

// Owns Form1 for its lifetime: every component created with the form as owner
// and bound to its field, the timer tracked by the headless back-end, and the
// game state zero as at program start.
class TestForm {
 public:
  TestForm();
  ~TestForm();
  TestForm(const TestForm&) = delete;
  TestForm& operator=(const TestForm&) = delete;

  TForm1& form() { return *Form1; }
  TForm1* operator->() { return Form1; }

  // Runs n frames by calling the timer's handler directly.
  void RunFrames(int n);
  // Lets n frame intervals of 55 ms pass on the headless clock; the timer then
  // ticks once in each while it is on.
  void TickFrames(int n);

  // The colour of a pixel of the back buffer, and of what Image2 shows.
  TColor BackPixel(int x, int y);
  TColor ShownPixel(int x, int y) const;
};

// Makes every Random() in its scope take the next scripted value, and records
// the ranges asked for. Throws (from Random) when the script runs out.
class ScriptedDraws {
 public:
  ScriptedDraws() = default;
  ScriptedDraws(std::initializer_list<int> values) : source_(values) {}
  void Push(std::initializer_list<int> values) { source_.Push(values); }
  void Push(int value) { source_.Push(value); }
  ScriptedRandom& source() { return source_; }
  const std::vector<int>& RangesAsked() const { return source_.RangesAsked(); }
  std::size_t Remaining() const { return source_.Remaining(); }

 private:
  ScriptedRandom source_;
  ScopedRandomSource scope_{source_};
};

// Makes every Random() in its scope draw from a generator with a fixed seed.
class SeededDraws {
 public:
  explicit SeededDraws(std::uint64_t seed) : source_(seed) {}

 private:
  SeededRandom source_;
  ScopedRandomSource scope_{source_};
};

using Ladder = std::array<TRung, kRungCount>;

// The draws with which MakeLadder makes exactly this layout, which must meet
// the ladder's rules: a y for each of rungs 0 to 3, then a column and a y for
// each of rungs 4 to 9.
void PushLadderDraws(ScriptedDraws& draws, const Ladder& ladder);
// Puts a layout into the rung table directly.
void SetRungs(const Ladder& ladder);
Ladder CurrentRungs();

// A GoogleTest fixture with a fresh form for each test.
class FormTest : public ::testing::Test {
 protected:
  TestForm game;
};

}  // namespace kestrune::test
