// Faults the game rides out: a handler that throws, a help file that cannot be
// read, a flood of input between two frames, a frame that runs long, and a
// window played and freed. The window is the real one, built from the embedded
// layout as the program builds it, on the headless back-end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/LayoutReader.h"
#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/Random.h"
#include "support/TestForm.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define KESTRUNE_LEAK_CHECK 1
#endif

namespace kestrune::test {
namespace {

constexpr std::uint64_t kSeed = 424242;

// Draws from a seeded generator; before each draw it calls OnDraw with the
// range asked for, which may throw or let the clock run.
class DrawsWithHook final : public RandomSource {
 public:
  explicit DrawsWithHook(std::uint64_t seed) : generator_(seed) {}
  int Next(int range) override {
    if (OnDraw) OnDraw(range);
    return generator_.Next(range);
  }
  std::function<void(int range)> OnDraw;

 private:
  SeededRandom generator_;
};

class FaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetUnit1State();
    Application->Initialize();
    Headless().Clear();
    Application->HelpFile.clear();
    Application->SetFormLoader(LoadEmbeddedLayout);
    Application->CreateForm(Form1);
    Application->Run();  // headless: shows the window, whose timer the clock drives
  }
  void TearDown() override {
    delete Form1;
    Form1 = nullptr;
    Headless().Clear();
  }

  // Picks an item of the menu as the event loop does: what it throws goes to the error box.
  static void Pick(TMenuItem* item) {
    Application->Dispatch([item] { item->Click(); });
  }

  void StartGame() {
    ScopedRandomSource scope(draws_);
    Pick(Form1->Start1);
    ASSERT_TRUE(Form1->Timer1->Enabled());
  }

  // Moves the pointer, lets one frame interval pass, and tells whether a frame
  // ran: only a frame moves the gun's sprite to the pointer.
  bool TickFrame() {
    ScopedRandomSource scope(draws_);
    const int x = 100 + (++moves_ % 50);
    Application->Dispatch([x] { Form1->Image2->MouseMove(TShiftState{}, x, 50); });
    Headless().AdvanceTime(kFrameInterval);
    return Form1->Sprite1->X == x - 16;
  }

  DrawsWithHook draws_{kSeed};
  int moves_ = 0;
};

// --- A handler that throws ---------------------------------------------------------

struct ThrownFault {
  const char* name;
  std::function<void()> raise;
  std::string shown;  // what the error box says
};

void PrintTo(const ThrownFault& fault, std::ostream* out) { *out << fault.name; }

class FrameFault : public FaultsTest, public ::testing::WithParamInterface<ThrownFault> {};

