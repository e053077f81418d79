// For tests of single Qt back-end pieces: the application's own Qt back-end,
// started on Qt's offscreen platform, so no display is needed.
#pragma once

#include <cstdlib>

#include "platform/Application.h"

namespace kestrune::window_test {

inline void StartOffscreenQt() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  Application->Initialize();
}

}  // namespace kestrune::window_test
