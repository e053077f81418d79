// Files compiled into the executable at build time: the window's layout and its pictures.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kestrune {

struct EmbeddedResource {
  std::string_view name;
  std::span<const unsigned char> bytes;
};

// Every embedded file; defined by the generated resource library linked in.
std::span<const EmbeddedResource> EmbeddedResources();

// The bytes of the embedded file of that name, if there is one.
std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view name);

}  // namespace kestrune
