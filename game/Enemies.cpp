// Enemies: hits and scoring, and starting new ones.
#include "game/Unit1.h"

// Rules come with the enemies work; until then no enemy starts or is hit.
void TForm1::CheckHits() {}

void TForm1::SpawnEnemies() {}
