// Finds out, before Qt tries, whether there is a display to show the window on.
#pragma once

#include <stdexcept>

namespace kestrune::qt {

class NoDisplayError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws NoDisplayError, with a one-line reason starting "cannot open the
// display", when the X display Qt would use is not set or does not answer.
// Qt itself aborts the program in that case, so this must run first.
void CheckDisplay();

}  // namespace kestrune::qt
