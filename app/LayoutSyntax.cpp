// Reads the layout text into objects and values. Every byte is looked at
// through one bounds-checked cursor, so no input, however broken, is over-read.
#include "app/LayoutSyntax.h"

#include <cstddef>
#include <optional>

#include "app/LayoutReader.h"

namespace kestrune {

namespace {

constexpr int kMaxDecimalDigits = 18;  // stays inside int64; ranges are checked later
constexpr int kMaxHexDigits = 8;       // a 32-bit value, the widest the layout stores
constexpr std::size_t kQuotedTextLimit = 40;

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The offset of the first byte that is not part of well-formed UTF-8, if any.
std::optional<std::size_t> FindBadUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    std::uint32_t min = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, min = 0x80, code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, min = 0x800, code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, min = 0x10000, code = lead & 0x07u;
    } else {
      return i;
    }
    if (text.size() - i < length) return i;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return i;
      code = (code << 6) | (next & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return i;
    i += length;
  }
  return std::nullopt;
}

std::string HexByte(unsigned char c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[c >> 4] + kDigits[c & 0xF];
}

struct Token {
  enum class Kind { End, Newline, Identifier, Integer, String, Punct };
  Kind kind = Kind::End;
  std::string text;  // identifier, string contents, punctuation, or the number as written
  std::int64_t integer = 0;
  int line = 0;
  int column = 0;  // bytes from the start of its line, for the missing-'end' hint
};

