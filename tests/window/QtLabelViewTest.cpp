// Labels are sized to their text and painted in their colour; the layout's
// Windows font name finds an installed Japanese Gothic at its pixel size.
#include "platform/qt/QtLabelView.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include "OffscreenQt.h"
#include "platform/Controls.h"
#include "platform/qt/QtConvert.h"

namespace kestrune::window_test {
namespace {

const TFont kWindowFont{"ＭＳ Ｐゴシック", -13, true, clBlack};

class QtLabelViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartOffscreenQt(); }

  void SetUp() override {
    label_.Left = 3;
    label_.Top = 4;
    label_.Font.Color = clBlack;
    view_ = new qt::QtLabelView(label_, qt::ToQFont(kWindowFont), QColor(0, 255, 0), &window_);
  }

  TLabel label_{nullptr};
  QWidget window_;
  qt::QtLabelView* view_ = nullptr;  // the window's child
};

TEST_F(QtLabelViewTest, TheRectangleFollowsEachCaption) {
  const int empty_width = view_->width();
  EXPECT_GT(empty_width, 0) << "an empty label keeps a sliver of its colour";
  EXPECT_EQ(view_->height(), QFontMetrics(view_->font()).height());

  label_.SetCaption("Score ");
  const int short_width = view_->width();
  label_.SetCaption("Score 12345");
  const int long_width = view_->width();
  label_.SetCaption("Score 0");
  EXPECT_LT(empty_width, short_width);
  EXPECT_LT(short_width, long_width);
  EXPECT_LT(view_->width(), long_width) << "the rectangle did not shrink again";
  EXPECT_EQ(view_->pos(), QPoint(3, 4));
}

TEST_F(QtLabelViewTest, PaintsItsRectangleInItsColourUnderTheText) {
  label_.SetCaption("あと 50");
  const QImage shown = view_->grab().toImage();
  int green = 0, dark = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) {
      const QColor c = shown.pixelColor(x, y);
      green += c == QColor(0, 255, 0) ? 1 : 0;
      dark += c.lightness() < 80 ? 1 : 0;
    }
  EXPECT_GT(green, shown.width() * shown.height() / 3);
  EXPECT_GT(dark, 20) << "no text";
}

struct FontCase {
  TFont font;
  int pixel_size;
  bool bold;
};

void PrintTo(const FontCase& c, std::ostream* out) { *out << c.font.Name << " " << c.font.Height; }

class FontTest : public ::testing::TestWithParam<FontCase> {
 protected:
  static void SetUpTestSuite() { StartOffscreenQt(); }
};

TEST_P(FontTest, NamesAnInstalledJapaneseGothicAtThePixelSize) {
  const QFontInfo info(qt::ToQFont(GetParam().font));
  const QStringList gothics = {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", "TakaoPGothic"};
  bool any_installed = false;
  for (const QString& family : gothics) any_installed = any_installed || QFontDatabase::hasFamily(family);
  if (!any_installed) GTEST_SKIP() << "no Japanese Gothic font is installed";
  EXPECT_TRUE(gothics.contains(info.family())) << info.family().toStdString();
  EXPECT_EQ(info.pixelSize(), GetParam().pixel_size);
  EXPECT_EQ(info.bold(), GetParam().bold);
}

// The window font and the labels' and memo's own, as the layout gives them.
INSTANTIATE_TEST_SUITE_P(LayoutFonts, FontTest,
                         ::testing::Values(FontCase{kWindowFont, 13, true},
                                           FontCase{{"ＭＳ Ｐゴシック", -15, true, clBlack}, 15, true},
                                           FontCase{{"ＭＳ Ｐゴシック", -12, false, clLime}, 12, false}));

}  // namespace
}  // namespace kestrune::window_test
