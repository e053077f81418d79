// The display check: an X connection opened and closed again at once.
#include "platform/qt/QtDisplay.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

namespace kestrune::qt {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

void CheckDisplay() {
  // QT_QPA_PLATFORM may list platforms to try in turn; only the first is ours to judge.
  const std::string platforms = Environment("QT_QPA_PLATFORM");
  const std::string first = platforms.substr(0, platforms.find(';'));
  // Someone chose another platform (offscreen, wayland, ...) on purpose: Qt knows best.
  if (!first.empty() && first != "xcb") return;
  const std::string display = Environment("DISPLAY");
  if (display.empty()) {
    // A Wayland session without X: let Qt find its Wayland plugin.
    if (first.empty() && !Environment("WAYLAND_DISPLAY").empty()) return;
    throw NoDisplayError("cannot open the display: DISPLAY is not set (run the game inside a desktop session)");
  }
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  const int error = xcb_connection_has_error(connection);
  xcb_disconnect(connection);
  if (error != 0) throw NoDisplayError("cannot open the display \"" + display + "\": no X server answers there");
}

}  // namespace kestrune::qt
