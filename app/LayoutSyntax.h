// The layout description's text form, read into a tree of objects and their
// stored values. Knows nothing of components: LayoutReader.cpp gives the tree
// its meaning.
//
//   # comment to the end of the line
//   object Name: TClass
//     Property = value          (one property a line, all before nested objects)
//     object Child: TClass
//     end
//   end
//
// Values: integers (-13, +5, $FF), "strings" with \" and \\ escapes,
// identifiers (True, clBlack, Image1, FormCreate), lists of identifiers or
// strings ([fsBold], ["line one", "line two"], []), and picture blocks: either
// picture "gun.bmp" (an embedded BMP file, the count put in front of it) or
// { 0A 00 00 00 42 4D ... } giving every byte of the block, count included.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

struct LayoutValue {
  enum class Kind { Integer, String, Identifier, List, PictureName, PictureBytes };
  Kind kind = Kind::Integer;
  std::int64_t integer = 0;
  std::string text;                 // string contents, identifier or picture name
  std::vector<LayoutValue> items;   // a list's items, identifiers or strings
  std::vector<std::uint8_t> bytes;  // an inline picture block
};

struct LayoutProperty {
  int line = 0;
  std::string name;  // dotted for sub-properties: Font.Name, Picture.Data
  LayoutValue value;
};

struct LayoutObject {
  int line = 0;  // of its "object" line
  std::string name;
  std::string class_name;
  std::vector<LayoutProperty> properties;  // in stored order
  std::vector<std::unique_ptr<LayoutObject>> children;  // in stored order
};

// Deepest nesting of objects that a description may use; the window needs 4.
constexpr int kMaxLayoutDepth = 16;

// Reads text into its root object. Throws LayoutError naming source_name, the
// line, the object and property being read, and what is wrong.
std::unique_ptr<LayoutObject> ParseLayout(std::string_view text, const std::string& source_name);

// How a value reads in an error message: "integer 5", "identifier clBlak", ...
std::string DescribeValue(const LayoutValue& value);

// A name or text from the layout as an error message quotes it: at most 40
// bytes, cut on a character boundary and marked "...", so that no name,
// however long, makes the message more than one short line.
std::string Shorten(std::string_view text);

}  // namespace kestrune
