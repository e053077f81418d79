// Placeholder until the layout reader lands.
#include "app/LayoutReader.h"

#include "platform/Form.h"

namespace kestrune {

void LoadLayout(TForm& /*form*/, std::string_view /*text*/, const std::string& source_name) {
  throw LayoutError(source_name + ": the layout reader is not written yet");
}

void LoadEmbeddedLayout(TForm& form) { LoadLayout(form, "", form.ClassName()); }

}  // namespace kestrune
