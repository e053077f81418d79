// The real window for the benchmarks, built headless from the embedded layout,
// and the steady game-in-progress state a frame step is measured in.
#pragma once

#include "game/Unit1.h"

namespace kestrune::bench {

// Form1 as the program builds it (embedded layout, headless back-end), with a
// game started; made on first use and kept for the whole run.
TForm1& Game();

// The gun, three climbing shots and four falling enemies, shots and enemies
// far enough apart that no hit happens, and the last of the fifty enemies
// already started so none starts. A frame moves everything, so each timed
// step puts it back first: a dozen stores, nothing next to the frame's pixels.
void SetSteadyState();

// True when the state after one step from SetSteadyState is still a game in
// progress with every object active and no score: the step did what the
// measurement claims it did.
bool StayedSteady();

}  // namespace kestrune::bench
