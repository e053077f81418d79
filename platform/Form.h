// TForm: a top-level window, the owner of every component in it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Controls.h"

enum class TFormBorderStyle { bsSizeable, bsSingle, bsDialog, bsNone };

// An event handler as the layout names it: one of the event signatures.
using TEventHandler = std::variant<TNotifyEvent, TMouseMoveEvent>;

class TForm : public TComponent {
 public:
  explicit TForm(TComponent* owner) : TComponent(owner) {}
  ~TForm() override;

  std::string Caption;
  int Left = 0;
  int Top = 0;
  int ClientWidth = 0;
  int ClientHeight = 0;
  TColor Color = clSilver;
  TFont Font;
  TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
  bool Scaled = true;
  int PixelsPerInch = 96;
  int TextHeight = 13;
  TMainMenu* Menu = nullptr;
  TNotifyEvent OnCreate;

  // Closes the window; closing the main window ends the program.
  void Close();

  // The class name the layout gives the window, such as "TForm1".
  virtual std::string ClassName() const { return "TForm"; }

  // Called by the layout reader for each component it creates: stores it in
  // the window's field of that name. False when there is no such field or the
  // component's class does not fit it.
  virtual bool BindField(const std::string& name, TComponent* component);
  // The handler of that name, bound to this window, for the layout's events;
  // empty when the window has none.
  virtual std::optional<TEventHandler> FindMethod(const std::string& name);
  // The fields the window cannot run without that are still empty, in
  // declaration order; the layout reader refuses a layout that leaves any.
  virtual std::vector<std::string> UnboundFields() const { return {}; }

  // Runs OnCreate; the layout reader calls it once every value is in place.
  void DoCreate() {
    if (OnCreate) OnCreate(this);
  }
};

// Binds a component to a window field of its exact class, for BindField tables.
template <typename T>
bool BindAs(T*& field, TComponent* component) {
  T* typed = dynamic_cast<T*>(component);
  if (typed == nullptr) return false;
  field = typed;
  return true;
}
