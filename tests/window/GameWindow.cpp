// Driving the game window through its menu bar, as a person would.
#include "GameWindow.h"

#include <stdexcept>
#include <vector>

namespace kestrune::window_test {

namespace {

bool IsDark(std::uint32_t p) {
  const unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  return r + g + b < 3 * 110;
}

// The horizontal extents of the menu bar's titles: columns with dark text
// pixels, grouped where the gaps between them are narrower than a space.
std::vector<std::pair<int, int>> TitleExtents(const Picture& bar) {
  constexpr int kGapBetweenTitles = 8;
  std::vector<std::pair<int, int>> titles;
  for (int x = 0; x < bar.Width(); ++x) {
    bool dark = false;
    for (int y = 0; y < bar.Height() && !dark; ++y) dark = IsDark(bar.At(x, y));
    if (!dark) continue;
    if (!titles.empty() && x - titles.back().second <= kGapBetweenTitles)
      titles.back().second = x;
    else
      titles.emplace_back(x, x);
  }
  return titles;
}

}  // namespace

std::filesystem::path GameExecutable() { return KESTRUNE_EXECUTABLE; }

GameWindow::GameWindow(XSession& session, const std::filesystem::path& executable,
                       const std::filesystem::path& working_directory,
                       const std::map<std::string, std::optional<std::string>>& environment, int scale)
    : session_(session), scale_(scale) {
  // Qt's scaling comes only from what the test asks for, not from the
  // environment the tests were started in.
  auto env = session.Environment();
  for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING",
                           "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_USE_PHYSICAL_DPI"})
    env[name] = std::nullopt;
  for (const auto& [name, value] : environment) env[name] = value;
  process_ = std::make_unique<Process>(Process::Options{{executable.string()}, env, working_directory});
  if (const auto id = session.WaitForWindow("Kestrune", milliseconds(15000))) {
    window_ = *id;
    // The window is mapped before Qt has painted it; give it a moment.
    WaitUntil([this] { return session_.Geometry(window_).height > kClientHeight * scale_; }, milliseconds(5000));
    frame_ = session.Geometry(window_);
    Sleep(milliseconds(300));
  }
}

Picture GameWindow::Client() {
  return session_.Grab({ScreenX(0), ScreenY(0), kClientWidth * scale_, kClientHeight * scale_});
}

Picture GameWindow::Playfield() {
  return session_.Grab(
      {PlayfieldScreenX(0), PlayfieldScreenY(0), kPlayfield.width * scale_, kPlayfield.height * scale_});
}

Picture GameWindow::MenuBar() { return session_.Grab({frame_.x, frame_.y, frame_.width, MenuBarHeight()}); }

void GameWindow::ClickMenuBarTitle(int n) {
  const auto titles = TitleExtents(MenuBar());
  if (static_cast<int>(titles.size()) <= n) throw std::runtime_error("the menu bar has too few titles");
  const auto [left, right] = titles[static_cast<std::size_t>(n)];
  session_.Click(frame_.x + (left + right) / 2, frame_.y + MenuBarHeight() / 2);
}

void GameWindow::ChooseGameItem(int n) {
  constexpr int kGameItems = 2;
  ClickMenuBarTitle(0);
  // The popup is a window of the program's own class that is neither the
  // main window nor the help window: the one just below the menu bar.
  Rect popup;
  const bool open = WaitUntil(
      [&] {
        for (unsigned long id : session_.FindWindowsOfClass("kestrune")) {
          const Rect r = session_.Geometry(id);
          if (id != window_ && r.y >= frame_.y + MenuBarHeight() - 2 && r.y <= frame_.y + MenuBarHeight() + 4 &&
              r.x < frame_.x + frame_.width / 2) {
            popup = r;
            return true;
          }
        }
        return false;
      },
      milliseconds(5000));
  if (!open) throw std::runtime_error("the Game menu did not open");
  Sleep(milliseconds(150));
  // Its items share its height evenly.
  session_.Click(popup.x + popup.width / 2, popup.y + (2 * n + 1) * popup.height / (2 * kGameItems));
}

void GameWindow::StartGame() { ChooseGameItem(0); }

void GameWindow::MovePointerAway() {
  session_.MoveMouse(XSession::kScreenWidth - 10, XSession::kScreenHeight - 10);
}

}  // namespace kestrune::window_test
