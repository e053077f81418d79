// The seam between the components and whatever shows them. Each executable
// links exactly one back-end: the Qt window for the game, the headless one
// for tests and the soak driver.
#pragma once

#include <memory>
#include <string>

class TForm;

namespace kestrune {

class Backend {
 public:
  virtual ~Backend() = default;

  // Realises form and its components (a window on screen, or nothing) and
  // shows it. Called once, by Application.Run, before the loop.
  virtual void Show(TForm& form) = 0;
  // Serves events one at a time until Quit; headless it returns at once.
  virtual void RunLoop() = 0;
  // Ends the loop; called when the main window closes.
  virtual void Quit() = 0;
  // A modal box with one OK button; returns the button's code.
  virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
  // Opens help_file's contents in a help window beside owner; never fails:
  // a missing or unreadable file is reported in that window.
  virtual void ShowHelp(const std::string& help_file, TForm& owner) = 0;
  // Shows the error box for an exception that escaped a handler.
  virtual void ShowException(const std::string& message) = 0;
};

// The back-end of this executable, made by Application.Initialize.
std::unique_ptr<Backend> CreateBackend();

}  // namespace kestrune
