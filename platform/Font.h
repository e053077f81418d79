// A font as the layout describes it; the window back-end finds the nearest one installed.
#pragma once

#include <string>

#include "platform/Color.h"

struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;  // negative: character height in pixels, without leading
  bool Bold = false;
  TColor Color = clBlack;
  friend bool operator==(const TFont&, const TFont&) = default;
};
