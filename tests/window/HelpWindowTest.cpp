// Help from the real game: the document beside the program, wherever the
// program was started from, and a plain word when it cannot be read.
#include <gtest/gtest.h>

#include <fstream>

#include "GameWindow.h"

namespace kestrune::window_test {
namespace {

constexpr const char* kHelpTitle = "Kestrune Help";
constexpr const char* kNoHelpTitle = "Kestrune Help (not available)";

bool IsSilver(std::uint32_t p) { return p == kSilver; }

// A shot climbing changes the playfield from one moment to the next: the game runs.
void ExpectGameRuns(XSession& session, GameWindow& game) {
  game.StartGame();
  game.MovePointerAway();
  ASSERT_TRUE(WaitUntil([&] { return game.Playfield().Count({0, 0, 313, 273}, IsSilver) == 0; }, milliseconds(5000)))
      << "Game, Start did nothing";
  const Picture before = game.Playfield();
  session.Click(game.PlayfieldScreenX(150), game.PlayfieldScreenY(200));
  EXPECT_TRUE(WaitUntil([&] { return game.Playfield().CountDifferences(before, {0, 150, 313, 85}) > 20; },
                        milliseconds(3000)))
      << "no shot climbed: the game is not running";
}

TEST(HelpWindowTest, StartedFromAnotherDirectoryHelpShowsTheDocumentBesideTheGameWhichGoesOn) {
  XSession session;
  TempDir elsewhere;
  GameWindow game(session, GameExecutable(), elsewhere.Path());
  ASSERT_TRUE(game.Found()) << game.Program().Output();

  game.ClickHelp();
  const auto help = session.WaitForWindow(kHelpTitle, milliseconds(5000));
  ASSERT_TRUE(help.has_value()) << "no help window; windows titled as unavailable: "
                                << session.FindWindows(kNoHelpTitle).size();
  const Rect help_frame = session.Geometry(*help);
  EXPECT_GE(help_frame.x, game.Frame().x + game.Frame().width) << "the help window covers the game";
  // The document is there: a page full of dark text, not an empty window.
  const Picture page = session.Grab(help_frame);
  EXPECT_GT(page.Count({0, 0, help_frame.width, help_frame.height}, [](std::uint32_t p) { return p < 0x404040; }), 2000);

  // Asking again brings back the same window, not a second one.
  game.ClickHelp();
  Sleep(milliseconds(500));
  EXPECT_EQ(session.FindWindows(kHelpTitle).size(), 1u);

  ASSERT_NO_FATAL_FAILURE(ExpectGameRuns(session, game));
  EXPECT_EQ(session.FindWindows(kHelpTitle).size(), 1u) << "playing closed the help window";
}

// What stands where the help file should be, beside a copy of the program.
struct BadHelpFile {
  const char* name;
  void (*make)(const std::filesystem::path& help_file);
};

const BadHelpFile kBadHelpFiles[] = {
    {"Missing", [](const std::filesystem::path&) {}},
    {"ADirectory", [](const std::filesystem::path& f) { std::filesystem::create_directory(f); }},
    {"NotUtf8", [](const std::filesystem::path& f) { std::ofstream(f, std::ios::binary) << "# Help\n\xff\xfe caf\xe9\n"; }},
};

void PrintTo(const BadHelpFile& file, std::ostream* out) { *out << file.name; }

class UnreadableHelpTest : public ::testing::TestWithParam<BadHelpFile> {};

TEST_P(UnreadableHelpTest, TheHelpWindowSaysSoAndTheGameGoesOn) {
  TempDir program_dir;
  const std::filesystem::path program = program_dir.Path() / "kestrune";
  std::filesystem::copy_file(GameExecutable(), program);
  GetParam().make(program_dir.Path() / "kestrune.hlp");

  XSession session;
  GameWindow game(session, program, program_dir.Path());
  ASSERT_TRUE(game.Found()) << game.Program().Output();
  game.ClickHelp();
  EXPECT_TRUE(session.WaitForWindow(kNoHelpTitle, milliseconds(5000)).has_value());
  EXPECT_TRUE(session.FindWindows(kHelpTitle).empty());
  ASSERT_NO_FATAL_FAILURE(ExpectGameRuns(session, game));
  EXPECT_TRUE(game.Program().Running());
}

INSTANTIATE_TEST_SUITE_P(Files, UnreadableHelpTest, ::testing::ValuesIn(kBadHelpFiles),
                         [](const ::testing::TestParamInfo<BadHelpFile>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kestrune::window_test
