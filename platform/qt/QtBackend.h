// The window back-end: shows the main window with Qt Widgets and runs Qt's event loop.
#pragma once

#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/Backend.h"

class QApplication;

namespace kestrune::qt {

class QtHelpWindow;
class QtTimer;
class QtWindow;

class QtBackend final : public Backend {
 public:
  // Checks for a display first and throws NoDisplayError without one.
  QtBackend();
  ~QtBackend() override;

  void Show(TForm& form) override;
  void RunLoop() override;
  void Quit() override;
  int MessageBox(const std::string& text, const std::string& caption, int flags) override;
  void ShowHelp(const std::string& help_file, TForm& owner) override;
  void ShowException(const std::string& message) override;

 private:
  // Frees every window, timer and Qt itself while Qt's own globals still live:
  // at the end of the loop, inside main.
  void TearDown();

  // QApplication keeps references to these for its whole life. The game reads
  // no arguments, so Qt is given none either, only the program's name.
  std::string program_name_;
  int argc_ = 1;
  char* argv_[2] = {nullptr, nullptr};

  std::unique_ptr<QApplication> app_;
  std::unique_ptr<QtWindow> window_;
  std::vector<std::unique_ptr<QtTimer>> timers_;
  QPointer<QtHelpWindow> help_;
  bool quit_requested_ = false;
};

}  // namespace kestrune::qt
