// Loading the help file.
#include "platform/HelpDocument.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace {

constexpr std::size_t kMaxHelpBytes = 4 * 1024 * 1024;

bool IsValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = 0;
    unsigned min = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3, min = 0x10000;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size()) return false;
    unsigned code = c & (0x3Fu >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto cc = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((cc & 0xC0) != 0x80) return false;
      code = (code << 6) | (cc & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

HelpDocument Problem(const std::string& path, const std::string& why) {
  HelpDocument doc;
  doc.problem = "The help file " + path + " cannot be shown: " + why + ".";
  return doc;
}

}  // namespace

HelpDocument LoadHelpDocument(const std::string& path) {
  if (path.empty()) return Problem("(none)", "no help file has been named");
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return Problem(path, "it is a directory");
  // errno is cleared first: a failed open that sets none must not report a stale one.
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return Problem(path, errno != 0 ? std::strerror(errno) : "it cannot be opened");
  std::string text;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxHelpBytes) return Problem(path, "it is larger than 4 MiB");
  }
  if (in.bad()) return Problem(path, "it could not be read to the end");
  if (!IsValidUtf8(text)) return Problem(path, "it is not UTF-8 text");
  HelpDocument doc;
  doc.readable = true;
  doc.markdown = std::move(text);
  return doc;
}
