// Closing a window, and the default (empty) field and method tables.
#include "platform/Form.h"

#include "platform/Application.h"

TForm::~TForm() { Application->FormDestroyed(*this); }

void TForm::Close() {
  if (Application->MainForm() == this) Application->Terminate();
}

bool TForm::BindField(const std::string& /*name*/, TComponent* /*component*/) { return false; }

std::optional<TEventHandler> TForm::FindMethod(const std::string& /*name*/) { return std::nullopt; }
