// Builds a window from its layout description: one table of classes, one
// table of properties per class, values applied in stored order, references
// resolved once every component exists.
#include "app/LayoutReader.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <span>
#include <vector>

#include "app/LayoutSyntax.h"
#include "platform/EmbeddedResource.h"
#include "platform/Form.h"
#include "platform/PictureData.h"
#include "sprite/Sprite.h"

namespace kestrune {

namespace {

// A stored value that does not fit its property; the builder adds where it stands.
struct ValueProblem {
  std::string what;
};

constexpr std::int64_t kMinInt = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMaxSide = 16384;        // window and control sizes; bounds the images' bitmaps
constexpr std::int64_t kMaxFontHeight = 4096;   // either sign: negative is the character height
constexpr std::int64_t kMaxTabOrder = 32767;

// --- Plain values -------------------------------------------------------------

std::int32_t ToInt(const LayoutValue& v, std::int64_t lo, std::int64_t hi) {
  if (v.kind != LayoutValue::Kind::Integer) throw ValueProblem{"expected an integer, found " + DescribeValue(v)};
  if (v.integer < lo || v.integer > hi)
    throw ValueProblem{std::to_string(v.integer) + " is out of range (" + std::to_string(lo) + " to " +
                       std::to_string(hi) + ")"};
  return static_cast<std::int32_t>(v.integer);
}
std::int32_t ToInt(const LayoutValue& v) { return ToInt(v, kMinInt, kMaxInt); }
std::int32_t ToSize(const LayoutValue& v) { return ToInt(v, 0, kMaxSide); }

bool ToBool(const LayoutValue& v) {
  if (v.kind == LayoutValue::Kind::Identifier && v.text == "True") return true;
  if (v.kind == LayoutValue::Kind::Identifier && v.text == "False") return false;
  throw ValueProblem{"expected True or False, found " + DescribeValue(v)};
}

std::string ToString(const LayoutValue& v) {
  if (v.kind != LayoutValue::Kind::String) throw ValueProblem{"expected a string in quotes, found " + DescribeValue(v)};
  return v.text;
}

struct NamedColor {
  std::string_view name;
  TColor color;
};
constexpr NamedColor kColors[] = {
    {"clBlack", clBlack},   {"clWhite", clWhite}, {"clSilver", clSilver}, {"clGray", clGray},
    {"clRed", clRed},       {"clLime", clLime},   {"clBlue", clBlue},     {"clAqua", clAqua},
    {"clYellow", clYellow}, {"clFuchsia", clFuchsia}, {"clMaroon", clMaroon}, {"clGreen", clGreen},
    {"clNavy", clNavy},     {"clOlive", clOlive}, {"clTeal", clTeal},     {"clPurple", clPurple},
    {"clWindow", clWindow},
};

// A colour name or an RGB number. System colours such as clWindow stand for
// a desktop colour that only the window back-end knows, so a value used as
// plain RGB (a sprite's key) refuses them.
TColor ToColor(const LayoutValue& v, bool allow_system) {
  if (v.kind == LayoutValue::Kind::Integer) return static_cast<TColor>(ToInt(v, 0, 0xFFFFFF));
  if (v.kind != LayoutValue::Kind::Identifier)
    throw ValueProblem{"expected a colour name or RGB number, found " + DescribeValue(v)};
  for (const NamedColor& c : kColors) {
    if (c.name != v.text) continue;
    if (IsSystemColor(c.color) && !allow_system)
      throw ValueProblem{Shorten(v.text) + " is a system colour; this property takes an RGB colour"};
    return c.color;
  }
  throw ValueProblem{"unknown colour " + Shorten(v.text)};
}

TFormBorderStyle ToBorderStyle(const LayoutValue& v) {
  struct Row {
    std::string_view name;
    TFormBorderStyle style;
  };
  static constexpr Row kStyles[] = {
      {"bsSizeable", TFormBorderStyle::bsSizeable},
      {"bsSingle", TFormBorderStyle::bsSingle},
      {"bsDialog", TFormBorderStyle::bsDialog},
      {"bsNone", TFormBorderStyle::bsNone},
  };
  if (v.kind == LayoutValue::Kind::Identifier)
    for (const Row& row : kStyles)
      if (row.name == v.text) return row.style;
  throw ValueProblem{"expected a border style (bsSizeable, bsSingle, bsDialog or bsNone), found " + DescribeValue(v)};
}

// The font has one style, bold; [] is regular.
bool ToBoldStyle(const LayoutValue& v) {
  if (v.kind != LayoutValue::Kind::List) throw ValueProblem{"expected a set such as [fsBold] or [], found " + DescribeValue(v)};
  bool bold = false;
  for (const LayoutValue& item : v.items) {
    if (item.kind != LayoutValue::Kind::Identifier || item.text != "fsBold")
      throw ValueProblem{"unknown font style " + DescribeValue(item) + " (only fsBold)"};
    bold = true;
  }
  return bold;
}

std::vector<std::string> ToLines(const LayoutValue& v) {
  if (v.kind != LayoutValue::Kind::List)
    throw ValueProblem{"expected a list of strings such as [\"one\", \"two\"], found " + DescribeValue(v)};
  std::vector<std::string> lines;
  for (const LayoutValue& item : v.items) lines.push_back(ToString(item));
  return lines;
}

// The bytes of a stored picture block: given inline, or an embedded BMP file
// with its 32-bit little-endian count put in front.
std::vector<std::uint8_t> ToPictureBlock(const LayoutValue& v) {
  if (v.kind == LayoutValue::Kind::PictureBytes) return v.bytes;
  if (v.kind != LayoutValue::Kind::PictureName)
    throw ValueProblem{"expected picture \"file.bmp\" or a { hex } block, found " + DescribeValue(v)};
  const auto file = FindEmbeddedResource(v.text);
  if (!file) throw ValueProblem{"no embedded picture named \"" + Shorten(v.text) + "\""};
  if (file->size() > std::numeric_limits<std::uint32_t>::max())
    throw ValueProblem{"picture \"" + Shorten(v.text) + "\" is too large for a picture block"};
  const auto count = static_cast<std::uint32_t>(file->size());
  std::vector<std::uint8_t> block;
  block.reserve(file->size() + 4);
  for (int shift = 0; shift < 32; shift += 8) block.push_back(static_cast<std::uint8_t>(count >> shift));
  block.insert(block.end(), file->begin(), file->end());
  return block;
}

// --- The builder --------------------------------------------------------------

class Builder;
using ApplyValue = void (*)(Builder&, TComponent&, const LayoutValue&);

struct PropertyRule {
  std::string_view name;
  ApplyValue apply;
};

enum class Nesting {
  InWindow,  // a direct child of the window
  InMenu,    // inside a TMainMenu or TMenuItem
};

struct ClassInfo {
  std::string_view name;
  TComponent* (*create)(TComponent* owner);
  Nesting nesting;
  bool holds_menu_items;
  const std::vector<PropertyRule>& (*properties)();
};

const ClassInfo* FindClass(std::string_view name);
const std::vector<PropertyRule>& FormProperties();

// Who a deferred reference belongs to, and how to store its target.
struct Reference {
  int line;
  std::string where;
  std::string target;
  std::string_view expected_class;
  std::function<bool(TComponent*)> assign;  // false when the target's class does not fit
};

struct Created {
  TComponent* component;
  const ClassInfo* info;
  int line;
};

class Builder {
 public:
  Builder(TForm& form, const std::string& source) : form_(form), source_(source) {}

