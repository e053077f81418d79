// The frame timer's peer: ticks while enabled, none while off, and an
// exception out of a tick shows the error box while the ticks go on.
#include "platform/qt/QtTimer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "OffscreenQt.h"
#include "platform/Controls.h"

namespace kestrune::window_test {
namespace {

constexpr int kInterval = 20;  // milliseconds
// Long enough for many intervals, so a wrong "none" is not luck.
constexpr int kQuietSpell = 10 * kInterval;

class QtTimerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartOffscreenQt(); }

  void SetUp() override {
    timer_.SetEnabled(false);
    timer_.SetInterval(kInterval);
    timer_.OnTimer = [this](TObject*) { ++ticks_; };
  }

  TTimer timer_{nullptr};
  qt::QtTimer peer_{timer_, nullptr};
  int ticks_ = 0;
};

TEST_F(QtTimerTest, TicksOverAndOverWhileEnabled) {
  timer_.SetEnabled(true);
  EXPECT_TRUE(QTest::qWaitFor([this] { return ticks_ >= 3; }, 5000));
}

TEST_F(QtTimerTest, NoTicksWhileDisabledOrWithoutAnInterval) {
  struct Case {
    const char* what;
    bool enabled;
    int interval;
  };
  const Case cases[] = {{"disabled", false, kInterval}, {"interval 0", true, 0}, {"switched off again", false, kInterval}};
  for (const Case& c : cases) {
    timer_.SetInterval(c.interval);
    timer_.SetEnabled(c.enabled);
    ticks_ = 0;
    QTest::qWait(kQuietSpell);
    EXPECT_EQ(ticks_, 0) << c.what;
    timer_.SetEnabled(true);  // so the next case's change is one
    timer_.SetInterval(kInterval);
  }
}

TEST_F(QtTimerTest, AnExceptionOutOfATickShowsTheErrorBoxAndTheTicksGoOn) {
  bool thrown = false;
  timer_.OnTimer = [&](TObject*) {
    ++ticks_;
    if (!thrown) {
      thrown = true;
      throw std::runtime_error("the frame fell over");
    }
  };
  // The error box is modal: read it and close it from inside its own loop.
  QString shown;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  closer.start(10);
  timer_.SetEnabled(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks_ >= 3; }, 5000)) << "the ticks stopped after the exception";
  EXPECT_EQ(shown, QStringLiteral("the frame fell over"));
}

}  // namespace
}  // namespace kestrune::window_test