// The frame is lost, not the game: a fault in one frame, or in every frame for
// a while, gives one error box a frame, and the frames keep coming.
TEST_P(FrameFault, IsShownAndTheGameGoesOn) {
  StartGame();
  ASSERT_TRUE(TickFrame());

  draws_.OnDraw = [](int) { GetParam().raise(); };
  for (int frame = 1; frame <= 3; ++frame) {
    SCOPED_TRACE(frame);
    EXPECT_TRUE(TickFrame()) << "the failing frame still ran up to its fault";
    ASSERT_EQ(Headless().Exceptions().size(), static_cast<std::size_t>(frame));
    EXPECT_EQ(Headless().Exceptions().back(), GetParam().shown);
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_EQ(Headless().NextTick(*Form1->Timer1), Headless().Now() + kFrameInterval);
  }

  draws_.OnDraw = nullptr;
  const int spawned = SpawnCount;
  for (int frame = 0; frame < 400; ++frame) ASSERT_TRUE(TickFrame()) << "frame " << frame;
  EXPECT_GT(SpawnCount, spawned) << "enemies start again";
  EXPECT_EQ(Headless().Exceptions().size(), 3u);
  EXPECT_TRUE(Headless().MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FrameFault,
    ::testing::Values(
        ThrownFault{"StandardException", [] { throw std::runtime_error("the dice are lost"); }, "the dice are lost"},
        ThrownFault{"LogicError", [] { throw std::logic_error("no such draw"); }, "no such draw"},
        ThrownFault{"NoStandardType", [] { throw 42; }, "unknown error"}),
    [](const ::testing::TestParamInfo<ThrownFault>& param) { return std::string(param.param.name); });

// The box is up while the timer is off, so a fault that recurs every frame
// cannot stack boxes; the next frame comes 55 ms after the box is closed.
TEST_F(FaultsTest, TheNextFrameComesFiftyFiveMillisecondsAfterTheErrorBoxCloses) {
  StartGame();
  bool box_seen = false;
  Headless().AnswerException = [&](const std::string& message) {
    box_seen = true;
    EXPECT_EQ(message, "the dice are lost");
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_EQ(Headless().NextTick(*Form1->Timer1), -1);
    Headless().AdvanceTime(3000);  // the player reads the box
  };
  draws_.OnDraw = [](int) { throw std::runtime_error("the dice are lost"); };
  const std::int64_t tick = Headless().Now() + kFrameInterval;
  ASSERT_TRUE(TickFrame());
  ASSERT_TRUE(box_seen);
  EXPECT_EQ(Headless().Now(), tick + 3000);
  EXPECT_EQ(Headless().NextTick(*Form1->Timer1), tick + 3000 + kFrameInterval);
}

// The 15th start rebuilds the ladder; when the rebuild throws, the old ladder
// stays whole (never half old, half new) and the count is shown.
TEST_F(FaultsTest, ARebuildThatThrowsKeepsTheOldLadderWhole) {
  StartGame();
  const Ladder before = CurrentRungs();
  SpawnCount = 14;
  for (int k = 1; k < kEnemySlots; ++k) Enemies[k] = TEnemy{100, 0, 0, true};
  {
    // Slot 0 starts the 15th enemy at x 90; the rebuild then gets three rung
    // heights (rung 0's, 1's, 2's) and finds the draws run out.
    ScriptedDraws draws{0, 100, 10, 60, 120};
    Headless().AdvanceTime(kFrameInterval);
  }
  ASSERT_EQ(Headless().Exceptions().size(), 1u);
  EXPECT_NE(Headless().Exceptions().front().find("ran out"), std::string::npos) << Headless().Exceptions().front();
  EXPECT_EQ(CurrentRungs(), before);
  EXPECT_EQ(SpawnCount, 15);
  EXPECT_TRUE(Enemies[0].Active);
  EXPECT_EQ(Enemies[0].X, 90);
  EXPECT_EQ(Form1->Label2->Caption(), "あと 35");
  EXPECT_TRUE(Form1->Timer1->Enabled());
  EXPECT_TRUE(TickFrame());
}

// A Start that throws part-way starts no game: the timer stays off, the old
// ladder stays whole, and the next Start plays.
TEST_F(FaultsTest, AStartThatThrowsRunsNoFrameAndTheNextStartPlays) {
  StartGame();
  ASSERT_TRUE(TickFrame());
  const Ladder before = CurrentRungs();
  {
    ScriptedDraws draws{10, 60};  // two rung heights, then nothing
    Pick(Form1->Start1);
  }
  ASSERT_EQ(Headless().Exceptions().size(), 1u);
  EXPECT_FALSE(Form1->Timer1->Enabled());
  EXPECT_EQ(CurrentRungs(), before);
  EXPECT_FALSE(TickFrame());
  EXPECT_FALSE(TickFrame());

  StartGame();
  EXPECT_TRUE(TickFrame());
  EXPECT_EQ(Headless().Exceptions().size(), 1u);
}

// A field narrower than five pixels has no columns to divide shots into: each
// frame says so instead of dividing by zero.
TEST_F(FaultsTest, APlayfieldTooNarrowForItsColumnsIsAnErrorNotACrash) {
  StartGame();
  Form1->Image2->Width = 4;
  Application->Dispatch([] { Form1->Image2->Click(); });
  EXPECT_TRUE(TickFrame());
  ASSERT_EQ(Headless().Exceptions().size(), 1u);
  EXPECT_EQ(Headless().Exceptions().front(), "the playfield is too narrow for five columns");
  EXPECT_TRUE(Form1->Timer1->Enabled());
}

// --- A help file that cannot be read ------------------------------------------------

struct BadHelp {
  const char* name;
  std::function<std::string(const std::filesystem::path& dir)> make;  // returns the help file's name
  std::string named;  // how the help window names it
};

void PrintTo(const BadHelp& help, std::ostream* out) { *out << help.name; }

class HelpFault : public FaultsTest, public ::testing::WithParamInterface<BadHelp> {};

TEST_P(HelpFault, TheHelpWindowSaysWhyAndTheGameGoesOn) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "kestrune-faults-help";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  Application->HelpFile = GetParam().make(dir);
  StartGame();
  ASSERT_TRUE(TickFrame());
  const std::int64_t next_tick = Headless().NextTick(*Form1->Timer1);

  Pick(Form1->Help1);

  ASSERT_EQ(Headless().HelpShown().size(), 1u);
  const std::string shown = Headless().HelpShown().front();
  EXPECT_NE(shown.find("cannot be shown"), std::string::npos) << shown;
  const std::string named = GetParam().named.empty() ? Application->HelpFile : GetParam().named;
  EXPECT_NE(shown.find(named), std::string::npos) << shown;
  EXPECT_TRUE(Headless().Exceptions().empty());
  EXPECT_EQ(Headless().NextTick(*Form1->Timer1), next_tick) << "help leaves the frame clock alone";
  for (int frame = 0; frame < 5; ++frame) EXPECT_TRUE(TickFrame()) << "frame " << frame;
  std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HelpFault,
    ::testing::Values(
        BadHelp{"Missing", [](const std::filesystem::path& dir) { return (dir / "kestrune.hlp").string(); }, ""},
        BadHelp{"ADirectory",
                [](const std::filesystem::path& dir) {
                  std::filesystem::create_directory(dir / "kestrune.hlp");
                  return (dir / "kestrune.hlp").string();
                },
                ""},
        BadHelp{"NotText",
                [](const std::filesystem::path& dir) {
                  std::ofstream(dir / "kestrune.hlp", std::ios::binary) << "# Help\n\xFF\xFE";
                  return (dir / "kestrune.hlp").string();
                },
                ""},
        BadHelp{"NoNameAtAll", [](const std::filesystem::path&) { return std::string(); }, "(none)"}),
    [](const ::testing::TestParamInfo<BadHelp>& param) { return std::string(param.param.name); });