  void Build(const LayoutObject& root) {
    if (root.class_name != form_.ClassName())
      Fail(root.line, Shorten(root.name),
           "the layout describes a " + Shorten(root.class_name) + " but the window is a " + form_.ClassName());
    form_.Name = root.name;
    ApplyProperties(root, form_, FormProperties(), form_.ClassName());
    for (const auto& child : root.children) Create(*child, nullptr, root);
    ResolveReferences();
    InheritFromWindow();
    RequireEveryField(root);
  }

  TForm& form() { return form_; }

  // Stores a reference to be resolved once every component exists.
  void Defer(const LayoutValue& v, std::string_view expected_class, std::function<bool(TComponent*)> assign) {
    if (v.kind != LayoutValue::Kind::Identifier || v.text.find('.') != std::string::npos)
      throw ValueProblem{"expected the name of a " + std::string(expected_class) + ", found " + DescribeValue(v)};
    references_.push_back(Reference{line_, where_, v.text, expected_class, std::move(assign)});
  }

  // The window's handler that v names; it must take what the event passes.
  template <typename Event>
  Event Handler(const LayoutValue& v, std::string_view signature) {
    if (v.kind != LayoutValue::Kind::Identifier || v.text.find('.') != std::string::npos)
      throw ValueProblem{"expected the name of a handler, found " + DescribeValue(v)};
    std::optional<TEventHandler> handler = form_.FindMethod(v.text);
    if (!handler) throw ValueProblem{form_.ClassName() + " has no handler " + Shorten(v.text)};
    if (Event* fitting = std::get_if<Event>(&*handler)) return std::move(*fitting);
    throw ValueProblem{"handler " + Shorten(v.text) + " does not take " + std::string(signature)};
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& where, const std::string& what) const {
    throw LayoutError(source_ + ":" + std::to_string(line) + ": " + where + ": " + what);
  }

