// One sprite drawn onto the back buffer: ours (two raster operations through
// prebuilt masks) against what a Qt programmer would write instead (one
// QPainter::drawImage of a premultiplied ARGB picture), and the mask build.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "bench/BenchGame.h"
#include "bench/Goals.h"
#include "platform/Bitmap.h"

namespace kestrune::bench {
namespace {

// Where each sprite is drawn: well inside the playfield, nothing clipped.
constexpr int kDrawX = 101;
constexpr int kDrawY = 77;

// The layout's sprite with a picture of that side: the gun, an enemy, a shot.
TSprite& SpriteOfSide(int side) {
  TForm1& game = Game();
  switch (side) {
    case 32: return *game.Sprite1;
    case 20: return *game.Sprite5;
    default: return *game.Sprite2;
  }
}

// The sprite's picture as Qt wants it for blending: premultiplied ARGB,
// the key colour fully transparent.
QImage PremultipliedPicture(const TSprite& sprite) {
  const Surface& picture = sprite.Picture()->Pixels();
  QImage image(picture.Width(), picture.Height(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const TColor c = picture.Pixel(x, y);
      image.setPixel(x, y, c == sprite.ColorKey() ? 0u : 0xFF000000u | c);
    }
  return image;
}

// True when Qt's frame shows, around (kDrawX, kDrawY), what our Draw put on
// the back buffer: the comparison is between two ways to the same pixels.
bool SamePixels(const QImage& frame, const Surface& back, int width, int height) {
  for (int y = -1; y <= height; ++y)
    for (int x = -1; x <= width; ++x)
      if ((frame.pixel(kDrawX + x, kDrawY + y) & 0xFFFFFFu) != back.Pixel(kDrawX + x, kDrawY + y)) return false;
  return true;
}

void BM_SpriteDraw(benchmark::State& state) {
  TSprite& sprite = SpriteOfSide(static_cast<int>(state.range(0)));
  TImage& back = *Game().Image1;
  back.Canvas()->Brush.Color = clBlack;
  back.Canvas()->FillRect(Rect(0, 0, back.Width, back.Height));
  sprite.X = kDrawX;
  sprite.Y = kDrawY;
  for (auto _ : state) {
    sprite.Draw();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * sprite.Width() * sprite.Height());
}
BENCHMARK(BM_SpriteDraw)->Arg(32)->Arg(20)->Arg(16);

void BM_QtDrawImage(benchmark::State& state) {
  TSprite& sprite = SpriteOfSide(static_cast<int>(state.range(0)));
  const QImage picture = PremultipliedPicture(sprite);
  QImage frame(kFrameWidth, kFrameHeight, QImage::Format_ARGB32_Premultiplied);
  frame.fill(Qt::black);
  {
    QPainter painter(&frame);
    for (auto _ : state) {
      painter.drawImage(kDrawX, kDrawY, picture);
      benchmark::ClobberMemory();
    }
  }
  // Our draw of the same picture on the same black, for the comparison.
  TImage& back = *Game().Image1;
  back.Canvas()->Brush.Color = clBlack;
  back.Canvas()->FillRect(Rect(0, 0, back.Width, back.Height));
  sprite.X = kDrawX;
  sprite.Y = kDrawY;
  sprite.Draw();
  if (!SamePixels(frame, back.Picture().Bitmap().Pixels(), sprite.Width(), sprite.Height()))
    state.SkipWithError("Qt's picture differs from the sprite's: the comparison would be unfair");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * picture.width() * picture.height());
}
BENCHMARK(BM_QtDrawImage)->Arg(32)->Arg(20)->Arg(16);

// The Picture setter: a copy of the picture and both masks built from it.
void BM_SpriteSetPicture(benchmark::State& state) {
  TSprite& sprite = SpriteOfSide(static_cast<int>(state.range(0)));
  TBitmap picture;
  picture.Assign(sprite.Picture());
  for (auto _ : state) sprite.SetPicture(&picture);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * picture.Width() * picture.Height());
}
BENCHMARK(BM_SpriteSetPicture)->Arg(32)->Arg(20)->Arg(16);

}  // namespace
}  // namespace kestrune::bench
