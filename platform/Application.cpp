// The application object.
#include "platform/Application.h"

#include <stdexcept>

namespace {
TApplication g_application;
}  // namespace

TApplication* Application = &g_application;

TApplication::~TApplication() {
  // Windows first: their components may still talk to the back-end.
  while (!Components().empty()) delete Components().back();
  backend_.reset();
}

void TApplication::Initialize() {
  if (!backend_) backend_ = kestrune::CreateBackend();
}

kestrune::Backend& TApplication::Backend() {
  Initialize();
  return *backend_;
}

void TApplication::LoadForm(TForm& form) {
  if (main_form_ == nullptr) main_form_ = &form;
  if (!form_loader_) throw std::logic_error("no layout reader installed to build window " + form.ClassName());
  form_loader_(form);
  form.DoCreate();
}

void TApplication::Run() {
  if (main_form_ == nullptr) return;
  terminated_ = false;
  Backend().Show(*main_form_);
  Backend().RunLoop();
}

void TApplication::Terminate() {
  terminated_ = true;
  if (backend_) backend_->Quit();
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, int flags) {
  return Backend().MessageBox(text, caption, flags);
}

bool TApplication::HelpCommand(int command, long /*data*/) {
  if (command != HELP_CONTENTS || main_form_ == nullptr) return false;
  Backend().ShowHelp(HelpFile, *main_form_);
  return true;
}

void TApplication::ShowException(const std::exception& e) { Backend().ShowException(e.what()); }

void TApplication::HandleException() {
  try {
    throw;
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    Backend().ShowException("unknown error");
  }
}

void TApplication::Dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    HandleException();
  }
}
