// Unit1: the main window's class TForm1 and the state of the game it runs.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Form.h"
#include "sprite/Sprite.h"

// One rung of the ladder: joins line Column to line Column + 1 at height Y.
struct TRung {
  std::int32_t Column = 0;
  std::int32_t Y = 0;
};

// One shot slot; (X, Y) is the top-left corner of its 16 by 16 picture.
struct TShot {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t DX = 0;  // sideways travel still to go: 0 climbing, > 0 right, < 0 left
  bool Active = false;
};

// One enemy slot; (X, Y) is the top-left corner of its 20 by 20 picture.
struct TEnemy {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t Kind = 0;  // 1 for the bonus enemy of slot 3
  bool Active = false;
};

// The fixed numbers of the game.
constexpr int kRungCount = 10;
constexpr int kShotSlots = 3;
constexpr int kEnemySlots = 4;
constexpr int kEnemiesPerGame = 50;
constexpr int kFrameInterval = 55;  // milliseconds, from the end of one frame to the next tick

// The game state: unit-level, alive for the whole run, all zero at start.
extern TRung Rungs[kRungCount];
extern TShot Shots[kShotSlots];
extern TEnemy Enemies[kEnemySlots];
extern std::int32_t GunX;
extern std::int32_t Score;
extern std::int32_t HighScore;
extern std::int32_t SpawnCount;

// Puts every game variable back to zero, as at program start (for tests and
// the soak driver, which start many programs' worth of games in one process).
void ResetUnit1State();

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* owner) : TForm(owner) {}

  // Components, filled in by the layout reader.
  TImage* Image1 = nullptr;
  TSprite* Sprite1 = nullptr;
  TLabel* Label1 = nullptr;
  TImage* Image2 = nullptr;
  TTimer* Timer1 = nullptr;
  TSprite* Sprite2 = nullptr;
  TSprite* Sprite3 = nullptr;
  TSprite* Sprite4 = nullptr;
  TSprite* Sprite5 = nullptr;
  TSprite* Sprite6 = nullptr;
  TSprite* Sprite7 = nullptr;
  TSprite* Sprite8 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* G1 = nullptr;
  TMenuItem* Start1 = nullptr;
  TMenuItem* Help1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TMemo* Memo1 = nullptr;
  TLabel* Label5 = nullptr;
  TMenuItem* Close1 = nullptr;

  // Event handlers.
  void FormCreate(TObject* Sender);
  void Image2MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void Timer1Timer(TObject* Sender);
  void Image2Click(TObject* Sender);
  void Start1Click(TObject* Sender);
  void Close1Click(TObject* Sender);
  void Help1Click(TObject* Sender);

  // The game's rules.
  void MakeLadder();
  void DrawLadder();
  void MoveObjects();
  void SpawnEnemies();
  void CheckHits();
  void EndGame();

  std::string ClassName() const override { return "TForm1"; }
  bool BindField(const std::string& name, TComponent* component) override;
  std::optional<TEventHandler> FindMethod(const std::string& name) override;
  // Every component field: the game uses each of them, and one left empty
  // would stop it at the first Start or frame.
  std::vector<std::string> UnboundFields() const override;

  // The sprite that draws shot slot k, and enemy slot k.
  TSprite* ShotSprite(int k) const;
  TSprite* EnemySprite(int k) const;
};

extern TForm1* Form1;

// The name of the help file, looked for beside the program.
constexpr const char* kHelpFileName = "kestrune.hlp";
