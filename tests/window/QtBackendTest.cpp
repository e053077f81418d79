// The back-end's own boxes: the game's message box, modal with one OK button.
#include "platform/qt/QtBackend.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "OffscreenQt.h"

namespace kestrune::window_test {
namespace {

struct SeenBox {
  QString title, text;
  int buttons = 0;
  bool modal = false;
};

// Reads the modal box that comes up next and presses its first button.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || seen_) return;
      seen_ = SeenBox{box->windowTitle(), box->text(), static_cast<int>(box->buttons().size()), box->isModal()};
      box->buttons().front()->click();
    });
    poll_.start(10);
  }
  const std::optional<SeenBox>& Seen() const { return seen_; }

 private:
  QTimer poll_;
  std::optional<SeenBox> seen_;
};

TEST(QtBackendTest, MessageBoxIsModalWithOneOkButtonAndReturnsIdok) {
  StartOffscreenQt();
  BoxAnswerer answerer;
  EXPECT_EQ(Application->MessageBox("ハイスコア更新！", "Kestrune", MB_OK), IDOK);
  ASSERT_TRUE(answerer.Seen().has_value());
  EXPECT_EQ(answerer.Seen()->title, QStringLiteral("Kestrune"));
  EXPECT_EQ(answerer.Seen()->text, QStringLiteral("ハイスコア更新！"));
  EXPECT_EQ(answerer.Seen()->buttons, 1);
  EXPECT_TRUE(answerer.Seen()->modal);
}

TEST(QtBackendTest, ShowExceptionShowsTheMessageInAnErrorBox) {
  StartOffscreenQt();
  BoxAnswerer answerer;
  Application->Dispatch([] { throw std::runtime_error("no timer to be had"); });
  ASSERT_TRUE(answerer.Seen().has_value());
  EXPECT_EQ(answerer.Seen()->text, QStringLiteral("no timer to be had"));
}

}  // namespace
}  // namespace kestrune::window_test
