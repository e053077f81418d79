// Colours as the game and its layout name them: 24-bit RGB, red in the high byte.
#pragma once

#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor RGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return (TColor{red} << 16) | (TColor{green} << 8) | TColor{blue};
}
constexpr std::uint8_t GetRValue(TColor c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr std::uint8_t GetGValue(TColor c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t GetBValue(TColor c) { return static_cast<std::uint8_t>(c); }

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clFuchsia = RGB(255, 0, 255);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clOlive = RGB(128, 128, 0);
constexpr TColor clTeal = RGB(0, 128, 128);
constexpr TColor clPurple = RGB(128, 0, 128);

// A system colour stands for whatever the desktop uses for that role; only the
// window back-end resolves it. Drawing surfaces never see one.
constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor clWindow = kSystemColorFlag | 5;
constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) != 0; }
