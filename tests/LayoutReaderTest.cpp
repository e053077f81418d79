// The layout reader on a small window of its own: what a description builds,
// the order values are applied in, and the error each kind of broken text gives.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "app/LayoutReader.h"
#include "app/LayoutSyntax.h"
#include "game/Unit1.h"
#include "platform/EmbeddedResource.h"
#include "platform/Form.h"
#include "sprite/Sprite.h"

namespace {

using kestrune::LayoutError;
using kestrune::LoadLayout;

// A window with one component of each class and three handlers.
class TTestForm : public TForm {
 public:
  TTestForm() : TForm(nullptr) {}

  TSprite* Sprite1 = nullptr;
  TImage* Image1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TTimer* Timer1 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* Item1 = nullptr;
  TMenuItem* Item2 = nullptr;
  TMemo* Memo1 = nullptr;

  int created = 0;
  std::vector<TObject*> clicked;  // senders, in order
  std::vector<TPoint> moved;

  std::string ClassName() const override { return "TTestForm"; }

  bool BindField(const std::string& name, TComponent* c) override {
    if (name == "Sprite1") return BindAs(Sprite1, c);
    if (name == "Image1") return BindAs(Image1, c);
    if (name == "Label1") return BindAs(Label1, c);
    if (name == "Label2") return BindAs(Label2, c);
    if (name == "Timer1") return BindAs(Timer1, c);
    if (name == "MainMenu1") return BindAs(MainMenu1, c);
    if (name == "Item1") return BindAs(Item1, c);
    if (name == "Item2") return BindAs(Item2, c);
    if (name == "Memo1") return BindAs(Memo1, c);
    return false;
  }

  std::optional<TEventHandler> FindMethod(const std::string& name) override {
    if (name == "Created") return TNotifyEvent([this](TObject*) { ++created; });
    if (name == "Clicked") return TNotifyEvent([this](TObject* sender) { clicked.push_back(sender); });
    if (name == "Moved")
      return TMouseMoveEvent([this](TObject*, TShiftState, int x, int y) { moved.push_back({x, y}); });
    return std::nullopt;
  }
};

// Sprite1 and the menu name components that come later in the text.
const std::string kValid = R"(# A small window with one component of each class.
object Window: TTestForm
  Caption = "Test \"window\" \\ one"
  Left = -5
  Top = +7
  ClientWidth = 120
  Color = clTeal
  Font.Name = "Test Sans"
  Font.Height = -11
  Font.Style = [fsBold]
  Menu = MainMenu1
  OnCreate = Created
  object Sprite1: TSprite
    Picture.Data = {
      3E 00 00 00                                # count: the 62-byte BMP file follows
      42 4D 3E 00 00 00 00 00 00 00 36 00 00 00  # file header
      28 00 00 00 02 00 00 00 01 00 00 00 01 00 18 00
      00 00 00 00 00 00 00 00 12 0B 00 00 12 0B 00 00
      00 00 00 00 00 00 00 00                    # info header: 2 by 1, 24 bits
      00 00 00 FF FF FF 00 00                    # black (the key), white, padding
    }
    Destination = Image1
    Count = 1
    Index = 0
    Left = 8
    Top = 8
    X = 3
    Y = 4
    Transparent = True
    Centering = False
    ColorKey = clBlack
  end
  object Image1: TImage
    Left = 0
    Top = 0
    Width = 40
    Height = 30
    Visible = False
    OnClick = Clicked
    OnMouseMove = Moved
  end
  object Label1: TLabel
    Caption = "Score "
    Color = clLime
  end
  object Label2: TLabel
    Caption = "あと"
    Font.Height = -15
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 55
    OnTimer = Clicked
  end
  object MainMenu1: TMainMenu
    object Item1: TMenuItem
      Caption = "Game"
      object Item2: TMenuItem
        Caption = "Start"
        OnClick = Clicked
      end
    end
  end
  object Memo1: TMemo
    Color = clWindow
    Lines = ["one",
             "two"]
    TabOrder = 0
  end
end
)";

const std::string kSource = "test.layout";

// The message LoadLayout throws for text, or "" if it loads.
std::string LoadError(const std::string& text) {
  TTestForm form;
  try {
    LoadLayout(form, text, kSource);
  } catch (const LayoutError& e) {
    return e.what();
  }
  return "";
}

