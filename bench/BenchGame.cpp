// The real window for the benchmarks and the steady state of a game in progress.
#include "bench/BenchGame.h"

#include <algorithm>
#include <iterator>

#include "app/LayoutReader.h"
#include "platform/Application.h"

namespace kestrune::bench {

namespace {

// Shots 160 below the enemies: no hit for several frames whatever the ladder.
constexpr TShot kShots[kShotSlots] = {{40, 200, 0, true}, {140, 200, 0, true}, {240, 200, 0, true}};
constexpr TEnemy kEnemies[kEnemySlots] = {
    {10, 40, 0, true}, {90, 40, 0, true}, {170, 40, 0, true}, {250, 40, 1, true}};
constexpr int kGunX = 140;

}  // namespace

TForm1& Game() {
  static TForm1* const form = [] {
    Application->Initialize();
    Application->SetFormLoader(LoadEmbeddedLayout);
    Application->CreateForm(Form1);
    Application->SetFormLoader(nullptr);
    Application->Run();  // headless: shows the window, tracks Timer1 and returns
    Form1->Start1->Click();
    return Form1;
  }();
  return *form;
}

void SetSteadyState() {
  std::copy(std::begin(kShots), std::end(kShots), std::begin(Shots));
  std::copy(std::begin(kEnemies), std::end(kEnemies), std::begin(Enemies));
  GunX = kGunX;
  SpawnCount = kEnemiesPerGame;
  Score = 0;
}

bool StayedSteady() {
  const bool all_active = std::all_of(std::begin(Shots), std::end(Shots), [](const TShot& s) { return s.Active; }) &&
                          std::all_of(std::begin(Enemies), std::end(Enemies), [](const TEnemy& e) { return e.Active; });
  return all_active && Score == 0 && SpawnCount == kEnemiesPerGame && Game().Timer1->Enabled();
}

}  // namespace kestrune::bench
