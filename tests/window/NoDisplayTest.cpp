// Without a display the game says so in one line and exits, instead of
// letting Qt abort it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "GameWindow.h"

namespace kestrune::window_test {
namespace {

// A display number nothing listens on: no socket for it in /tmp/.X11-unix.
std::string DeadDisplay() {
  for (int n = 4242;; ++n)
    if (!std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)) &&
        !std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock"))
      return ":" + std::to_string(n);
}

struct NoDisplay {
  const char* name;
  std::optional<std::string> display;
};

void PrintTo(const NoDisplay& no_display, std::ostream* out) { *out << no_display.name; }

class NoDisplayTest : public ::testing::TestWithParam<NoDisplay> {};

TEST_P(NoDisplayTest, GivesAOneLineErrorAndANonZeroExit) {
  Process game({{GameExecutable().string()},
                {{"DISPLAY", GetParam().display}, {"QT_QPA_PLATFORM", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}},
                {}});
  const auto status = game.WaitForExit(milliseconds(15000));
  ASSERT_TRUE(status.has_value()) << "still running without a display";
  ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status) << "; it said:\n" << game.Output();
  EXPECT_NE(WEXITSTATUS(*status), 0);
  const std::string output = game.Output();
  EXPECT_EQ(output.rfind("kestrune: cannot open the display", 0), 0u) << output;
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
}

INSTANTIATE_TEST_SUITE_P(Cases, NoDisplayTest,
                         ::testing::Values(NoDisplay{"DisplayUnset", std::nullopt},
                                           NoDisplay{"NoServerAtDisplay", DeadDisplay()}),
                         [](const ::testing::TestParamInfo<NoDisplay>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kestrune::window_test
