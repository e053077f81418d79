// Small value types shared by the drawing surfaces and the components.
#pragma once

#include <cstdint>

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle with its right and bottom edges left out, as every fill uses it.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }

// Which modifier keys and mouse buttons were down during a mouse event.
enum class TShiftFlag : std::uint8_t { Shift = 1, Alt = 2, Ctrl = 4, Left = 8, Right = 16, Middle = 32 };
struct TShiftState {
  std::uint8_t Bits = 0;
  bool Contains(TShiftFlag f) const { return (Bits & static_cast<std::uint8_t>(f)) != 0; }
};
