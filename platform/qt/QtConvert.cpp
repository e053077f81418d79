// Colours and fonts for the widgets.
#include "platform/qt/QtConvert.h"

#include <QApplication>
#include <QPalette>
#include <QStringList>

namespace kestrune::qt {

namespace {

// The Windows system colour indices the layouts use, and the palette role that
// plays the same part here.
struct SystemColorRow {
  TColor color;
  QPalette::ColorRole role;
};
constexpr SystemColorRow kSystemColors[] = {
    {kSystemColorFlag | 5, QPalette::Base},              // clWindow
    {kSystemColorFlag | 8, QPalette::Text},              // clWindowText
    {kSystemColorFlag | 13, QPalette::Highlight},        // clHighlight
    {kSystemColorFlag | 14, QPalette::HighlightedText},  // clHighlightText
    {kSystemColorFlag | 15, QPalette::Button},           // clBtnFace
    {kSystemColorFlag | 18, QPalette::ButtonText},       // clBtnText
};

// Japanese Gothic faces in the order we prefer them. fontconfig maps none of
// the Windows names onto them by itself, so we name them all.
const QStringList& JapaneseGothicFamilies() {
  static const QStringList families = {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", "TakaoPGothic"};
  return families;
}

bool IsJapaneseGothicName(const std::string& name) {
  return name == "ＭＳ Ｐゴシック" || name == "ＭＳ ゴシック" || name == "MS PGothic" || name == "MS Gothic" ||
         name == "MS UI Gothic";
}

}  // namespace

QColor ToQColor(TColor color, const QColor& parent) {
  if (!IsSystemColor(color)) return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
  for (const SystemColorRow& row : kSystemColors)
    if (row.color == color) return QApplication::palette().color(QPalette::Active, row.role);
  return parent;
}

QFont ToQFont(const TFont& font) {
  QFont result;
  QStringList families;
  if (!IsJapaneseGothicName(font.Name)) families << ToQString(font.Name);
  // The game's texts are partly Japanese, so every font falls back to a Gothic.
  families << JapaneseGothicFamilies();
  result.setFamilies(families);
  // Negative: the characters' height in pixels. Positive: the cell height,
  // which we take as the pixel size too; 0 keeps the default.
  if (font.Height != 0) result.setPixelSize(font.Height < 0 ? -font.Height : font.Height);
  result.setBold(font.Bold);
  return result;
}

}  // namespace kestrune::qt
