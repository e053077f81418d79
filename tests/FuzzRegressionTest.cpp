// What the fuzzers found, replayed: every file of tests/fuzz/regressions is read
// the way its fuzzer reads it, and must load or be refused with the reader's
// own clear error. A <case>.expect file beside an input holds words that the
// error must contain.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/Readings.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using kestrune::fuzz::Reading;

const fs::path kRegressions = fs::path(KESTRUNE_SOURCE_DIR) / "tests" / "fuzz" / "regressions";

std::vector<std::uint8_t> ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The inputs of one fuzzer, with the words each one's error must contain ("" for none).
struct Case {
  fs::path input;
  std::string expected;
};

std::vector<Case> CasesOf(const std::string& fuzzer) {
  std::vector<Case> cases;
  if (!fs::is_directory(kRegressions / fuzzer)) return cases;
  for (const auto& entry : fs::directory_iterator(kRegressions / fuzzer)) {
    if (entry.path().extension() == ".expect") continue;
    Case c{entry.path(), ""};
    fs::path expect = entry.path();
    expect.replace_extension(".expect");
    if (fs::exists(expect)) {
      std::ifstream in(expect);
      std::getline(in, c.expected);
    }
    cases.push_back(c);
  }
  std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) { return a.input < b.input; });
  return cases;
}

void ExpectSound(const std::string& how, const Reading& reading) {
  EXPECT_EQ(reading.problem, "") << how;
}

TEST(FuzzRegressionTest, EveryLayoutFindingLoadsOrGivesAClearError) {
  const std::vector<Case> cases = CasesOf("layout");
  ASSERT_FALSE(cases.empty()) << "no cases in " << (kRegressions / "layout");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.filename().string());
    const std::vector<std::uint8_t> bytes = ReadBytes(c.input);
    const Reading game_window = kestrune::fuzz::ReadLayoutIntoGameWindow(bytes);
    ExpectSound("into TForm1", game_window);
    ExpectSound("into a window that takes anything", kestrune::fuzz::ReadLayoutIntoAnyForm(bytes));
    if (!c.expected.empty()) {
      EXPECT_THAT(game_window.error, HasSubstr(c.expected));
    }
  }
}

TEST(FuzzRegressionTest, EveryPictureFindingLoadsOrGivesAClearError) {
  const std::vector<Case> cases = CasesOf("picture");
  // Ten million inputs found the picture loader sound so far; a finding goes in as a file.
  if (cases.empty()) GTEST_SKIP() << "no picture findings in " << (kRegressions / "picture");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.filename().string());
    const std::vector<std::uint8_t> bytes = ReadBytes(c.input);
    const Reading file = kestrune::fuzz::ReadBmpFile(bytes);
    ExpectSound("as a BMP file", file);
    ExpectSound("as a picture block", kestrune::fuzz::ReadPictureBlock(bytes));
    ExpectSound("as a file in a block", kestrune::fuzz::ReadPictureBlock(kestrune::fuzz::BlockOf(bytes)));
    if (!c.expected.empty()) {
      EXPECT_THAT(file.error, HasSubstr(c.expected));
    }
  }
}

}  // namespace