  // parent is the menu or menu item the object is nested in; none in the window.
  void Create(const LayoutObject& object, TComponent* parent, const LayoutObject& parent_object) {
    const ClassInfo* info = FindClass(object.class_name);
    if (info == nullptr) Fail(object.line, Shorten(object.name), "unknown class " + Shorten(object.class_name));
    if (parent == nullptr && info->nesting == Nesting::InMenu)
      Fail(object.line, Shorten(object.name), "a " + object.class_name + " belongs inside a TMainMenu or TMenuItem");
    if (parent != nullptr && info->nesting != Nesting::InMenu)
      Fail(object.line, Shorten(object.name),
           "a " + object.class_name + " cannot be nested in " + Shorten(parent_object.name) + "; only TMenuItem can");
    if (object.name == form_.Name)
      Fail(object.line, Shorten(object.name), "duplicate component name: it is the window's own name");
    if (const auto earlier = created_.find(object.name); earlier != created_.end())
      Fail(object.line, Shorten(object.name),
           "duplicate component name (first on line " + std::to_string(earlier->second.line) + ")");

    TComponent* component = info->create(&form_);
    component->Name = object.name;
    created_.emplace(object.name, Created{component, info, object.line});
    if (!form_.BindField(object.name, component))
      Fail(object.line, Shorten(object.name),
           form_.ClassName() + " has no field " + Shorten(object.name) + " of class " + object.class_name);
    if (auto* item = dynamic_cast<TMenuItem*>(component)) {
      if (auto* menu = dynamic_cast<TMainMenu*>(parent)) menu->Add(item);
      if (auto* owner_item = dynamic_cast<TMenuItem*>(parent)) owner_item->Add(item);
    }
    // A control starts with the window's font and colour, as one placed on it does.
    if (auto* label = dynamic_cast<TLabel*>(component)) {
      label->Font = form_.Font;
      label->Color = form_.Color;
    }
    if (auto* memo = dynamic_cast<TMemo*>(component)) memo->Font = form_.Font;

    ApplyProperties(object, *component, info->properties(), object.class_name);
    for (const auto& child : object.children) {
      if (!info->holds_menu_items)
        Fail(child->line, Shorten(child->name),
             "cannot be nested in " + Shorten(object.name) + ": a " + object.class_name + " holds no objects");
      Create(*child, component, object);
    }
  }

