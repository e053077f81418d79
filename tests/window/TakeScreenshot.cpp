// Takes the README's screenshot from the real game, as the window tests drive
// it: an Xvfb of its own, a note in the memo, a game some seconds in with shots
// fired across the playfield, and the window saved as a PNG file.
// Usage: kestrune_screenshot <picture.png> [scale]   (scale 2: a dense screen)
#include <QImage>
#include <QString>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "GameWindow.h"

using namespace kestrune::window_test;

namespace {

int Fail(const std::string& what) {
  std::cerr << "kestrune_screenshot: " << what << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: kestrune_screenshot <picture.png> [scale]\n";
    return 2;
  }
  const int scale = argc == 3 ? std::atoi(argv[2]) : 1;
  if (scale < 1 || scale > 4) return Fail("the scale is a whole number from 1 to 4");

  XSession session;
  std::map<std::string, std::optional<std::string>> environment;
  if (scale != 1) environment["QT_SCALE_FACTOR"] = std::to_string(scale);
  GameWindow game(session, GameExecutable(), {}, environment, scale);
  if (!game.Found()) return Fail("the game opened no window; it said:\n" + game.Program().Output());

  // Keys go where the pointer is on a bare X server: over the labels, to the memo.
  session.MoveMouse(game.ScreenX(380), game.ScreenY(120));
  session.Type("squid first!");
  game.StartGame();
  // The same shots every time, so the picture changes only with the game.
  std::mt19937 shots(7);
  std::uniform_int_distribution<int> where(16, 296);
  for (int i = 0; i < 40; ++i) {
    session.Click(game.PlayfieldScreenX(where(shots)), game.PlayfieldScreenY(200));
    Sleep(milliseconds(200));
  }
  game.MovePointerAway();
  Sleep(milliseconds(300));

  const Picture window = session.Grab(game.Frame());
  QImage image(window.Width(), window.Height(), QImage::Format_RGB32);
  for (int y = 0; y < window.Height(); ++y)
    for (int x = 0; x < window.Width(); ++x) image.setPixel(x, y, 0xFF000000u | window.At(x, y));
  if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) return Fail(std::string("cannot write ") + argv[1]);
  std::cout << argv[1] << ": " << window.Width() << " x " << window.Height() << '\n';
  return 0;
}
