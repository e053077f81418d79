// Run-time helpers on Linux.
#include "platform/RunTime.h"

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {
std::vector<std::string>& Arguments() {
  static std::vector<std::string> args;
  return args;
}
}  // namespace

std::string IntToStr(long long value) { return std::to_string(value); }

void SetProgramArguments(int argc, char** argv) {
  Arguments().assign(argv, argv + argc);
}

std::string ParamStr(int index) {
  if (index == 0) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.string();
    // No /proc: fall back to the name the program was started by, made absolute.
    if (Arguments().empty()) return {};
    return std::filesystem::absolute(Arguments()[0], error).lexically_normal().string();
  }
  if (index < 0 || static_cast<std::size_t>(index) >= Arguments().size()) return {};
  return Arguments()[static_cast<std::size_t>(index)];
}

std::string ExtractFilePath(const std::string& file_name) {
  const std::size_t slash = file_name.rfind('/');
  return slash == std::string::npos ? std::string() : file_name.substr(0, slash + 1);
}
