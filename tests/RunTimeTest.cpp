// Run-time helpers: numbers as text, the directory part of a path, and the
// program's own path.
#include "platform/RunTime.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

namespace {

struct IntCase {
  const char* name;
  long long value;
  const char* text;
};
void PrintTo(const IntCase& c, std::ostream* os) { *os << c.name; }
class IntToStrTable : public ::testing::TestWithParam<IntCase> {};

TEST_P(IntToStrTable, WritesDecimalWithAMinusBeforeNegatives) {
  EXPECT_EQ(IntToStr(GetParam().value), GetParam().text);
}

const IntCase kInts[] = {
    {"Zero", 0, "0"},
    {"One", 1, "1"},
    {"MinusOne", -1, "-1"},
    {"Score", 12300, "12300"},
    {"NegativeScore", -450, "-450"},
    {"IntMax", INT_MAX, "2147483647"},
    {"IntMin", INT_MIN, "-2147483648"},
    {"LongLongMin", LLONG_MIN, "-9223372036854775808"},
};
INSTANTIATE_TEST_SUITE_P(Values, IntToStrTable, ::testing::ValuesIn(kInts),
                         [](const ::testing::TestParamInfo<IntCase>& row) { return std::string(row.param.name); });

struct PathCase {
  const char* name;
  const char* file_name;
  const char* directory;
};
void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }
class ExtractFilePathTable : public ::testing::TestWithParam<PathCase> {};

TEST_P(ExtractFilePathTable, KeepsEverythingUpToTheLastSlash) {
  EXPECT_EQ(ExtractFilePath(GetParam().file_name), GetParam().directory);
}

const PathCase kPaths[] = {
    {"Program", "/usr/local/bin/kestrune", "/usr/local/bin/"},
    {"NoSlash", "kestrune", ""},
    {"Empty", "", ""},
    {"TrailingSlash", "/opt/kestrune/", "/opt/kestrune/"},
    {"Root", "/", "/"},
    {"FileInRoot", "/kestrune", "/"},
    {"Relative", "build/kestrune", "build/"},
    {"DotSlash", "./kestrune", "./"},
    {"DoubleSlash", "/opt//kestrune", "/opt//"},
    {"JapaneseDirectories", "/home/ユーザー/ゲーム/kestrune", "/home/ユーザー/ゲーム/"},
    {"JapaneseFileName", "/home/ユーザー/ゲーム", "/home/ユーザー/"},
    {"BackslashIsAnOrdinaryCharacter", "/tmp/a\\b", "/tmp/"},
    {"ColonIsAnOrdinaryCharacter", "c:kestrune", ""},
};
INSTANTIATE_TEST_SUITE_P(Paths, ExtractFilePathTable, ::testing::ValuesIn(kPaths),
                         [](const ::testing::TestParamInfo<PathCase>& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------------------

void ExpectThisTestProgram(const std::string& path) {
  const std::filesystem::path p(path);
  EXPECT_TRUE(p.is_absolute()) << path;
  EXPECT_EQ(p.filename(), "RunTimeTest") << path;
  EXPECT_TRUE(std::filesystem::is_regular_file(p)) << path;
  EXPECT_EQ(::access(path.c_str(), X_OK), 0) << path << " is not executable";
}

TEST(ParamStr, ZeroIsTheAbsolutePathOfTheRunningProgram) { ExpectThisTestProgram(ParamStr(0)); }

TEST(ParamStr, ZeroIsTheSameAfterTheWorkingDirectoryChanges) {
  const std::string before = ParamStr(0);
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  const std::string after = ParamStr(0);
  std::filesystem::current_path("/");
  const std::string at_root = ParamStr(0);
  std::filesystem::current_path(cwd);
  EXPECT_EQ(after, before);
  EXPECT_EQ(at_root, before);
  ExpectThisTestProgram(after);
}

TEST(ParamStr, TheDirectoryOfTheProgramHoldsIt) {
  const std::string program = ParamStr(0);
  const std::string directory = ExtractFilePath(program);
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(directory + "RunTimeTest"));
}

TEST(ParamStr, ArgumentsPastTheLastAreEmpty) {
  char program[] = "RunTimeTest";
  char first[] = "--first";
  char* argv[] = {program, first, nullptr};
  SetProgramArguments(2, argv);
  EXPECT_EQ(ParamStr(1), "--first");
  EXPECT_EQ(ParamStr(2), "");
  EXPECT_EQ(ParamStr(-1), "");
  EXPECT_EQ(ParamStr(INT_MAX), "");
  // The program's path does not come from how it was named on the command line.
  ExpectThisTestProgram(ParamStr(0));
}

}  // namespace
