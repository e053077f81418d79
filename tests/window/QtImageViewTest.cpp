// The playfield widget turns Qt's mouse events into TImage's: clicks on
// release over it, one click for a double click, moves also outside while dragging.
#define QTEST_QPA_MOUSE_HANDLING  // through the window system, as real events come
#include "platform/qt/QtImageView.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "OffscreenQt.h"
#include "platform/Controls.h"

namespace kestrune::window_test {
namespace {

constexpr QPoint kImageAt{16, 0};
constexpr QSize kImageSize{313, 273};

struct Move {
  int x, y;
  bool left_down;
};

class QtImageViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartOffscreenQt(); }

  void SetUp() override {
    image_.Left = kImageAt.x();
    image_.Width = kImageSize.width();
    image_.Height = kImageSize.height();
    image_.OnClick = [this](TObject*) { ++clicks_; };
    image_.OnMouseMove = [this](TObject*, TShiftState shift, int x, int y) {
      moves_.push_back({x, y, shift.Contains(TShiftFlag::Left)});
    };
    window_ = std::make_unique<QWidget>();
    window_->resize(427, 274);
    view_ = new qt::QtImageView(image_, window_.get());
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  // A point of the image, in the window's coordinates.
  QPoint InImage(int x, int y) const { return kImageAt + QPoint(x, y); }

  TImage image_{nullptr};
  std::unique_ptr<QWidget> window_;
  qt::QtImageView* view_ = nullptr;
  int clicks_ = 0;
  std::vector<Move> moves_;
};

struct Gesture {
  const char* name;
  std::function<void(QWidget* window, QPoint inside, QPoint outside)> perform;
  int clicks;
};

const Gesture kGestures[] = {
    {"Click", [](QWidget* w, QPoint in, QPoint) { QTest::mouseClick(w, Qt::LeftButton, {}, in); }, 1},
    {"DoubleClickIsOneClick", [](QWidget* w, QPoint in, QPoint) { QTest::mouseDClick(w, Qt::LeftButton, {}, in); }, 1},
    {"TwoSlowClicks",
     [](QWidget* w, QPoint in, QPoint) {
       QTest::mouseClick(w, Qt::LeftButton, {}, in);
       QTest::mouseClick(w, Qt::LeftButton, {}, in);
     },
     2},
    {"ReleasedElsewhere",
     [](QWidget* w, QPoint in, QPoint out) {
       QTest::mousePress(w, Qt::LeftButton, {}, in);
       QTest::mouseMove(w, out);
       QTest::mouseRelease(w, Qt::LeftButton, {}, out);
     },
     0},
    {"PressedElsewhere",
     [](QWidget* w, QPoint in, QPoint out) {
       QTest::mousePress(w, Qt::LeftButton, {}, out);
       QTest::mouseMove(w, in);
       QTest::mouseRelease(w, Qt::LeftButton, {}, in);
     },
     0},
    {"RightButton", [](QWidget* w, QPoint in, QPoint) { QTest::mouseClick(w, Qt::RightButton, {}, in); }, 0},
};

void PrintTo(const Gesture& gesture, std::ostream* out) { *out << gesture.name; }

class QtImageViewClickTest : public QtImageViewTest, public ::testing::WithParamInterface<Gesture> {};

TEST_P(QtImageViewClickTest, ClicksAsAPersonMeansThem) {
  // Outside: the window's strip left of the image.
  GetParam().perform(window_.get(), InImage(100, 120), QPoint(5, 120));
  QTest::qWait(50);
  EXPECT_EQ(clicks_, GetParam().clicks);
}

INSTANTIATE_TEST_SUITE_P(Gestures, QtImageViewClickTest, ::testing::ValuesIn(kGestures),
                         [](const ::testing::TestParamInfo<Gesture>& param) { return std::string(param.param.name); });

TEST_F(QtImageViewTest, MovesOverTheImageComeInItsOwnPixels) {
  QTest::mouseMove(window_.get(), InImage(40, 70));
  ASSERT_FALSE(moves_.empty());
  EXPECT_EQ(moves_.back().x, 40);
  EXPECT_EQ(moves_.back().y, 70);
  EXPECT_FALSE(moves_.back().left_down);
}

TEST_F(QtImageViewTest, ADragStartedOnTheImageReportsMovesOutsideItNegativeIncluded) {
  QTest::mouseMove(window_.get(), InImage(40, 70));
  QTest::mousePress(window_.get(), Qt::LeftButton, {}, InImage(40, 70));
  QTest::mouseMove(window_.get(), QPoint(-24, -7));  // left of and above the whole window
  ASSERT_FALSE(moves_.empty());
  EXPECT_EQ(moves_.back().x, -24 - kImageAt.x());
  EXPECT_EQ(moves_.back().y, -7);
  EXPECT_TRUE(moves_.back().left_down);
  QTest::mouseRelease(window_.get(), Qt::LeftButton, {}, QPoint(-24, -7));
  EXPECT_EQ(clicks_, 0);
}

TEST_F(QtImageViewTest, ItPaintsTheBitmapOneToOneAndNothingBeforeIt) {
  QPalette silver = window_->palette();
  silver.setColor(QPalette::Window, QColor(192, 192, 192));
  window_->setPalette(silver);
  window_->setAutoFillBackground(true);
  EXPECT_EQ(view_->grab().toImage().pixelColor(5, 5), QColor(192, 192, 192)) << "before the first picture";

  TPicture picture;
  picture.Bitmap().SetSize(kImageSize.width(), kImageSize.height());
  picture.Bitmap().Pixels().Fill(0, 0, kImageSize.width(), kImageSize.height(), clBlack);
  picture.Bitmap().Pixels().SetPixel(0, 0, RGB(255, 0, 0));
  picture.Bitmap().Pixels().SetPixel(312, 272, RGB(0, 0, 255));
  picture.Bitmap().Pixels().SetPixel(100, 50, RGB(12, 34, 56));
  image_.SetPicture(picture);
  const QImage shown = view_->grab().toImage();
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(255, 0, 0));
  EXPECT_EQ(shown.pixelColor(312, 272), QColor(0, 0, 255));
  EXPECT_EQ(shown.pixelColor(100, 50), QColor(12, 34, 56));
  EXPECT_EQ(shown.pixelColor(101, 50), QColor(0, 0, 0));
}

TEST_F(QtImageViewTest, AnImageDestroyedFirstLeavesTheWidgetHarmless) {
  auto image = std::make_unique<TImage>(nullptr);
  image->Width = 10;
  image->Height = 10;
  auto* view = new qt::QtImageView(*image, window_.get());
  image.reset();
  view->show();
  view->repaint();
  QTest::mouseClick(view, Qt::LeftButton);
  delete view;
}

}  // namespace
}  // namespace kestrune::window_test
