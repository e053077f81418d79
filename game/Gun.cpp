// The gun follows the mouse; a click fires a shot.
#include "game/Unit1.h"

// Rules come with the shots work; until then the mouse does nothing.
void TForm1::Image2MouseMove(TObject* /*Sender*/, TShiftState /*Shift*/, int /*X*/, int /*Y*/) {}

void TForm1::Image2Click(TObject* /*Sender*/) {}
