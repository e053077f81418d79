// The application object: program start, the message loop, message boxes and help.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/Backend.h"
#include "platform/Form.h"

constexpr int MB_OK = 0;
constexpr int IDOK = 1;
constexpr int HELP_CONTENTS = 3;

class TApplication : public TComponent {
 public:
  TApplication() : TComponent(nullptr) {}
  ~TApplication() override;

  // Makes the back-end. Called once, before the first CreateForm.
  void Initialize();

  // Builds a window of class F: reference is set first, then the layout
  // reader creates its components and applies their stored values, and
  // OnCreate runs last. The first window made is the main window.
  template <typename F>
  void CreateForm(F*& reference) {
    reference = new F(this);
    LoadForm(*reference);
  }

  // Shows the main window and serves its events until it closes.
  void Run();
  // Ends Run; the main window's Close calls it.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // A modal box; the program's windows take no input until it is closed.
  int MessageBox(const std::string& text, const std::string& caption, int flags);

  std::string HelpFile;
  // HELP_CONTENTS opens the contents of HelpFile beside the main window.
  bool HelpCommand(int command, long data);

  // Shows the error box for e; the program goes on.
  void ShowException(const std::exception& e);
  // Shows the error box for the exception being handled, of whatever type;
  // call it only inside a catch block.
  void HandleException();
  // Runs a handler the way the event loop does: an exception out of it is
  // shown in the error box instead of ending the program.
  void Dispatch(const std::function<void()>& handler);

  TForm* MainForm() const { return main_form_; }
  // Called by a window as it is destroyed.
  void FormDestroyed(TForm& form) {
    if (main_form_ == &form) main_form_ = nullptr;
  }
  kestrune::Backend& Backend();

  // How windows get their components: set once at program start to the
  // layout reader, which knows the layouts of the program's windows.
  using FormLoader = std::function<void(TForm& form)>;
  void SetFormLoader(FormLoader loader) { form_loader_ = std::move(loader); }

 private:
  void LoadForm(TForm& form);

  std::unique_ptr<kestrune::Backend> backend_;
  FormLoader form_loader_;
  TForm* main_form_ = nullptr;
  bool terminated_ = false;
};

// The one application object, made before main runs and freed after it.
extern TApplication* Application;