// --- A flood of input between two frames ----------------------------------------------

// Only the last pointer x counts and clicks past three are dropped: nothing
// is kept for later, and the next frame is the one the rules give.
TEST_F(FaultsTest, AFloodOfMovesAndClicksBetweenTwoFramesLeavesOnlyWhatTheRulesKeep) {
  StartGame();
  ASSERT_TRUE(TickFrame());
  // Every slot busy at the top: no enemy starts, and none is near the shots.
  for (int k = 0; k < kEnemySlots; ++k) Enemies[k] = TEnemy{0, 0, 0, true};
  const int gun_drawn_at = Form1->Sprite1->X;
  const std::int64_t next_tick = Headless().NextTick(*Form1->Timer1);
  const int components = Form1->ComponentCount();

  constexpr int kEvents = 100000;
  for (int i = 0; i < kEvents; ++i) {
    const int x = (i * 7919) % 2000 - 1000;
    Application->Dispatch([x] { Form1->Image2->MouseMove(TShiftState{}, x, -x); });
    Application->Dispatch([] { Form1->Image2->Click(); });
  }
  Application->Dispatch([] { Form1->Image2->MouseMove(TShiftState{}, 200, 30); });

  EXPECT_EQ(GunX, 184);
  for (int k = 0; k < kShotSlots; ++k) {
    SCOPED_TRACE(k);
    EXPECT_TRUE(Shots[k].Active);
    EXPECT_EQ(Shots[k].X, gun_drawn_at + 8) << "every shot leaves from the gun as last drawn";
    EXPECT_EQ(Shots[k].Y, 250);
  }
  EXPECT_EQ(Headless().NextTick(*Form1->Timer1), next_tick);
  EXPECT_EQ(Form1->ComponentCount(), components);
  EXPECT_TRUE(Headless().Exceptions().empty());
  EXPECT_TRUE(Headless().MessageBoxes().empty());

  // One frame, as after a single move and three clicks: the gun at the last x,
  // the three shots one step up, side by side.
  Headless().AdvanceTime(kFrameInterval);
  EXPECT_EQ(Form1->Sprite1->X, 184);
  for (int k = 0; k < kShotSlots; ++k) {
    EXPECT_EQ(Shots[k].Y, Shots[0].Y);
    EXPECT_EQ(Shots[k].X, Shots[0].X);
  }
  EXPECT_LT(Shots[0].Y, 250);
  Application->Dispatch([] { Form1->Image2->Click(); });
  for (int k = 0; k < kShotSlots; ++k) EXPECT_NE(Shots[k].Y, 250) << "a fourth click is still dropped";
}

