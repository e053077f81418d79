// The main window: a TForm realised with its menu bar and controls.
#pragma once

#include <QMainWindow>
#include <functional>

class TForm;
class TMainMenu;

namespace kestrune::qt {

class QtWindow final : public QMainWindow {
 public:
  // Builds the window and a widget for each visible control of form; the
  // window's close button calls form.Close().
  QtWindow(TForm& form, QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu(const TMainMenu& menu);
  void BuildControls(QWidget* client);

  TForm& form_;
};

}  // namespace kestrune::qt
