// Handing a finished frame to the playfield widget and painting it into the
// window's backing store, on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QBackingStore>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPalette>
#include <QWidget>
#include <QWindow>

#include "bench/BenchGame.h"
#include "platform/qt/QtImageView.h"

namespace kestrune::bench {
namespace {

// The window's client area as QtWindow builds it, silver and filled, with
// the playfield widget at its place on it. The widget is Image2's peer only
// while this lives, so the headless cases never see Qt.
class Playfield {
 public:
  explicit Playfield(TForm1& game) {
    client_.setFixedSize(game.ClientWidth, game.ClientHeight);
    QPalette palette = client_.palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    client_.setPalette(palette);
    client_.setAutoFillBackground(true);
    view_ = new qt::QtImageView(*game.Image2, &client_);
    client_.show();
    QElapsedTimer waited;
    waited.start();
    while (!(client_.windowHandle() != nullptr && client_.windowHandle()->isExposed()) && waited.elapsed() < 5000)
      QCoreApplication::processEvents();
  }

  QWidget& view() { return *view_; }

  // What the backing store holds at a pixel of the playfield, or 0 when it
  // cannot be read.
  TColor Shown(const TImage& image, int x, int y) {
    QPaintDevice* device = client_.backingStore() != nullptr ? client_.backingStore()->paintDevice() : nullptr;
    if (device == nullptr || device->devType() != QInternal::Image) return 0;
    return static_cast<QImage*>(device)->pixel(image.Left + x, image.Top + y) & 0xFFFFFFu;
  }

 private:
  QWidget client_;
  qt::QtImageView* view_ = nullptr;
};

void BM_Present(benchmark::State& state) {
  TForm1& game = Game();
  Playfield playfield(game);
  SetSteadyState();
  game.Timer1->Tick();
  for (auto _ : state) {
    game.Image2->SetPicture(game.Image1->Picture());
    playfield.view().repaint();
  }
  // One more frame, presented the same way, must be what the backing store holds.
  SetSteadyState();
  game.Timer1->Tick();
  game.Image2->SetPicture(game.Image1->Picture());
  playfield.view().repaint();
  const Surface& frame = game.Image1->Picture().Bitmap().Pixels();
  for (int y = 0; y < frame.Height(); y += 7)
    for (int x = 0; x < frame.Width(); x += 5)
      if (playfield.Shown(*game.Image2, x, y) != frame.Pixel(x, y)) {
        state.SkipWithError("the backing store does not hold the frame: nothing was painted");
        return;
      }
}
BENCHMARK(BM_Present);

}  // namespace
}  // namespace kestrune::bench
