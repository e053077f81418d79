// Reads the window's layout description and builds the window from it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

class TForm;

namespace kestrune {

// A layout description that cannot be applied; the message names the line,
// the component and property, and what is wrong.
class LayoutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Creates form's components from the layout text in stored order, applies
// every stored value in stored order (through the property's setter where it
// has one), then resolves references between components. source_name is used
// in error messages. Throws LayoutError.
void LoadLayout(TForm& form, std::string_view text, const std::string& source_name);

// Loads form from the layout compiled into the executable for its class.
void LoadEmbeddedLayout(TForm& form);

}  // namespace kestrune
