// The ladder: a random rung layout, and its drawing.
#include "game/Unit1.h"

// Rules come with the ladder work; until then there is no ladder.
void TForm1::MakeLadder() {}

void TForm1::DrawLadder() {}
