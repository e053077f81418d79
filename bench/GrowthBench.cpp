// Cost as the work grows: a frame of the drawing layer on playfields of 1, 4
// and 16 times the real area, with the game's 8 sprites and with 4 and 16
// times as many, each reported with the pixels it touches.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench/BenchGame.h"
#include "bench/Goals.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "sprite/Sprite.h"

namespace kestrune::bench {
namespace {

constexpr int kLines = 5;
constexpr int kRungs = 10;

// The frame the game draws, at any size: fill, ladder, sprites, hand-off.
class ScaledFrame {
 public:
  ScaledFrame(int scale, int sprite_count) {
    for (TImage* image : {&back_, &front_}) {
      image->Width = kFrameWidth * scale;
      image->Height = kFrameHeight * scale;
    }
    TForm1& game = Game();
    TSprite* const kinds[] = {game.Sprite1, game.Sprite5, game.Sprite2};  // gun, enemy, shot
    // A grid with a cell per sprite, each sprite inside its cell.
    int columns = 1;
    while (columns * columns < sprite_count) ++columns;
    const int cell_w = back_.Width / columns;
    const int cell_h = back_.Height / columns;
    for (int i = 0; i < sprite_count; ++i) {
      auto sprite = std::make_unique<TSprite>(nullptr);
      TBitmap picture;
      picture.Assign(kinds[i % 3]->Picture());
      sprite->SetPicture(&picture);
      sprite->SetColorKey(clBlack);
      sprite->Destination = &back_;
      sprite->X = (i % columns) * cell_w + (cell_w - sprite->Width()) / 2;
      sprite->Y = (i / columns) * cell_h + (cell_h - sprite->Height()) / 2;
      pixels_ += 2.0 * sprite->Width() * sprite->Height();  // a mask pass and a picture pass
      sprites_.push_back(std::move(sprite));
    }
    spacing_ = back_.Width / kLines;
    pixels_ += static_cast<double>(back_.Width) * back_.Height + kLines * back_.Height + kRungs * spacing_;
  }

  void Step() {
    TCanvas* canvas = back_.Canvas();
    canvas->Brush.Color = clBlack;
    canvas->FillRect(Rect(0, 0, back_.Width, back_.Height));
    canvas->Pen.Color = clWhite;
    const int half = spacing_ / 2;
    for (int c = 0; c < kLines; ++c) {
      canvas->MoveTo(spacing_ * c + half, 0);
      canvas->LineTo(spacing_ * c + half, back_.Height);
    }
    for (int r = 0; r < kRungs; ++r) {
      const int y = r * (back_.Height - 32) / kRungs;
      const int column = r % (kLines - 1);
      canvas->MoveTo(spacing_ * column + half, y);
      canvas->LineTo(spacing_ * (column + 1) + half, y);
    }
    for (const auto& sprite : sprites_) sprite->Draw();
    front_.SetPicture(back_.Picture());
  }

  // Pixels written by one step's drawing.
  double pixels() const { return pixels_; }

 private:
  TImage back_{nullptr};
  TImage front_{nullptr};
  std::vector<std::unique_ptr<TSprite>> sprites_;
  int spacing_ = 0;
  double pixels_ = 0;
};

void BM_FrameGrowth(benchmark::State& state) {
  ScaledFrame frame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    frame.Step();
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = frame.pixels();
  state.SetItemsProcessed(static_cast<std::int64_t>(static_cast<double>(state.iterations()) * frame.pixels()));
}
// Scale 1, 2 and 4 in each direction: 1, 4 and 16 times the area.
BENCHMARK(BM_FrameGrowth)->ArgNames({"scale", "sprites"})->ArgsProduct({{1, 2, 4}, {8, 32, 128}});

}  // namespace
}  // namespace kestrune::bench
