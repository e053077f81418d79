// Looks up a file that the build compiled into the executable.
#include "platform/EmbeddedResource.h"

namespace kestrune {

std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view name) {
  for (const EmbeddedResource& r : EmbeddedResources())
    if (r.name == name) return r.bytes;
  return std::nullopt;
}

}  // namespace kestrune
