// Reads the window's layout description and builds the window from it.
// The text form is described in app/LayoutSyntax.h.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

class TForm;

namespace kestrune {

// A layout description that cannot be applied; the message names the source
// and line, the component and property, and what is wrong.
class LayoutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Creates form's components from the layout text, owned by form and in stored
// order; binds each to form's field of that name; applies every stored value
// in stored order (through the property's setter where it has one, events
// through form.FindMethod); then resolves references between components, so a
// reference may name a component that comes later, and refuses a layout that
// leaves any of form.UnboundFields() empty. Does not run OnCreate.
// source_name is used in error messages. Throws LayoutError; the components
// made before the error stay owned by form.
void LoadLayout(TForm& form, std::string_view text, const std::string& source_name);

// Loads form from the layout compiled into the executable for its class
// (Unit1.layout for TForm1). The program installs it as the application's
// form loader, so Application->CreateForm calls it.
void LoadEmbeddedLayout(TForm& form);

}  // namespace kestrune
