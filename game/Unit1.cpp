// The game state, the window's field and handler tables, and the shell's
// handlers: creation, Close and Help.
#include "game/Unit1.h"

#include <algorithm>
#include <utility>

#include "platform/Application.h"
#include "platform/Random.h"
#include "platform/RunTime.h"

TRung Rungs[kRungCount];
TShot Shots[kShotSlots];
TEnemy Enemies[kEnemySlots];
std::int32_t GunX = 0;
std::int32_t Score = 0;
std::int32_t HighScore = 0;
std::int32_t SpawnCount = 0;

TForm1* Form1 = nullptr;

void ResetUnit1State() {
  std::fill(std::begin(Rungs), std::end(Rungs), TRung{});
  std::fill(std::begin(Shots), std::end(Shots), TShot{});
  std::fill(std::begin(Enemies), std::end(Enemies), TEnemy{});
  GunX = Score = HighScore = SpawnCount = 0;
}

bool TForm1::BindField(const std::string& name, TComponent* c) {
  if (name == "Image1") return BindAs(Image1, c);
  if (name == "Sprite1") return BindAs(Sprite1, c);
  if (name == "Label1") return BindAs(Label1, c);
  if (name == "Image2") return BindAs(Image2, c);
  if (name == "Timer1") return BindAs(Timer1, c);
  if (name == "Sprite2") return BindAs(Sprite2, c);
  if (name == "Sprite3") return BindAs(Sprite3, c);
  if (name == "Sprite4") return BindAs(Sprite4, c);
  if (name == "Sprite5") return BindAs(Sprite5, c);
  if (name == "Sprite6") return BindAs(Sprite6, c);
  if (name == "Sprite7") return BindAs(Sprite7, c);
  if (name == "Sprite8") return BindAs(Sprite8, c);
  if (name == "MainMenu1") return BindAs(MainMenu1, c);
  if (name == "G1") return BindAs(G1, c);
  if (name == "Start1") return BindAs(Start1, c);
  if (name == "Help1") return BindAs(Help1, c);
  if (name == "Label2") return BindAs(Label2, c);
  if (name == "Label3") return BindAs(Label3, c);
  if (name == "Label4") return BindAs(Label4, c);
  if (name == "Memo1") return BindAs(Memo1, c);
  if (name == "Label5") return BindAs(Label5, c);
  if (name == "Close1") return BindAs(Close1, c);
  return false;
}

std::vector<std::string> TForm1::UnboundFields() const {
  const std::pair<const char*, const TComponent*> fields[] = {
      {"Image1", Image1},   {"Sprite1", Sprite1}, {"Label1", Label1},       {"Image2", Image2},
      {"Timer1", Timer1},   {"Sprite2", Sprite2}, {"Sprite3", Sprite3},     {"Sprite4", Sprite4},
      {"Sprite5", Sprite5}, {"Sprite6", Sprite6}, {"Sprite7", Sprite7},     {"Sprite8", Sprite8},
      {"MainMenu1", MainMenu1}, {"G1", G1},       {"Start1", Start1},       {"Help1", Help1},
      {"Label2", Label2},   {"Label3", Label3},   {"Label4", Label4},       {"Memo1", Memo1},
      {"Label5", Label5},   {"Close1", Close1},
  };
  std::vector<std::string> unbound;
  for (const auto& [name, field] : fields)
    if (field == nullptr) unbound.emplace_back(name);
  return unbound;
}

std::optional<TEventHandler> TForm1::FindMethod(const std::string& name) {
  auto notify = [this](void (TForm1::*handler)(TObject*)) -> TEventHandler {
    return TNotifyEvent([this, handler](TObject* sender) { (this->*handler)(sender); });
  };
  if (name == "FormCreate") return notify(&TForm1::FormCreate);
  if (name == "Timer1Timer") return notify(&TForm1::Timer1Timer);
  if (name == "Image2Click") return notify(&TForm1::Image2Click);
  if (name == "Start1Click") return notify(&TForm1::Start1Click);
  if (name == "Close1Click") return notify(&TForm1::Close1Click);
  if (name == "Help1Click") return notify(&TForm1::Help1Click);
  if (name == "Image2MouseMove")
    return TMouseMoveEvent(
        [this](TObject* sender, TShiftState shift, int x, int y) { Image2MouseMove(sender, shift, x, y); });
  return std::nullopt;
}

TSprite* TForm1::ShotSprite(int k) const {
  TSprite* const sprites[kShotSlots] = {Sprite2, Sprite3, Sprite4};
  return sprites[k];
}

TSprite* TForm1::EnemySprite(int k) const {
  TSprite* const sprites[kEnemySlots] = {Sprite5, Sprite6, Sprite7, Sprite8};
  return sprites[k];
}

void TForm1::FormCreate(TObject* /*Sender*/) {
  Randomize();
  HighScore = 0;
  Application->HelpFile = ExtractFilePath(ParamStr(0)) + kHelpFileName;
}

void TForm1::Close1Click(TObject* /*Sender*/) { Close(); }

void TForm1::Help1Click(TObject* /*Sender*/) { Application->HelpCommand(HELP_CONTENTS, 0); }