TEST(LayoutReaderTest, BuildsEveryComponentWithItsValues) {
  TTestForm f;
  LoadLayout(f, kValid, kSource);

  EXPECT_EQ(f.Name, "Window");
  EXPECT_EQ(f.Caption, "Test \"window\" \\ one");
  EXPECT_EQ(f.Left, -5);
  EXPECT_EQ(f.Top, 7);
  EXPECT_EQ(f.ClientWidth, 120);
  EXPECT_EQ(f.Color, clTeal);
  EXPECT_EQ(f.Font, (TFont{"Test Sans", -11, true, clBlack}));
  EXPECT_EQ(f.Menu, f.MainMenu1);  // named before MainMenu1 exists
  ASSERT_NE(f.Menu, nullptr);

  const std::vector<std::string> names = {"Sprite1", "Image1", "Label1", "Label2", "Timer1",
                                          "MainMenu1", "Item1", "Item2", "Memo1"};
  ASSERT_EQ(f.ComponentCount(), static_cast<int>(names.size()));
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(f.Components()[i]->Name, names[i]);

  EXPECT_EQ(f.Sprite1->Destination, f.Image1);  // named before Image1 exists
  EXPECT_EQ(f.Sprite1->X, 3);
  EXPECT_EQ(f.Sprite1->Y, 4);
  EXPECT_EQ(f.Sprite1->Width(), 2);
  EXPECT_EQ(f.Sprite1->Height(), 1);
  EXPECT_EQ(f.Sprite1->Picture()->Pixels().Pixel(0, 0), clBlack);
  EXPECT_EQ(f.Sprite1->Picture()->Pixels().Pixel(1, 0), clWhite);

  EXPECT_FALSE(f.Image1->Visible);
  EXPECT_EQ(f.Image1->Width, 40);
  EXPECT_EQ(f.Image1->Height, 30);

  // A label with no colour or font of its own takes the window's.
  EXPECT_EQ(f.Label1->Caption(), "Score ");
  EXPECT_EQ(f.Label1->Color, clLime);
  EXPECT_EQ(f.Label1->Font, f.Font);
  EXPECT_EQ(f.Label2->Caption(), "あと");
  EXPECT_EQ(f.Label2->Color, clTeal);
  EXPECT_EQ(f.Label2->Font, (TFont{"Test Sans", -15, true, clBlack})) << "its own height on the window's font";
  EXPECT_FALSE(f.Label2->ParentFont);

  EXPECT_FALSE(f.Timer1->Enabled());
  EXPECT_EQ(f.Timer1->Interval(), 55);

  ASSERT_EQ(f.MainMenu1->Items(), std::vector<TMenuItem*>{f.Item1});
  ASSERT_EQ(f.Item1->Items(), std::vector<TMenuItem*>{f.Item2});
  EXPECT_EQ(f.Item1->Caption, "Game");
  EXPECT_EQ(f.Item2->Caption, "Start");

  EXPECT_EQ(f.Memo1->Color, clWindow);
  EXPECT_EQ(f.Memo1->Lines, (std::vector<std::string>{"one", "two"}));
}

TEST(LayoutReaderTest, EventsReachTheWindowsHandlersButOnCreateWaitsForTheApplication) {
  TTestForm f;
  LoadLayout(f, kValid, kSource);
  EXPECT_EQ(f.created, 0);
  f.DoCreate();
  EXPECT_EQ(f.created, 1);

  f.Item2->Click();
  f.Image1->Click();
  f.Timer1->SetEnabled(true);
  f.Timer1->Tick();
  EXPECT_EQ(f.clicked, (std::vector<TObject*>{f.Item2, f.Image1, f.Timer1}));
  f.Item1->Click();  // bound to nothing
  EXPECT_EQ(f.clicked.size(), 3u);

  f.Image1->MouseMove(TShiftState{}, -4, 300);
  EXPECT_EQ(f.moved, std::vector<TPoint>{(TPoint{-4, 300})});
}

// A window with just an image and a sprite whose values are sprite_lines.
std::string SpriteLayout(const std::string& sprite_lines) {
  return "object Window: TTestForm\n"
         "  object Image1: TImage\n"
         "  end\n"
         "  object Sprite1: TSprite\n" +
         sprite_lines +
         "  end\n"
         "end\n";
}
// The 2 by 1 picture of kValid: black, white.
const std::string kPictureLine =
    "    Picture.Data = { 3E000000 424D3E000000000000003600000028000000020000000100000001001800"
    "000000000000000000000000000000000000000000000000 000000FFFFFF0000 }\n";

