// Reads pictures stored as bytes: 24-bit BMP files and the layout's picture blocks.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

// A picture that cannot be read; the message says what is wrong with it.
class EInvalidGraphic : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Loads a complete BMP file (uncompressed, 24 bits a pixel, rows bottom-up or
// top-down) into bitmap, which becomes a colour bitmap of the file's size.
// Throws EInvalidGraphic, leaving bitmap unchanged, for anything else.
void LoadBmp(TBitmap& bitmap, std::span<const std::uint8_t> file);

// Loads a stored picture block: a 32-bit little-endian byte count n, then n
// bytes that form a BMP file. The count must match the block and the file's
// own size field.
void LoadPictureData(TBitmap& bitmap, std::span<const std::uint8_t> block);

// Writes bitmap as a 24-bit BMP file in the form the game's pictures use.
std::vector<std::uint8_t> SaveBmp(const TBitmap& bitmap);
