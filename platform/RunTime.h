// The small run-time helpers the game uses: numbers as text and the program's own path.
#pragma once

#include <string>

// Decimal text, with "-" before a negative number.
std::string IntToStr(long long value);

// Remembers the command line, for ParamStr; called once at program start.
void SetProgramArguments(int argc, char** argv);
// ParamStr(0) is the full path of the running executable, whatever the
// working directory or how it was started; ParamStr(i) the i-th argument,
// empty past the last.
std::string ParamStr(int index);

// The directory part of a file name: everything up to and including its last
// "/", or empty if it has none. UTF-8 never uses the byte of "/" inside a
// multi-byte character, so a directory name in any script is never cut.
std::string ExtractFilePath(const std::string& file_name);
