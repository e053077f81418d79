// One frame of movement: the shots climb and ride the rungs, then the enemies fall.
#include "game/Unit1.h"

// Rules come with the shots and enemies work; until then nothing moves.
void TForm1::MoveObjects() {}