TEST(LayoutReaderTest, SpriteValuesTakeEffectInStoredOrder) {
  struct Case {
    const char* name;
    std::string lines;
    int count, index, width;
    bool masks_built;
  };
  const std::vector<Case> cases = {
      // The picture is read into the sprite's bitmap without its setter, so
      // only a later Count gives the frame size and a later ColorKey the masks.
      {"stored order", kPictureLine + "    Count = 1\n    Index = 0\n    ColorKey = clBlack\n", 1, 0, 2, true},
      {"key before picture", "    ColorKey = clBlack\n    Count = 1\n" + kPictureLine, 1, 0, 0, false},
      {"count before picture", "    Count = 1\n" + kPictureLine + "    ColorKey = clBlack\n", 1, 0, 2, true},
      {"picture alone", kPictureLine, 1, 0, 0, false},
      // Count and Index go through their setters, which correct silently.
      {"count 0 and index below 0", kPictureLine + "    Count = 0\n    Index = -5\n", 1, 0, 2, false},
      {"index clamped to the count", kPictureLine + "    Count = 2\n    Index = 7\n", 2, 1, 1, false},
      {"index set before the count", kPictureLine + "    Index = 7\n    Count = 2\n", 2, 0, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestForm f;
    LoadLayout(f, SpriteLayout(c.lines), kSource);
    const TSprite& s = *f.Sprite1;
    EXPECT_EQ(s.Count(), c.count);
    EXPECT_EQ(s.Index(), c.index);
    EXPECT_EQ(s.Width(), c.width);
    EXPECT_EQ(s.Picture()->Width(), 2) << "the picture is loaded whatever the order";
    if (c.masks_built) {
      ASSERT_EQ(s.Mask()->Width(), 2);
      EXPECT_EQ(s.Mask()->Pixels().Pixel(0, 0), clWhite);  // the key pixel
      EXPECT_EQ(s.Mask()->Pixels().Pixel(1, 0), clBlack);
    } else {
      EXPECT_TRUE(s.Mask()->Empty());
    }
  }
}

TEST(LayoutReaderTest, ReadsEmbeddedPicturesByName) {
  TTestForm f;
  LoadLayout(f, SpriteLayout("    Picture.Data = picture \"gun.bmp\"\n    Count = 1\n    ColorKey = clBlack\n"),
             kSource);
  EXPECT_EQ(f.Sprite1->Width(), 32);
  EXPECT_EQ(f.Sprite1->Height(), 32);
  EXPECT_EQ(f.Sprite1->Mask()->Width(), 32);
}

TEST(LayoutReaderTest, AcceptsTheSyntaxAllowances) {
  // A byte-order mark, CRLF line ends, blank and comment lines, comments after
  // values, tabs, $hex and signed numbers, an RGB colour number, a list over
  // several lines, and an 'end' at the very end without a line end.
  const std::string text =
      "\xEF\xBB\xBF# heading\r\n"
      "\r\n"
      "object Window: TTestForm   # the window\r\n"
      "\tColor = $00FF00\r\n"
      "\tLeft = +3\r\n"
      "  object Label1: TLabel\r\n"
      "    Color = 128\r\n"
      "    Font.Style = [\r\n"
      "      fsBold ,\r\n"
      "      fsBold\r\n"
      "    ]\r\n"
      "    Caption = \"# not a comment\"\r\n"
      "  end\r\n"
      "end";
  TTestForm f;
  LoadLayout(f, text, kSource);
  EXPECT_EQ(f.Color, clLime);
  EXPECT_EQ(f.Left, 3);
  EXPECT_EQ(f.Label1->Color, TColor{128});
  EXPECT_TRUE(f.Label1->Font.Bold);
  EXPECT_EQ(f.Label1->Caption(), "# not a comment");
}

// How a case edits kValid into broken text.
enum class Edit {
  Replace,   // the first occurrence of find by replacement
  CutAfter,  // everything after the first occurrence of find is dropped
  Append,    // replacement is added at the end
  Whole,     // the whole text becomes replacement
};

struct BrokenCase {
  const char* name;
  Edit edit;
  std::string find;
  std::string replacement;
  std::vector<std::string> words;  // each must appear in the message
  int line_offset = 0;             // the error's line from the edit's; -1: not checked
};

TEST(LayoutReaderTest, EachKindOfBrokenTextGivesAClearError) {
  const std::vector<BrokenCase> cases = {
      // Components and classes.
      {"unknown class", Edit::Replace, "object Label1: TLabel", "object Label1: TLable",
       {"Label1: unknown class TLable"}},
      {"window of another class", Edit::Replace, "object Window: TTestForm", "object Window: TOtherForm",
       {"Window:", "describes a TOtherForm but the window is a TTestForm"}},
      {"no such field", Edit::Replace, "object Label2: TLabel", "object Label3: TLabel",
       {"Label3: TTestForm has no field Label3 of class TLabel"}},
      {"field of another class", Edit::Replace, "object Label2: TLabel", "object Label2: TImage",
       {"Label2: TTestForm has no field Label2 of class TImage"}},
      {"duplicate component name", Edit::Replace, "object Label2: TLabel", "object Label1: TLabel",
       {"Label1: duplicate component name (first on line 42)"}},
      {"component named like the window", Edit::Replace, "object Label2: TLabel", "object Window: TLabel",
       {"Window: duplicate component name", "window's own name"}},
      {"menu item in the window", Edit::Replace, "object Memo1: TMemo", "object Memo1: TMenuItem",
       {"Memo1: a TMenuItem belongs inside a TMainMenu or TMenuItem"}},
      {"label in a menu", Edit::Replace, "object Item2: TMenuItem", "object Item2: TLabel",
       {"Item2: a TLabel cannot be nested in Item1; only TMenuItem can"}},
      {"object nested in a sprite", Edit::Replace, "    ColorKey = clBlack\n",
       "    ColorKey = clBlack\n    object Label9: TLabel\n    end\n",
       {"Label9: cannot be nested in Sprite1: a TSprite holds no objects"}, 1},

      // Properties.
      {"unknown property", Edit::Replace, "Caption = \"Score \"", "Captoin = \"Score \"",
       {"Label1.Captoin: unknown property: a TLabel has no Captoin"}},
      {"property of another class", Edit::Replace, "Visible = False", "Caption = \"x\"",
       {"Image1.Caption: unknown property: a TImage has no Caption"}},
      {"read-only sprite size", Edit::Replace, "    X = 3", "    Width = 3", {"Sprite1.Width: unknown property"}},
      {"property given twice", Edit::Replace, "Caption = \"Score \"", "Caption = \"Score \"\n    Caption = \"again\"",
       {"Label1.Caption: given twice (first on line 43)"}, 1},
      {"property after a nested object", Edit::Replace, "        OnClick = Clicked\n      end\n",
       "        OnClick = Clicked\n      end\n      Caption = \"late\"\n",
       {"Item1.Caption: property after a nested object; properties come first"}, 2},

      // Values of the wrong type or out of range.
      {"string for an integer", Edit::Replace, "Interval = 55", "Interval = \"55\"",
       {"Timer1.Interval: expected an integer, found string \"55\""}},
      {"negative size", Edit::Replace, "Width = 40", "Width = -1", {"Image1.Width: -1 is out of range (0 to 16384)"}},
      {"negative interval", Edit::Replace, "Interval = 55", "Interval = -1", {"Timer1.Interval: -1 is out of range"}},
      {"number beyond 32 bits", Edit::Replace, "Left = -5", "Left = 4294967296",
       {"Window.Left: 4294967296 is out of range"}},
      {"number beyond any range", Edit::Replace, "Left = -5", "Left = 12345678901234567890",
       {"Window.Left: number 12345678901234567890 is out of range"}},
      {"colour number beyond 24 bits", Edit::Replace, "Color = clLime", "Color = $1000000",
       {"Label1.Color: 16777216 is out of range (0 to 16777215)"}},
      {"hex number beyond 32 bits", Edit::Replace, "Color = clLime", "Color = $123456789", {"out of range"}},
      {"letters in a number", Edit::Replace, "Left = -5", "Left = 12ab", {"Window.Left: bad number '12ab'"}},
      {"dollar without digits", Edit::Replace, "Left = -5", "Left = $", {"Window.Left: bad hex number '$'"}},
      {"not a boolean", Edit::Replace, "Transparent = True", "Transparent = Yes",
       {"Sprite1.Transparent: expected True or False, found identifier Yes"}},
      {"unknown colour", Edit::Replace, "ColorKey = clBlack", "ColorKey = clBlak",
       {"Sprite1.ColorKey: unknown colour clBlak"}},
      {"system colour as a key", Edit::Replace, "ColorKey = clBlack", "ColorKey = clWindow",
       {"Sprite1.ColorKey: clWindow is a system colour"}},
      {"unknown border style", Edit::Replace, "Left = -5", "BorderStyle = bsThick",
       {"Window.BorderStyle: expected a border style", "identifier bsThick"}},
      {"unknown font style", Edit::Replace, "Font.Style = [fsBold]", "Font.Style = [fsItalic]",
       {"Window.Font.Style: unknown font style identifier fsItalic"}},
      {"name in a list of lines", Edit::Replace, "Lines = [\"one\",", "Lines = [one,",
       {"Memo1.Lines: expected a string in quotes, found identifier one"}},
      {"reference by number", Edit::Replace, "Destination = Image1", "Destination = 5",
       {"Sprite1.Destination: expected the name of a TImage, found integer 5"}},

      // Strings, lists and characters.
      {"unterminated string", Edit::Replace, "Caption = \"Score \"", "Caption = \"Score ",
       {"Label1.Caption: unterminated string"}},
      {"string ending in a backslash", Edit::Replace, "Caption = \"Score \"", "Caption = \"Score \\",
       {"Label1.Caption: unterminated string: it ends in '\\'"}},
      {"unknown escape", Edit::Replace, "Caption = \"Score \"", "Caption = \"Sc\\tore\"",
       {"Label1.Caption: unknown escape '\\' followed by character 't'"}},
      {"control character in a string", Edit::Replace, "Caption = \"Score \"", "Caption = \"Sc\x01ore\"",
       {"Label1.Caption: control character 0x01 in string"}},
      {"invalid UTF-8", Edit::Replace, "\"あと\"", "\"\xE3\x81\"", {"text is not valid UTF-8 (byte 0xE3)"}},
      {"stray character", Edit::Replace, "Left = -5", "Left = @5", {"Window.Left: unexpected character '@'"}},
      {"stray wide character", Edit::Replace, "Left = -5", "Left = ５", {"unexpected character '５'"}},
      {"unclosed list", Edit::Replace, "\"two\"]", "\"two\"",
       {"Memo1.Lines: expected ',' or ']' in the list opened on line 66, found 'TabOrder'"}, 1},
      {"missing value", Edit::Replace, "Interval = 55", "Interval =",
       {"Timer1.Interval: expected a value, found end of line"}},

      // Statement structure.
      {"missing '='", Edit::Replace, "Interval = 55", "Interval 55",
       {"Timer1.Interval: expected '=' after the property name, found number 55"}},
      {"two values", Edit::Replace, "Interval = 55", "Interval = 55 56",
       {"Timer1.Interval: unexpected number 56 after the value"}},
      {"text after the class name", Edit::Replace, "object Timer1: TTimer", "object Timer1: TTimer Timer2",
       {"Timer1: unexpected 'Timer2' after the class name"}},
      {"missing ':'", Edit::Replace, "object Timer1: TTimer", "object Timer1 TTimer",
       {"Timer1: expected ':' after the component name, found 'TTimer'"}},
      {"dotted component name", Edit::Replace, "object Timer1: TTimer", "object Timer.One: TTimer",
       {"expected a component name after 'object', found 'Timer.One'"}},
      {"trailing dot in a name", Edit::Replace, "Font.Height = -11", "Font. = -11", {"bad name 'Font.'"}},
      {"missing 'end'", Edit::Replace, "    Color = clLime\n  end\n", "    Color = clLime\n",
       {"Window: missing 'end' for Window (object on line 2)", "indented unlike Label1 on line 42"}, -1},
      {"text after the last 'end'", Edit::Append, "", "Label9\n", {"unexpected 'Label9' after the 'end' of Window"}},
      {"an 'end' too many", Edit::Append, "", "end\n", {"unexpected 'end' after the 'end' of Window"}},
      {"empty text", Edit::Whole, "", "", {":1: expected 'object' to start the layout, found end of file"}, -1},
      {"only comments", Edit::Whole, "", "# nothing\n\n", {":3: expected 'object'", "found end of file"}, -1},
      {"no 'object'", Edit::Whole, "", "Window: TTestForm\nend\n", {":1: expected 'object'", "found 'Window'"}, -1},

      // Handlers.
      {"no such handler", Edit::Replace, "OnTimer = Clicked", "OnTimer = Clickd",
       {"Timer1.OnTimer: TTestForm has no handler Clickd"}},
      {"mouse handler for a click", Edit::Replace, "OnClick = Clicked", "OnClick = Moved",
       {"Image1.OnClick: handler Moved does not take (Sender)"}},
      {"click handler for mouse moves", Edit::Replace, "OnMouseMove = Moved", "OnMouseMove = Clicked",
       {"Image1.OnMouseMove: handler Clicked does not take (Sender, Shift, X, Y)"}},
      {"handler in quotes", Edit::Replace, "OnTimer = Clicked", "OnTimer = \"Clicked\"",
       {"Timer1.OnTimer: expected the name of a handler, found string \"Clicked\""}},

      // References, resolved once every component exists.
      {"dangling reference", Edit::Replace, "Destination = Image1", "Destination = Image9",
       {"Sprite1.Destination: no component named Image9"}},
      {"reference to a label", Edit::Replace, "Destination = Image1", "Destination = Label1",
       {"Sprite1.Destination: Label1 is a TLabel, not a TImage"}},
      {"menu that is an item", Edit::Replace, "Menu = MainMenu1", "Menu = Item1",
       {"Window.Menu: Item1 is a TMenuItem, not a TMainMenu"}},

      // Picture blocks.
      {"bad hex digit", Edit::Replace, "FF FF FF", "FF GG FF",
       {"Sprite1.Picture.Data: bad hex in picture block: character 'G' is not a hex digit"}},
      {"odd hex digits", Edit::Replace, "12 0B 00 00 12", "12 B 00 00 12",
       {"Sprite1.Picture.Data: bad hex in picture block: 'B' has an odd number of digits"}},
      {"unclosed picture block", Edit::CutAfter, "Picture.Data = {", "",
       {"Sprite1.Picture.Data: picture block opened on line 14 has no closing '}'"}, -1},
      {"count that disagrees", Edit::Replace, "3E 00 00 00  ", "3F 00 00 00  ",
       {"Sprite1.Picture.Data: invalid picture: picture block count says 63 bytes but 62 follow"}, -1},
      {"not a BMP file", Edit::Replace, "42 4D", "42 4E", {"Sprite1.Picture.Data: invalid picture", "\"BM\""}, -1},
      {"16-bit picture", Edit::Replace, "01 00 18 00", "01 00 10 00",
       {"Sprite1.Picture.Data: invalid picture: 16 bits per pixel"}, -1},
      // The old block is left behind under a property that is never reached.
      {"empty picture block", Edit::Replace, "Picture.Data = {", "Picture.Data = {}\n    Unused = {",
       {"Sprite1.Picture.Data: invalid picture: picture block of 0 bytes has no byte count"}},
      {"picture not embedded", Edit::Replace, "Picture.Data = {", "Picture.Data = picture \"nope.bmp\"\n    Unused = {",
       {"Sprite1.Picture.Data: no embedded picture named \"nope.bmp\""}},
      {"picture name without quotes", Edit::Replace, "Picture.Data = {", "Picture.Data = picture gun\n    Unused = {",
       {"Sprite1.Picture.Data: expected the picture's file name in quotes after 'picture', found 'gun'"}},
  };

  for (const BrokenCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = kValid;
    std::size_t at = 0;
    switch (c.edit) {
      case Edit::Replace:
      case Edit::CutAfter:
        at = text.find(c.find);
        ASSERT_NE(at, std::string::npos) << "the case's text is not in the layout";
        if (c.edit == Edit::Replace)
          text.replace(at, c.find.size(), c.replacement);
        else
          text.resize(at + c.find.size());
        break;
      case Edit::Append:
        at = text.size();
        text += c.replacement;
        break;
      case Edit::Whole:
        text = c.replacement;
        break;
    }
    const std::string message = LoadError(text);
    ASSERT_FALSE(message.empty()) << "loaded without an error";
    EXPECT_TRUE(message.starts_with(kSource + ":")) << message;
    for (const std::string& word : c.words) EXPECT_NE(message.find(word), std::string::npos) << message;
    if (c.line_offset >= 0 && c.edit != Edit::Whole) {
      const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n') + c.line_offset;
      EXPECT_NE(message.find(kSource + ":" + std::to_string(line) + ": "), std::string::npos)
          << message << " (expected line " << line << ")";
    }
  }
}

TEST(LayoutReaderTest, NestingDeeperThanTheLimitIsRefusedWithoutRecursingFurther) {
  for (const int depth : {16, 17, 100000}) {
    SCOPED_TRACE(depth);
    std::string text = "object Window: TTestForm\n  object MainMenu1: TMainMenu\n";
    for (int i = 2; i < depth; ++i) text += "object Item" + std::to_string(i) + ": TMenuItem\n";
    for (int i = 2; i < depth; ++i) text += "end\n";
    text += "  end\nend\n";
    const std::string message = LoadError(text);
    if (depth <= kestrune::kMaxLayoutDepth) {
      // Within the limit the text is read; it fails only because the test window has no such fields.
      EXPECT_NE(message.find("has no field Item3"), std::string::npos) << message;
    } else {
      EXPECT_NE(message.find(":17: Item15: objects are nested more than 16 deep"), std::string::npos) << message;
    }
  }
}

// The game's own layout with the objects of the given names taken out
// (nested ones go with their parent).
std::string GameLayoutWithout(const std::vector<std::string>& names) {
  const auto bytes = kestrune::FindEmbeddedResource("Unit1.layout");
  std::string text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  for (const std::string& name : names) {
    const std::size_t start = text.find("  object " + name + ": ");
    const std::size_t end = text.find("\n  end\n", start);
    if (start == std::string::npos || end == std::string::npos) ADD_FAILURE() << "no object " << name;
    else text.erase(start, end + 7 - start);
  }
  return text;
}

// A window left without a component the game uses would stop at its first
// Start or frame; the reader refuses it and names what is missing.
TEST(LayoutReaderTest, AGameWindowWithoutEveryComponentItUsesIsRefused) {
  const struct {
    std::vector<std::string> removed;
    std::string message;
  } cases[] = {
      {{"Timer1"}, "Unit1.layout:8: Form1: the layout creates no Timer1; a TForm1 needs every one"},
      {{"Image2", "Label5"}, "the layout creates no Image2, Label5; a TForm1 needs every one"},
      {{"Sprite2", "Sprite3", "Sprite4", "Sprite5", "Sprite6", "Sprite7"},
       "the layout creates no Sprite2, Sprite3, Sprite4, Sprite5 and 2 more; a TForm1 needs every one"},
      {{"MainMenu1"}, "no component named MainMenu1"},  // the window's Menu names it first
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    TForm1 form(nullptr);
    try {
      LoadLayout(form, GameLayoutWithout(c.removed), "Unit1.layout");
      ADD_FAILURE() << "loaded";
    } catch (const LayoutError& e) {
      EXPECT_THAT(std::string(e.what()), ::testing::HasSubstr(c.message));
    }
  }
  TForm1 whole(nullptr);
  EXPECT_NO_THROW(LoadLayout(whole, GameLayoutWithout({}), "Unit1.layout"));
  EXPECT_TRUE(whole.UnboundFields().empty());
}

TEST(LayoutReaderTest, AWindowClassWithoutAnEmbeddedLayoutIsNamed) {
  TTestForm f;
  try {
    kestrune::LoadEmbeddedLayout(f);
    FAIL() << "loaded";
  } catch (const LayoutError& e) {
    EXPECT_NE(std::string(e.what()).find("no layout is embedded for window class TTestForm"), std::string::npos)
        << e.what();
  }
}

// Every cut of the text, and every byte dropped or swapped for awkward ones
// (two a position, in turn), either loads or stops with a LayoutError that
// names the source and a line; the sanitizer build sees any read out of bounds.
TEST(LayoutReaderTest, CutOrDamagedTextNeverGetsPastAnError) {
  auto check = [](const std::string& text) {
    TTestForm f;
    try {
      LoadLayout(f, text, kSource);
    } catch (const LayoutError& e) {
      const std::string message = e.what();
      ASSERT_TRUE(message.starts_with(kSource + ":")) << message;
      ASSERT_TRUE(message.size() > kSource.size() + 1 &&
                  std::isdigit(static_cast<unsigned char>(message[kSource.size() + 1])))
          << message;
    }
  };
  const std::string awkward = std::string("\0\"{}\n\\#\xE3", 8);
  for (std::size_t at = 0; at < kValid.size(); ++at) {
    SCOPED_TRACE(at);
    check(kValid.substr(0, at));
    check(kValid.substr(0, at) + kValid.substr(at + 1));
    for (const std::size_t turn : {at, at + 3}) {
      std::string damaged = kValid;
      damaged[at] = awkward[turn % awkward.size()];
      check(damaged);
    }
  }
}

}  // namespace