  void ApplyProperties(const LayoutObject& object, TComponent& component, const std::vector<PropertyRule>& rules,
                       const std::string& class_name) {
    std::map<std::string, int> seen;  // property name -> line
    for (const LayoutProperty& property : object.properties) {
      line_ = property.line;
      where_ = Shorten(object.name) + "." + Shorten(property.name);
      const auto rule = std::find_if(rules.begin(), rules.end(),
                                     [&](const PropertyRule& r) { return r.name == property.name; });
      if (rule == rules.end())
        Fail(line_, where_, "unknown property: a " + class_name + " has no " + Shorten(property.name));
      if (const auto [first, fresh] = seen.emplace(property.name, property.line); !fresh)
        Fail(line_, where_, "given twice (first on line " + std::to_string(first->second) + ")");
      try {
        rule->apply(*this, component, property.value);
      } catch (const ValueProblem& problem) {
        Fail(line_, where_, problem.what);
      } catch (const EInvalidGraphic& e) {
        Fail(line_, where_, e.what());
      }
    }
  }

  void ResolveReferences() {
    for (const Reference& r : references_) {
      const auto target = created_.find(r.target);
      if (target == created_.end()) Fail(r.line, r.where, "no component named " + Shorten(r.target));
      if (!r.assign(target->second.component))
        Fail(r.line, r.where,
             Shorten(r.target) + " is a " + std::string(target->second.info->name) + ", not a " +
                 std::string(r.expected_class));
    }
  }

  // A window left without a component it uses would fail at its first
  // event instead; the first few missing are named.
  void RequireEveryField(const LayoutObject& root) const {
    constexpr std::size_t kNamed = 4;
    const std::vector<std::string> unbound = form_.UnboundFields();
    if (unbound.empty()) return;
    std::string names;
    for (std::size_t i = 0; i < unbound.size() && i < kNamed; ++i) names += (i == 0 ? "" : ", ") + unbound[i];
    if (unbound.size() > kNamed) names += " and " + std::to_string(unbound.size() - kNamed) + " more";
    Fail(root.line, Shorten(root.name),
         "the layout creates no " + names + "; a " + form_.ClassName() + " needs every one");
  }

  // Labels and the memo without a font (and labels without a colour) of their
  // own take the window's, whatever order the window's values came in.
  void InheritFromWindow() {
    for (const auto& [name, created] : created_) {
      if (auto* label = dynamic_cast<TLabel*>(created.component)) {
        if (label->ParentFont) label->Font = form_.Font;
        if (label->ParentColor) label->Color = form_.Color;
      }
      if (auto* memo = dynamic_cast<TMemo*>(created.component))
        if (memo->ParentFont) memo->Font = form_.Font;
    }
  }