// --- A frame that runs long ------------------------------------------------------------

class SlowFrame : public FaultsTest, public ::testing::WithParamInterface<int> {};

// The timer counts its 55 ms from the end of a frame's work, so a slow frame
// delays the next tick instead of shortening the pause after it.
TEST_P(SlowFrame, DelaysTheNextTickByItsOwnLength) {
  const int work = GetParam();
  StartGame();
  ASSERT_TRUE(TickFrame());
  bool slow = true;
  draws_.OnDraw = [&](int) {
    if (!std::exchange(slow, false)) return;
    Headless().AdvanceTime(work);  // the frame's work takes this long
  };
  const std::int64_t tick = Headless().NextTick(*Form1->Timer1);
  ASSERT_TRUE(TickFrame());
  ASSERT_FALSE(slow) << "the frame drew a number";
  EXPECT_EQ(Headless().Now(), tick + work) << "the frame ended this late";
  EXPECT_EQ(Headless().NextTick(*Form1->Timer1), tick + work + kFrameInterval);

  Headless().AdvanceTime(kFrameInterval - 1);
  EXPECT_EQ(Headless().NextTick(*Form1->Timer1), tick + work + kFrameInterval) << "no tick yet";
  Headless().AdvanceTime(1);
  EXPECT_EQ(Headless().NextTick(*Form1->Timer1), tick + work + 2 * kFrameInterval) << "the tick came";
}

INSTANTIATE_TEST_SUITE_P(Lengths, SlowFrame, ::testing::Values(40, 54, 55, 200));

// --- A window played and freed ---------------------------------------------------------

#if defined(KESTRUNE_LEAK_CHECK)
// Everything the window, its components and a whole game allocate is freed
// with the window; the leak checker runs here, not only at exit.
TEST(Leaks, AWindowPlayedToItsEndAndFreedLeavesNothingBehind) {
  ResetUnit1State();
  Application->Initialize();
  Headless().Clear();
  Application->SetFormLoader(LoadEmbeddedLayout);
  Application->CreateForm(Form1);
  Application->Run();
  {
    SeededDraws draws(kSeed);
    Application->Dispatch([] { Form1->Start1->Click(); });
    for (int frame = 0; frame < 20000 && Headless().MessageBoxes().empty(); ++frame) {
      if (frame % 3 == 0) Application->Dispatch([] { Form1->Image2->Click(); });
      Headless().AdvanceTime(kFrameInterval);
    }
  }
  ASSERT_EQ(Headless().MessageBoxes().size(), 1u) << "the game ended";
  delete Form1;
  Form1 = nullptr;
  Headless().Clear();
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
}
#endif

}  // namespace
}  // namespace kestrune::test
