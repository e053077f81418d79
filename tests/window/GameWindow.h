// The running game as a person sees it: its window, menu bar and playfield.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "XSession.h"

namespace kestrune::window_test {

// Where the layout puts things, in the window's client area.
constexpr int kClientWidth = 427;
constexpr int kClientHeight = 274;
constexpr int kWindowLeft = 200;
constexpr int kWindowTop = 109;
constexpr Rect kPlayfield{16, 0, 313, 273};
// The ladder's five lines, in playfield x.
constexpr int kLineX[] = {31, 93, 155, 217, 279};
constexpr int kGunY = 240;
constexpr int kGunSize = 32;

constexpr std::uint32_t kSilver = 0xC0C0C0;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// The built game, and its help file beside it.
std::filesystem::path GameExecutable();

class GameWindow {
 public:
  // Starts the game on session's display, in working_directory (the test's
  // own if empty), and waits for its window. environment adds to or removes
  // from the session's; scale is how many screen pixels the window gives
  // each of its own pixels, when the environment or the screen enlarges it.
  GameWindow(XSession& session, const std::filesystem::path& executable = GameExecutable(),
             const std::filesystem::path& working_directory = {},
             const std::map<std::string, std::optional<std::string>>& environment = {}, int scale = 1);

  Process& Program() { return *process_; }
  unsigned long Window() const { return window_; }
  bool Found() const { return window_ != 0; }
  // The window's outer rectangle on the screen and the menu bar's height.
  Rect Frame() const { return frame_; }
  int Scale() const { return scale_; }
  // In screen pixels.
  int MenuBarHeight() const { return frame_.height - kClientHeight * scale_; }

  // Screen coordinates of a point of the client area, or of the playfield.
  int ScreenX(int client_x) const { return frame_.x + client_x * scale_; }
  int ScreenY(int client_y) const { return frame_.y + MenuBarHeight() + client_y * scale_; }
  int PlayfieldScreenX(int x) const { return ScreenX(kPlayfield.x + x); }
  int PlayfieldScreenY(int y) const { return ScreenY(kPlayfield.y + y); }

  // Screenshots of the client area or the playfield, in screen pixels: Scale()
  // times their size.
  Picture Client();
  Picture Playfield();
  Picture MenuBar();

  // Clicks the n-th title of the menu bar (0 is "Game"), found by its text.
  void ClickMenuBarTitle(int n);
  // Opens "Game" and picks its n-th item (0 Start, 1 Close) from the popup.
  void ChooseGameItem(int n);
  void StartGame();
  void CloseGame() { ChooseGameItem(1); }
  void ClickHelp() { ClickMenuBarTitle(1); }

  // Moves the pointer away from the window, so that nothing of it is hovered.
  void MovePointerAway();

 private:
  XSession& session_;
  std::unique_ptr<Process> process_;
  unsigned long window_ = 0;
  Rect frame_;
  int scale_ = 1;
};

}  // namespace kestrune::window_test