  TForm& form_;
  const std::string& source_;
  std::map<std::string, Created> created_;
  std::vector<Reference> references_;
  int line_ = 0;       // of the property being applied
  std::string where_;  // Component.Property being applied
};

// --- Property tables ------------------------------------------------------------

template <typename C>
C& As(TComponent& c) {
  return static_cast<C&>(c);  // the class table guarantees the type
}

// Giving a control any font value ends its use of the window's font.
template <typename C>
void OwnFont(C& c) {
  if constexpr (requires { c.ParentFont; }) c.ParentFont = false;
}

template <typename C>
std::vector<PropertyRule> FontRules() {
  return {
      {"Font.Name", [](Builder&, TComponent& c, const LayoutValue& v) {
         OwnFont(As<C>(c));
         As<C>(c).Font.Name = ToString(v);
       }},
      {"Font.Height", [](Builder&, TComponent& c, const LayoutValue& v) {
         OwnFont(As<C>(c));
         As<C>(c).Font.Height = ToInt(v, -kMaxFontHeight, kMaxFontHeight);
       }},
      {"Font.Color", [](Builder&, TComponent& c, const LayoutValue& v) {
         OwnFont(As<C>(c));
         As<C>(c).Font.Color = ToColor(v, true);
       }},
      {"Font.Style", [](Builder&, TComponent& c, const LayoutValue& v) {
         OwnFont(As<C>(c));
         As<C>(c).Font.Bold = ToBoldStyle(v);
       }},
  };
}

std::vector<PropertyRule> ControlRules() {
  return {
      {"Left", [](Builder&, TComponent& c, const LayoutValue& v) { As<TControl>(c).Left = ToInt(v); }},
      {"Top", [](Builder&, TComponent& c, const LayoutValue& v) { As<TControl>(c).Top = ToInt(v); }},
      {"Width", [](Builder&, TComponent& c, const LayoutValue& v) { As<TControl>(c).Width = ToSize(v); }},
      {"Height", [](Builder&, TComponent& c, const LayoutValue& v) { As<TControl>(c).Height = ToSize(v); }},
      {"Visible", [](Builder&, TComponent& c, const LayoutValue& v) { As<TControl>(c).Visible = ToBool(v); }},
  };
}

// Components without a place in the window keep one on the design surface; it
// has no effect when the program runs, so it is checked and dropped.
std::vector<PropertyRule> DesignPlaceRules() {
  return {
      {"Left", [](Builder&, TComponent&, const LayoutValue& v) { ToInt(v); }},
      {"Top", [](Builder&, TComponent&, const LayoutValue& v) { ToInt(v); }},
  };
}

std::vector<PropertyRule> Join(std::initializer_list<std::vector<PropertyRule>> parts) {
  std::vector<PropertyRule> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

constexpr std::string_view kNotifySignature = "(Sender), as this event needs";
constexpr std::string_view kMouseMoveSignature = "(Sender, Shift, X, Y), as OnMouseMove needs";

const std::vector<PropertyRule>& FormProperties() {
  static const std::vector<PropertyRule> rules = Join({
      {
          {"Caption", [](Builder&, TComponent& c, const LayoutValue& v) { As<TForm>(c).Caption = ToString(v); }},
          {"Left", [](Builder&, TComponent& c, const LayoutValue& v) { As<TForm>(c).Left = ToInt(v); }},
          {"Top", [](Builder&, TComponent& c, const LayoutValue& v) { As<TForm>(c).Top = ToInt(v); }},
          {"ClientWidth", [](Builder&, TComponent& c, const LayoutValue& v) { As<TForm>(c).ClientWidth = ToSize(v); }},
          {"ClientHeight", [](Builder&, TComponent& c, const LayoutValue& v) { As<TForm>(c).ClientHeight = ToSize(v); }},
          {"Color", [](Builder&, TComponent& c, const LayoutValue& v) { As<TForm>(c).Color = ToColor(v, true); }},
          {"BorderStyle", [](Builder&, TComponent& c, const LayoutValue& v) { As<TForm>(c).BorderStyle = ToBorderStyle(v); }},
          {"Scaled", [](Builder&, TComponent& c, const LayoutValue& v) { As<TForm>(c).Scaled = ToBool(v); }},
          {"PixelsPerInch", [](Builder&, TComponent& c, const LayoutValue& v) { As<TForm>(c).PixelsPerInch = ToInt(v, 1, kMaxSide); }},
          {"TextHeight", [](Builder&, TComponent& c, const LayoutValue& v) { As<TForm>(c).TextHeight = ToInt(v, 0, kMaxFontHeight); }},
          {"Menu", [](Builder& b, TComponent& c, const LayoutValue& v) {
             b.Defer(v, "TMainMenu", [&form = As<TForm>(c)](TComponent* target) {
               auto* menu = dynamic_cast<TMainMenu*>(target);
               if (menu != nullptr) form.Menu = menu;
               return menu != nullptr;
             });
           }},
          {"OnCreate", [](Builder& b, TComponent& c, const LayoutValue& v) {
             As<TForm>(c).OnCreate = b.Handler<TNotifyEvent>(v, kNotifySignature);
           }},
      },
      FontRules<TForm>(),
  });
  return rules;
}

const std::vector<PropertyRule>& ImageProperties() {
  static const std::vector<PropertyRule> rules = Join({
      ControlRules(),
      {
          {"OnClick", [](Builder& b, TComponent& c, const LayoutValue& v) {
             As<TImage>(c).OnClick = b.Handler<TNotifyEvent>(v, kNotifySignature);
           }},
          {"OnMouseMove", [](Builder& b, TComponent& c, const LayoutValue& v) {
             As<TImage>(c).OnMouseMove = b.Handler<TMouseMoveEvent>(v, kMouseMoveSignature);
           }},
      },
  });
  return rules;
}

const std::vector<PropertyRule>& LabelProperties() {
  static const std::vector<PropertyRule> rules = Join({
      ControlRules(),
      {
          {"Caption", [](Builder&, TComponent& c, const LayoutValue& v) { As<TLabel>(c).SetCaption(ToString(v)); }},
          {"Color", [](Builder&, TComponent& c, const LayoutValue& v) {
             As<TLabel>(c).Color = ToColor(v, true);
             As<TLabel>(c).ParentColor = false;
           }},
          {"ParentColor", [](Builder&, TComponent& c, const LayoutValue& v) { As<TLabel>(c).ParentColor = ToBool(v); }},
          {"ParentFont", [](Builder&, TComponent& c, const LayoutValue& v) { As<TLabel>(c).ParentFont = ToBool(v); }},
          {"Transparent", [](Builder&, TComponent& c, const LayoutValue& v) { As<TLabel>(c).Transparent = ToBool(v); }},
          {"AutoSize", [](Builder&, TComponent& c, const LayoutValue& v) { As<TLabel>(c).AutoSize = ToBool(v); }},
      },
      FontRules<TLabel>(),
  });
  return rules;
}

const std::vector<PropertyRule>& MemoProperties() {
  static const std::vector<PropertyRule> rules = Join({
      ControlRules(),
      {
          {"Color", [](Builder&, TComponent& c, const LayoutValue& v) { As<TMemo>(c).Color = ToColor(v, true); }},
          {"ParentFont", [](Builder&, TComponent& c, const LayoutValue& v) { As<TMemo>(c).ParentFont = ToBool(v); }},
          {"TabOrder", [](Builder&, TComponent& c, const LayoutValue& v) { As<TMemo>(c).TabOrder = ToInt(v, -1, kMaxTabOrder); }},
          {"WordWrap", [](Builder&, TComponent& c, const LayoutValue& v) { As<TMemo>(c).WordWrap = ToBool(v); }},
          {"Lines", [](Builder&, TComponent& c, const LayoutValue& v) { As<TMemo>(c).Lines = ToLines(v); }},
      },
      FontRules<TMemo>(),
  });
  return rules;
}

const std::vector<PropertyRule>& TimerProperties() {
  static const std::vector<PropertyRule> rules = Join({
      {
          {"Enabled", [](Builder&, TComponent& c, const LayoutValue& v) { As<TTimer>(c).SetEnabled(ToBool(v)); }},
          {"Interval", [](Builder&, TComponent& c, const LayoutValue& v) { As<TTimer>(c).SetInterval(ToInt(v, 0, kMaxInt)); }},
          {"OnTimer", [](Builder& b, TComponent& c, const LayoutValue& v) {
             As<TTimer>(c).OnTimer = b.Handler<TNotifyEvent>(v, kNotifySignature);
           }},
      },
      DesignPlaceRules(),
  });
  return rules;
}

const std::vector<PropertyRule>& MainMenuProperties() {
  static const std::vector<PropertyRule> rules = DesignPlaceRules();
  return rules;
}

const std::vector<PropertyRule>& MenuItemProperties() {
  static const std::vector<PropertyRule> rules = {
      {"Caption", [](Builder&, TComponent& c, const LayoutValue& v) { As<TMenuItem>(c).Caption = ToString(v); }},
      {"OnClick", [](Builder& b, TComponent& c, const LayoutValue& v) {
         As<TMenuItem>(c).OnClick = b.Handler<TNotifyEvent>(v, kNotifySignature);
       }},
  };
  return rules;
}

// Picture.Data is read straight into the bitmap the sprite already holds: the
// Picture setter does not run, so the masks wait for ColorKey's setter.
const std::vector<PropertyRule>& SpriteProperties() {
  static const std::vector<PropertyRule> rules = Join({
      {
          {"Picture.Data", [](Builder&, TComponent& c, const LayoutValue& v) {
             TBitmap* picture = As<TSprite>(c).Picture();
             if (picture == nullptr) throw ValueProblem{"the sprite has no picture to load into"};
             LoadPictureData(*picture, ToPictureBlock(v));
           }},
          {"Destination", [](Builder& b, TComponent& c, const LayoutValue& v) {
             b.Defer(v, "TImage", [&sprite = As<TSprite>(c)](TComponent* target) {
               auto* image = dynamic_cast<TImage*>(target);
               if (image != nullptr) sprite.Destination = image;
               return image != nullptr;
             });
           }},
          {"Count", [](Builder&, TComponent& c, const LayoutValue& v) { As<TSprite>(c).SetCount(ToInt(v)); }},
          {"Index", [](Builder&, TComponent& c, const LayoutValue& v) { As<TSprite>(c).SetIndex(ToInt(v)); }},
          {"X", [](Builder&, TComponent& c, const LayoutValue& v) { As<TSprite>(c).X = ToInt(v); }},
          {"Y", [](Builder&, TComponent& c, const LayoutValue& v) { As<TSprite>(c).Y = ToInt(v); }},
          {"Transparent", [](Builder&, TComponent& c, const LayoutValue& v) { As<TSprite>(c).Transparent = ToBool(v); }},
          {"Centering", [](Builder&, TComponent& c, const LayoutValue& v) { As<TSprite>(c).Centering = ToBool(v); }},
          {"ColorKey", [](Builder&, TComponent& c, const LayoutValue& v) { As<TSprite>(c).SetColorKey(ToColor(v, false)); }},
      },
      DesignPlaceRules(),
  });
  return rules;
}

template <typename C>
TComponent* Make(TComponent* owner) {
  return new C(owner);  // owned, and freed, by the window
}

// The classes a layout may name.
const ClassInfo kClasses[] = {
    {"TImage", &Make<TImage>, Nesting::InWindow, false, &ImageProperties},
    {"TLabel", &Make<TLabel>, Nesting::InWindow, false, &LabelProperties},
    {"TMemo", &Make<TMemo>, Nesting::InWindow, false, &MemoProperties},
    {"TTimer", &Make<TTimer>, Nesting::InWindow, false, &TimerProperties},
    {"TSprite", &Make<TSprite>, Nesting::InWindow, false, &SpriteProperties},
    {"TMainMenu", &Make<TMainMenu>, Nesting::InWindow, true, &MainMenuProperties},
    {"TMenuItem", &Make<TMenuItem>, Nesting::InMenu, true, &MenuItemProperties},
};

const ClassInfo* FindClass(std::string_view name) {
  for (const ClassInfo& info : kClasses)
    if (info.name == name) return &info;
  return nullptr;
}

// Which embedded layout builds which window class.
struct EmbeddedLayout {
  std::string_view class_name;
  std::string_view resource;
};
constexpr EmbeddedLayout kEmbeddedLayouts[] = {
    {"TForm1", "Unit1.layout"},
};

}  // namespace

void LoadLayout(TForm& form, std::string_view text, const std::string& source_name) {
  const std::unique_ptr<LayoutObject> root = ParseLayout(text, source_name);
  Builder(form, source_name).Build(*root);
}

void LoadEmbeddedLayout(TForm& form) {
  const std::string class_name = form.ClassName();
  for (const EmbeddedLayout& layout : kEmbeddedLayouts) {
    if (layout.class_name != class_name) continue;
    const auto bytes = FindEmbeddedResource(layout.resource);
    if (!bytes) throw LayoutError("the layout " + std::string(layout.resource) + " is not embedded in this program");
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    LoadLayout(form, text, std::string(layout.resource));
    return;
  }
  throw LayoutError("no layout is embedded for window class " + class_name);
}

}  // namespace kestrune
