// Builds Form1 by hand, as the layout reader would, so that the game's tests
// need no layout description.
#include "support/TestForm.h"

#include <stdexcept>
#include <string>

#include "platform/Application.h"
#include "platform/Bitmap.h"
#include "platform/headless/HeadlessBackend.h"

namespace kestrune::test {
namespace {

template <typename T>
T* Make(TForm1& form, const std::string& name) {
  T* component = new T(&form);
  component->Name = name;
  if (!form.BindField(name, component)) throw std::logic_error("TForm1 has no field " + name);
  return component;
}

TImage* MakeImage(TForm1& form, const std::string& name) {
  TImage* image = Make<TImage>(form, name);
  image->Width = kFieldWidth;
  image->Height = kFieldHeight;
  return image;
}

TLabel* MakeLabel(TForm1& form, const std::string& name, const std::string& caption) {
  TLabel* label = Make<TLabel>(form, name);
  label->SetCaption(caption);
  return label;
}

// A size by size picture: black (the key colour) with a coloured square inside
// a one-pixel border.
TSprite* MakeSprite(TForm1& form, const std::string& name, int size, TColor color) {
  TSprite* sprite = Make<TSprite>(form, name);
  sprite->Destination = form.Image1;
  TBitmap picture;
  picture.SetSize(size, size);
  picture.Canvas()->Brush.Color = color;
  picture.Canvas()->FillRect(Rect(1, 1, size - 1, size - 1));
  sprite->SetPicture(&picture);
  sprite->SetColorKey(clBlack);
  return sprite;
}

TMenuItem* MakeMenuItem(TForm1& form, const std::string& name, const std::string& caption) {
  TMenuItem* item = Make<TMenuItem>(form, name);
  item->Caption = caption;
  return item;
}

// The components in the layout's order, with the values the game relies on.
void BuildComponents(TForm& base) {
  TForm1& form = dynamic_cast<TForm1&>(base);
  form.Caption = "Kestrune";
  MakeImage(form, "Image1");
  MakeSprite(form, "Sprite1", kGunSize, kGunColor)->Y = kGunY;
  MakeLabel(form, "Label1", "Score ");
  TImage* image2 = MakeImage(form, "Image2");
  image2->OnClick = [&form](TObject* sender) { form.Image2Click(sender); };
  image2->OnMouseMove = [&form](TObject* sender, TShiftState shift, int x, int y) {
    form.Image2MouseMove(sender, shift, x, y);
  };
  TTimer* timer = Make<TTimer>(form, "Timer1");
  timer->SetEnabled(false);
  timer->SetInterval(kFrameInterval);
  timer->OnTimer = [&form](TObject* sender) { form.Timer1Timer(sender); };
  MakeSprite(form, "Sprite2", kShotSize, kShotColor);
  MakeSprite(form, "Sprite3", kShotSize, kShotColor);
  MakeSprite(form, "Sprite4", kShotSize, kShotColor);
  MakeSprite(form, "Sprite5", kEnemySize, kEnemyColor);
  MakeSprite(form, "Sprite6", kEnemySize, kEnemyColor);
  MakeSprite(form, "Sprite7", kEnemySize, kEnemyColor);
  MakeSprite(form, "Sprite8", kEnemySize, kBonusEnemyColor);
  TMainMenu* menu = Make<TMainMenu>(form, "MainMenu1");
  form.Menu = menu;
  TMenuItem* game = MakeMenuItem(form, "G1", "Game");
  TMenuItem* start = MakeMenuItem(form, "Start1", "Start");
  start->OnClick = [&form](TObject* sender) { form.Start1Click(sender); };
  TMenuItem* help = MakeMenuItem(form, "Help1", "Help");
  MakeLabel(form, "Label2", "あと");
  MakeLabel(form, "Label3", "");
  MakeLabel(form, "Label4", "メモらん");
  Make<TMemo>(form, "Memo1");
  MakeLabel(form, "Label5", "High ");
  TMenuItem* close = MakeMenuItem(form, "Close1", "Close");
  menu->Add(game);
  menu->Add(help);
  game->Add(start);
  game->Add(close);
}

}  // namespace

TestForm::TestForm() {
  ResetUnit1State();
  Application->Initialize();
  Headless().Clear();
  Application->SetFormLoader(BuildComponents);
  Application->CreateForm(Form1);
  Application->SetFormLoader(nullptr);
  Application->Run();  // headless: shows the window, which starts tracking Timer1
}

TestForm::~TestForm() {
  delete Form1;
  Form1 = nullptr;
  Headless().Clear();
}

void TestForm::RunFrames(int n) {
  for (int i = 0; i < n; ++i) Form1->Timer1Timer(Form1->Timer1);
}

void TestForm::TickFrames(int n) {
  for (int i = 0; i < n; ++i) Headless().AdvanceTime(kFrameInterval);
}

TColor TestForm::BackPixel(int x, int y) { return Form1->Image1->Canvas()->Handle()->Pixel(x, y); }

TColor TestForm::ShownPixel(int x, int y) const { return Form1->Image2->Picture().Bitmap().Pixels().Pixel(x, y); }

void PushLadderDraws(ScriptedDraws& draws, const Ladder& ladder) {
  for (int i = 0; i < kRungCount; ++i) {
    if (i >= 4) draws.Push(ladder[i].Column);
    draws.Push(ladder[i].Y);
  }
}

void SetRungs(const Ladder& ladder) {
  for (int i = 0; i < kRungCount; ++i) Rungs[i] = ladder[i];
}

Ladder CurrentRungs() {
  Ladder ladder;
  for (int i = 0; i < kRungCount; ++i) ladder[i] = Rungs[i];
  return ladder;
}

}  // namespace kestrune::test
