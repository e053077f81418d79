// The hand-drawn pixel maps of assets/: reading one, and writing it as the
// 24-bit BMP file that the sprites and the window icon load.
//
// A map is plain text, one line at a time:
//   # any comment                  ignored anywhere
//   r = 255,0,0 red                a legend line: one character, " = ", then
//                                  red, green and blue from 0 to 255, then an
//                                  optional name
//   ..rr..                         a row of the picture, one character a pixel,
//                                  top row first
// Legend lines come first and the rows after them, with no blank line between
// two rows; a blank line after the rows ends the picture. A legend character
// is any printable character but '#' and '='. Every row has the width of the
// first; every character in a row is in the legend; no two legend lines share
// a character or a colour, so each colour of the picture has one character.
//
// Header-only so that the build tool and the tests use the same reader
// without another library to link.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune::pixmap {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  auto operator<=>(const Rgb&) const = default;
};

// One picture, rows from the top.
struct PixelMap {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;

  Rgb At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
};

// A malformed map. Line() is 1-based; 0 means the fault lies with the whole text.
class MapError : public std::runtime_error {
 public:
  MapError(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// Far beyond any sprite or icon; keeps every size in the BMP headers within 32 bits.
constexpr int kMaxSide = 4096;

namespace detail {

inline std::string Quoted(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x21 && byte <= 0x7E) return std::string("'") + c + "'";
  static constexpr char kHex[] = "0123456789ABCDEF";
  return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 0x0F];
}

inline bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// Reads "R,G,B" at the start of text; returns how many characters it used.
inline std::size_t ReadColour(std::string_view text, int line, Rgb& out) {
  const std::string shape = "legend line must read '<char> = R,G,B [name]'";
  std::uint8_t* parts[3] = {&out.red, &out.green, &out.blue};
  std::size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (at >= text.size() || text[at] != ',') throw MapError(line, shape);
      ++at;
    }
    const std::size_t start = at;
    int value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
      if (value <= 255) value = value * 10 + (text[at] - '0');  // stops growing once out of range
    }
    if (at == start) throw MapError(line, shape);
    if (value > 255)
      throw MapError(line, "colour value " + std::string(text.substr(start, at - start)) + " is out of range 0..255");
    *parts[i] = static_cast<std::uint8_t>(value);
  }
  return at;
}

}  // namespace detail

inline PixelMap ParsePixelMap(std::string_view text) {
  struct LegendEntry {
    Rgb colour;
    int line;
  };
  std::map<char, LegendEntry> legend;
  PixelMap map;
  int first_row_line = 0;
  bool grid_ended = false;

  int line_number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find('\n', pos);
    std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? text.size() : end + 1;
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // tolerate CRLF files

    if (!line.empty() && line.front() == '#') continue;
    if (detail::IsBlank(line)) {
      if (map.height > 0) grid_ended = true;
      continue;
    }
    if (grid_ended) throw MapError(line_number, "text after the blank line that ends the pixel rows");

    // A space or '=' second marks a legend line; neither can stand for a pixel.
    if (line.size() >= 2 && (line[1] == ' ' || line[1] == '=')) {
      if (map.height > 0) throw MapError(line_number, "legend line among the pixel rows (legend lines come first)");
      if (line.substr(1, 3) != " = ") throw MapError(line_number, "legend line must read '<char> = R,G,B [name]'");
      const char key = line[0];
      if (key == '=' || static_cast<unsigned char>(key) < 0x21 || static_cast<unsigned char>(key) > 0x7E)
        throw MapError(line_number, "legend character " + detail::Quoted(key) + " cannot stand for a pixel");
      Rgb colour;
      const std::string_view rest = line.substr(4);
      const std::size_t used = detail::ReadColour(rest, line_number, colour);
      if (used < rest.size() && rest[used] != ' ' && rest[used] != '\t')
        throw MapError(line_number, "legend line must read '<char> = R,G,B [name]'");
      if (const auto found = legend.find(key); found != legend.end())
        throw MapError(line_number, "character " + detail::Quoted(key) + " is already in the legend (line " +
                                        std::to_string(found->second.line) + ")");
      for (const auto& [other_key, entry] : legend) {
        if (entry.colour == colour)
          throw MapError(line_number, "colour " + std::string(line.substr(4, used)) + " is already given to " +
                                          detail::Quoted(other_key) + " (line " + std::to_string(entry.line) + ")");
      }
      legend.emplace(key, LegendEntry{colour, line_number});
      continue;
    }

    // A pixel row.
    if (map.height == 0) {
      if (legend.empty()) throw MapError(line_number, "pixel row before any legend line");
      if (line.size() > static_cast<std::size_t>(kMaxSide))
        throw MapError(line_number, "row is " + std::to_string(line.size()) + " pixels wide, more than " +
                                        std::to_string(kMaxSide));
      map.width = static_cast<int>(line.size());
      first_row_line = line_number;
    } else if (line.size() != static_cast<std::size_t>(map.width)) {
      throw MapError(line_number, "row is " + std::to_string(line.size()) + " pixels wide, but the first row (line " +
                                      std::to_string(first_row_line) + ") is " + std::to_string(map.width));
    }
    if (map.height == kMaxSide) throw MapError(line_number, "more than " + std::to_string(kMaxSide) + " rows");
    for (std::size_t column = 0; column < line.size(); ++column) {
      const auto found = legend.find(line[column]);
      if (found == legend.end())
        throw MapError(line_number, "character " + detail::Quoted(line[column]) + " in column " +
                                        std::to_string(column + 1) + " is not in the legend");
      map.pixels.push_back(found->second.colour);
    }
    ++map.height;
  }
  if (map.height == 0) throw MapError(0, "no pixel rows");
  return map;
}

// The complete BMP file: 14-byte file header, 40-byte info header, no colour
// table, then the rows from the bottom up in blue, green, red order, each row
// padded with zeros to a multiple of 4 bytes.
inline std::vector<std::uint8_t> EncodeBmp24(const PixelMap& map) {
  constexpr std::uint32_t kHeadersSize = 14 + 40;
  constexpr std::uint32_t kPixelsPerMetre = 2834;  // 72 dots per inch
  const auto width = static_cast<std::uint32_t>(map.width);
  const auto height = static_cast<std::uint32_t>(map.height);
  const std::uint32_t row_size = (width * 3 + 3) / 4 * 4;
  const std::uint32_t file_size = kHeadersSize + row_size * height;

  std::vector<std::uint8_t> out;
  out.reserve(file_size);
  auto put16 = [&out](std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto put32 = [&](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };

  out.push_back('B');
  out.push_back('M');
  put32(file_size);
  put16(0);  // reserved
  put16(0);  // reserved
  put32(kHeadersSize);

  put32(40);
  put32(width);
  put32(height);  // positive: rows run bottom-up
  put16(1);       // planes
  put16(24);      // bits per pixel
  put32(0);       // no compression
  put32(0);       // image size, may be 0 when uncompressed
  put32(kPixelsPerMetre);
  put32(kPixelsPerMetre);
  put32(0);  // colours used
  put32(0);  // important colours

  for (int y = map.height - 1; y >= 0; --y) {
    for (int x = 0; x < map.width; ++x) {
      const Rgb c = map.At(x, y);
      out.push_back(c.blue);
      out.push_back(c.green);
      out.push_back(c.red);
    }
    for (std::uint32_t pad = width * 3; pad < row_size; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace kestrune::pixmap
