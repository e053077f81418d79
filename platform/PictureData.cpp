// The picture loader: every field of a BMP file is checked before a byte of
// pixels is read, so a short or lying file is refused, never over-read.
#include "platform/PictureData.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::int64_t kMaxSide = 16384;  // far beyond any picture of ours; bounds memory

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
         (std::uint32_t{b[at + 3]} << 24);
}
std::int32_t I32(std::span<const std::uint8_t> b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

[[noreturn]] void Fail(const std::string& what) { throw EInvalidGraphic("invalid picture: " + what); }

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

}  // namespace

void LoadBmp(TBitmap& bitmap, std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize)
    Fail("file of " + std::to_string(file.size()) + " bytes is shorter than the 54 bytes of its headers");
  if (file[0] != 'B' || file[1] != 'M') Fail("file does not start with \"BM\"");
  const std::uint32_t size_field = U32(file, 2);
  if (size_field != file.size())
    Fail("file size field says " + std::to_string(size_field) + " bytes but the file has " +
         std::to_string(file.size()));
  const std::uint32_t pixel_offset = U32(file, 10);
  const std::uint32_t info_size = U32(file, 14);
  if (info_size < kInfoHeaderSize || info_size > file.size() - kFileHeaderSize)
    Fail("info header size " + std::to_string(info_size) + " is not supported");
  const std::int64_t width = I32(file, 18);
  const std::int64_t height_field = I32(file, 22);
  const std::uint16_t planes = U16(file, 26);
  const std::uint16_t bits = U16(file, 28);
  const std::uint32_t compression = U32(file, 30);
  if (planes != 1) Fail("plane count is " + std::to_string(planes) + ", not 1");
  if (bits != 24) Fail(std::to_string(bits) + " bits per pixel; only 24-bit pictures are supported");
  if (compression != 0) Fail("compression " + std::to_string(compression) + "; only uncompressed pictures are supported");
  const bool bottom_up = height_field > 0;
  const std::int64_t height = bottom_up ? height_field : -height_field;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
    Fail("size " + std::to_string(width) + " by " + std::to_string(height_field) + " is out of range");
  const std::int64_t row_bytes = (width * 3 + 3) / 4 * 4;
  if (pixel_offset < kFileHeaderSize + info_size)
    Fail("pixel data offset " + std::to_string(pixel_offset) + " lies inside the " +
         std::to_string(kFileHeaderSize + info_size) + " bytes of headers");
  if (pixel_offset > file.size())
    Fail("pixel data offset " + std::to_string(pixel_offset) + " lies past the end of the " +
         std::to_string(file.size()) + "-byte file");
  if (static_cast<std::int64_t>(file.size() - pixel_offset) < row_bytes * height)
    Fail("pixel data is truncated: " + std::to_string(width) + " by " + std::to_string(height) + " needs " +
         std::to_string(row_bytes * height) + " bytes, the file has " + std::to_string(file.size() - pixel_offset));

  TBitmap loaded;
  loaded.SetSize(static_cast<int>(width), static_cast<int>(height));
  Surface& pixels = loaded.Pixels();
  for (std::int64_t row = 0; row < height; ++row) {
    const std::int64_t y = bottom_up ? height - 1 - row : row;
    const std::uint8_t* src = file.data() + pixel_offset + row * row_bytes;
    Surface::Word* dst = pixels.Row(static_cast<int>(y));
    for (std::int64_t x = 0; x < width; ++x, src += 3)
      dst[x] = Surface::WordOf(RGB(src[2], src[1], src[0]));
  }
  bitmap.Assign(&loaded);
}

void LoadPictureData(TBitmap& bitmap, std::span<const std::uint8_t> block) {
  if (block.size() < 4)
    Fail("picture block of " + std::to_string(block.size()) + " bytes has no byte count");
  const std::uint32_t count = U32(block, 0);
  if (count != block.size() - 4)
    Fail("picture block count says " + std::to_string(count) + " bytes but " + std::to_string(block.size() - 4) +
         " follow");
  LoadBmp(bitmap, block.subspan(4));
}

std::vector<std::uint8_t> SaveBmp(const TBitmap& bitmap) {
  const Surface& pixels = bitmap.Pixels();
  const std::uint32_t width = static_cast<std::uint32_t>(pixels.Width());
  const std::uint32_t height = static_cast<std::uint32_t>(pixels.Height());
  const std::uint32_t row_bytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t file_size = static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize) + row_bytes * height;
  std::vector<std::uint8_t> out;
  out.reserve(file_size);
  out.push_back('B');
  out.push_back('M');
  Put32(out, file_size);
  Put32(out, 0);  // two reserved words
  Put32(out, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize));
  Put32(out, static_cast<std::uint32_t>(kInfoHeaderSize));
  Put32(out, width);
  Put32(out, height);  // positive: rows run bottom-up
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, 0);  // image size may be 0 when uncompressed
  Put32(out, 2834);  // 72 dots per inch, in pixels per metre
  Put32(out, 2834);
  Put32(out, 0);
  Put32(out, 0);
  for (std::uint32_t row = 0; row < height; ++row) {
    const int y = static_cast<int>(height - 1 - row);
    for (std::uint32_t x = 0; x < width; ++x) {
      const TColor c = pixels.Pixel(static_cast<int>(x), y);
      out.push_back(GetBValue(c));
      out.push_back(GetGValue(c));
      out.push_back(GetRValue(c));
    }
    for (std::uint32_t pad = width * 3; pad < row_bytes; ++pad) out.push_back(0);
  }
  return out;
}