std::string Describe(const Token& t) {
  switch (t.kind) {
    case Token::Kind::End: return "end of file";
    case Token::Kind::Newline: return "end of line";
    case Token::Kind::Identifier: return "'" + Shorten(t.text) + "'";
    case Token::Kind::Integer: return "number " + t.text;
    case Token::Kind::String: return "string \"" + Shorten(t.text) + "\"";
    case Token::Kind::Punct: return "'" + t.text + "'";
  }
  return "?";
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& source_name) : text_(text), source_(source_name) {}

  std::unique_ptr<LayoutObject> ParseFile() {
    if (const auto bad = FindBadUtf8(text_)) {
      int line = 1;
      for (std::size_t i = 0; i < *bad; ++i)
        if (text_[i] == '\n') ++line;
      Fail(line, "text is not valid UTF-8 (byte " + HexByte(static_cast<unsigned char>(text_[*bad])) + ")");
    }
    if (text_.starts_with("\xEF\xBB\xBF")) pos_ = line_start_ = 3;

    SkipNewlines();
    const Token first = Next();
    if (!IsWord(first, "object")) Fail(first.line, "expected 'object' to start the layout, found " + Describe(first));
    auto root = ParseObject(first, 1);
    object_.clear();
    property_.clear();
    SkipNewlines();
    const Token after = Next();
    if (after.kind != Token::Kind::End)
      Fail(after.line, "unexpected " + Describe(after) + " after the 'end' of " + Shorten(root->name));
    return root;
  }

 private:
  // --- Errors ---------------------------------------------------------------

  [[noreturn]] void Fail(int line, const std::string& what) const {
    std::string where;
    if (!object_.empty())
      where = property_.empty() ? Shorten(object_) + ": " : Shorten(object_) + "." + Shorten(property_) + ": ";
    throw LayoutError(source_ + ":" + std::to_string(line) + ": " + where + what);
  }

  // --- Characters -----------------------------------------------------------

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(std::size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }
  int Column() const { return static_cast<int>(pos_ - line_start_); }
  void NewLine() {
    ++pos_;
    ++line_;
    line_start_ = pos_;
  }

  // Spaces, tabs, carriage returns and comments; not line ends.
  void SkipBlanks() {
    while (!AtEnd()) {
      const char c = Peek();
      if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '#') {
        while (!AtEnd() && Peek() != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  // Names what the character at the cursor is, for "unexpected ..." messages.
  std::string DescribeCharacter() const {
    const auto c = static_cast<unsigned char>(Peek());
    if (c >= 0x80) {
      std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;  // the text is valid UTF-8 by now
      return "character '" + std::string(text_.substr(pos_, length)) + "'";
    }
    if (c < 0x20 || c == 0x7F) return "control character " + HexByte(c);
    return std::string("character '") + static_cast<char>(c) + "'";
  }

  // --- Tokens ---------------------------------------------------------------

  Token Scan() {
    SkipBlanks();
    Token t;
    t.line = line_;
    t.column = Column();
    if (AtEnd()) return t;
    const char c = Peek();
    if (c == '\n') {
      NewLine();
      t.kind = Token::Kind::Newline;
    } else if (IsIdentStart(c)) {
      ScanIdentifier(t);
    } else if (IsDigit(c) || ((c == '-' || c == '+') && IsDigit(Peek(1)))) {
      ScanDecimal(t);
    } else if (c == '$') {
      ScanHex(t);
    } else if (c == '"') {
      ScanString(t);
    } else if (c == '=' || c == ':' || c == '[' || c == ']' || c == '{' || c == '}' || c == ',') {
      ++pos_;
      t.kind = Token::Kind::Punct;
      t.text = std::string(1, c);
    } else {
      Fail(line_, "unexpected " + DescribeCharacter());
    }
    return t;
  }

  void ScanIdentifier(Token& t) {
    t.kind = Token::Kind::Identifier;
    const std::size_t start = pos_;
    for (;;) {
      while (IsIdentChar(Peek())) ++pos_;
      if (Peek() != '.') break;
      ++pos_;
      if (!IsIdentStart(Peek()))
        Fail(line_, "bad name '" + Shorten(text_.substr(start, pos_ - start)) + "': a part after '.' is missing");
    }
    t.text = std::string(text_.substr(start, pos_ - start));
  }

  void ScanDecimal(Token& t) {
    t.kind = Token::Kind::Integer;
    const std::size_t start = pos_;
    const bool negative = Peek() == '-';
    if (Peek() == '-' || Peek() == '+') ++pos_;
    std::int64_t value = 0;
    int digits = 0;
    while (IsDigit(Peek())) {
      if (++digits > kMaxDecimalDigits) {
        while (IsDigit(Peek())) ++pos_;
        Fail(line_, "number " + Shorten(text_.substr(start, pos_ - start)) + " is out of range");
      }
      value = value * 10 + (Peek() - '0');
      ++pos_;
    }
    if (IsIdentChar(Peek()) || Peek() == '.') {
      while (IsIdentChar(Peek()) || Peek() == '.') ++pos_;
      Fail(line_, "bad number '" + Shorten(text_.substr(start, pos_ - start)) + "'");
    }
    t.integer = negative ? -value : value;
    t.text = std::string(text_.substr(start, pos_ - start));
  }

  void ScanHex(Token& t) {
    t.kind = Token::Kind::Integer;
    const std::size_t start = pos_++;
    std::int64_t value = 0;
    int digits = 0;
    while (HexDigit(Peek()) >= 0) {
      value = value * 16 + HexDigit(Peek());
      ++pos_;
      if (++digits > kMaxHexDigits) {
        while (HexDigit(Peek()) >= 0) ++pos_;
        Fail(line_, "number " + Shorten(text_.substr(start, pos_ - start)) + " is out of range");
      }
    }
    if (digits == 0 || IsIdentChar(Peek())) {
      while (IsIdentChar(Peek())) ++pos_;
      Fail(line_, "bad hex number '" + Shorten(text_.substr(start, pos_ - start)) + "'");
    }
    t.integer = value;
    t.text = std::string(text_.substr(start, pos_ - start));
  }

  void ScanString(Token& t) {
    t.kind = Token::Kind::String;
    ++pos_;  // the opening quote
    for (;;) {
      if (AtEnd() || Peek() == '\n') Fail(line_, "unterminated string: no closing '\"' on this line");
      const char c = Peek();
      if (c == '"') {
        ++pos_;
        return;
      }
      if (c == '\\') {
        const char escaped = Peek(1);
        if (escaped != '"' && escaped != '\\') {
          ++pos_;
          if (AtEnd() || Peek() == '\n') Fail(line_, "unterminated string: it ends in '\\'");
          Fail(line_, "unknown escape '\\' followed by " + DescribeCharacter() + " in string (only \\\" and \\\\)");
        }
        t.text += escaped;
        pos_ += 2;
        continue;
      }
      if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
        Fail(line_, DescribeCharacter() + " in string");
      t.text += c;
      ++pos_;
    }
  }

  // After '{': pairs of hex digits, spaces, line ends and comments, up to '}'.
  std::vector<std::uint8_t> ScanHexBlock(int opening_line) {
    std::vector<std::uint8_t> bytes;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail(line_, "picture block opened on line " + std::to_string(opening_line) + " has no closing '}'");
      const char c = Peek();
      if (c == '\n') {
        NewLine();
      } else if (c == '}') {
        ++pos_;
        return bytes;
      } else if (HexDigit(c) >= 0) {
        const std::size_t start = pos_;
        while (HexDigit(Peek()) >= 0) ++pos_;
        const std::string_view run = text_.substr(start, pos_ - start);
        if (run.size() % 2 != 0) Fail(line_, "bad hex in picture block: '" + Shorten(run) + "' has an odd number of digits");
        for (std::size_t i = 0; i < run.size(); i += 2)
          bytes.push_back(static_cast<std::uint8_t>(HexDigit(run[i]) * 16 + HexDigit(run[i + 1])));
      } else {
        Fail(line_, "bad hex in picture block: " + DescribeCharacter() + " is not a hex digit");
      }
    }
  }

  Token Next() {
    if (peeked_) {
      Token t = std::move(*peeked_);
      peeked_.reset();
      return t;
    }
    return Scan();
  }
  const Token& PeekToken() {
    if (!peeked_) peeked_ = Scan();
    return *peeked_;
  }
  void SkipNewlines() {
    while (PeekToken().kind == Token::Kind::Newline) Next();
  }
  static bool IsWord(const Token& t, std::string_view word) {
    return t.kind == Token::Kind::Identifier && t.text == word;
  }
  static bool IsPunct(const Token& t, std::string_view punct) {
    return t.kind == Token::Kind::Punct && t.text == punct;
  }
  static bool IsPlainName(const Token& t) {
    return t.kind == Token::Kind::Identifier && t.text.find('.') == std::string::npos;
  }
  void ExpectLineEnd(const std::string& after) {
    const Token t = Next();
    if (t.kind != Token::Kind::Newline && t.kind != Token::Kind::End)
      Fail(t.line, "unexpected " + Describe(t) + " after " + after);
  }

  // --- Objects and values ---------------------------------------------------

  std::unique_ptr<LayoutObject> ParseObject(const Token& keyword, int depth) {
    auto object = std::make_unique<LayoutObject>();
    object->line = keyword.line;
    const Token name = Next();
    if (!IsPlainName(name)) Fail(name.line, "expected a component name after 'object', found " + Describe(name));
    object->name = name.text;
    object_ = name.text;
    property_.clear();
    const Token colon = Next();
    if (!IsPunct(colon, ":")) Fail(colon.line, "expected ':' after the component name, found " + Describe(colon));
    const Token class_name = Next();
    if (!IsPlainName(class_name))
      Fail(class_name.line, "expected a class name after ':', found " + Describe(class_name));
    object->class_name = class_name.text;
    ExpectLineEnd("the class name");

    for (;;) {
      object_ = object->name;
      property_.clear();
      SkipNewlines();
      const Token t = Next();
      if (t.kind == Token::Kind::End) FailMissingEnd(t.line, *object);
      if (IsWord(t, "end")) {
        if (t.column != keyword.column && !misaligned_end_)
          misaligned_end_ = MisalignedEnd{t.line, object->name, object->line};
        ExpectLineEnd("'end'");
        return object;
      }
      if (IsWord(t, "object")) {
        if (depth >= kMaxLayoutDepth)
          Fail(t.line, "objects are nested more than " + std::to_string(kMaxLayoutDepth) + " deep");
        object->children.push_back(ParseObject(t, depth + 1));
        continue;
      }
      if (t.kind == Token::Kind::Identifier) {
        property_ = t.text;
        if (!object->children.empty()) Fail(t.line, "property after a nested object; properties come first");
        const Token equals = Next();
        if (!IsPunct(equals, "=")) Fail(equals.line, "expected '=' after the property name, found " + Describe(equals));
        LayoutProperty property;
        property.line = t.line;
        property.name = t.text;
        property.value = ParseValue();
        ExpectLineEnd("the value");
        object->properties.push_back(std::move(property));
        continue;
      }
      Fail(t.line, "expected a property, 'object' or 'end', found " + Describe(t));
    }
  }

  [[noreturn]] void FailMissingEnd(int line, const LayoutObject& object) {
    std::string what =
        "missing 'end' for " + Shorten(object.name) + " (object on line " + std::to_string(object.line) + ")";
    if (misaligned_end_)
      what += "; the 'end' on line " + std::to_string(misaligned_end_->line) + " is indented unlike " +
              Shorten(misaligned_end_->object) + " on line " + std::to_string(misaligned_end_->object_line) +
              ": is an 'end' missing before it?";
    property_.clear();
    Fail(line, what);
  }

  LayoutValue ParseValue() {
    const Token t = Next();
    LayoutValue value;
    switch (t.kind) {
      case Token::Kind::Integer:
        value.kind = LayoutValue::Kind::Integer;
        value.integer = t.integer;
        return value;
      case Token::Kind::String:
        value.kind = LayoutValue::Kind::String;
        value.text = t.text;
        return value;
      case Token::Kind::Identifier:
        if (t.text == "picture") {
          const Token file = Next();
          if (file.kind != Token::Kind::String)
            Fail(file.line, "expected the picture's file name in quotes after 'picture', found " + Describe(file));
          value.kind = LayoutValue::Kind::PictureName;
          value.text = file.text;
          return value;
        }
        value.kind = LayoutValue::Kind::Identifier;
        value.text = t.text;
        return value;
      case Token::Kind::Punct:
        if (t.text == "[") return ParseList(t.line);
        if (t.text == "{") {
          value.kind = LayoutValue::Kind::PictureBytes;
          value.bytes = ScanHexBlock(t.line);
          return value;
        }
        break;
      case Token::Kind::End:
      case Token::Kind::Newline:
        break;
    }
    Fail(t.line, "expected a value, found " + Describe(t));
  }

  // After '[': identifiers or strings separated by commas, up to ']'.
  LayoutValue ParseList(int opening_line) {
    LayoutValue list;
    list.kind = LayoutValue::Kind::List;
    SkipNewlines();
    if (IsPunct(PeekToken(), "]")) {
      Next();
      return list;
    }
    for (;;) {
      const Token item = Next();
      if (item.kind == Token::Kind::Identifier) {
        list.items.push_back(LayoutValue{LayoutValue::Kind::Identifier, 0, item.text, {}, {}});
      } else if (item.kind == Token::Kind::String) {
        list.items.push_back(LayoutValue{LayoutValue::Kind::String, 0, item.text, {}, {}});
      } else {
        Fail(item.line, "expected a name or a string in the list opened on line " + std::to_string(opening_line) +
                            ", found " + Describe(item));
      }
      SkipNewlines();
      const Token separator = Next();
      if (IsPunct(separator, "]")) return list;
      if (!IsPunct(separator, ","))
        Fail(separator.line, "expected ',' or ']' in the list opened on line " + std::to_string(opening_line) +
                                 ", found " + Describe(separator));
      SkipNewlines();
    }
  }

  struct MisalignedEnd {
    int line;
    std::string object;
    int object_line;
  };

  std::string_view text_;
  const std::string& source_;
  std::size_t pos_ = 0;
  std::size_t line_start_ = 0;
  int line_ = 1;
  std::optional<Token> peeked_;
  std::string object_;    // the object being read, for messages
  std::string property_;  // the property being read, for messages
  std::optional<MisalignedEnd> misaligned_end_;
};

}  // namespace

std::string Shorten(std::string_view text) {
  if (text.size() <= kQuotedTextLimit) return std::string(text);
  std::size_t cut = kQuotedTextLimit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return std::string(text.substr(0, cut)) + "...";
}

std::unique_ptr<LayoutObject> ParseLayout(std::string_view text, const std::string& source_name) {
  return Parser(text, source_name).ParseFile();
}

std::string DescribeValue(const LayoutValue& value) {
  switch (value.kind) {
    case LayoutValue::Kind::Integer: return "integer " + std::to_string(value.integer);
    case LayoutValue::Kind::String: return "string \"" + Shorten(value.text) + "\"";
    case LayoutValue::Kind::Identifier: return "identifier " + Shorten(value.text);
    case LayoutValue::Kind::List: return "a list of " + std::to_string(value.items.size()) + " items";
    case LayoutValue::Kind::PictureName: return "picture \"" + Shorten(value.text) + "\"";
    case LayoutValue::Kind::PictureBytes: return "picture block of " + std::to_string(value.bytes.size()) + " bytes";
  }
  return "?";
}

}  // namespace kestrune
