// Reading the help file: readable UTF-8 text, and a sentence naming the file
// for everything that keeps it from being shown.
#include "platform/HelpDocument.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
namespace fs = std::filesystem;

class HelpDocumentTest : public ::testing::Test {
 protected:
  HelpDocumentTest() {
    std::string pattern = (fs::temp_directory_path() / "kestrune-help-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary directory");
    dir_ = pattern;
  }
  ~HelpDocumentTest() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  // A problem is one sentence for the reader that names the file.
  static void ExpectProblem(const HelpDocument& doc, const std::string& path, const std::string& why) {
    EXPECT_FALSE(doc.readable);
    EXPECT_TRUE(doc.markdown.empty());
    EXPECT_THAT(doc.problem, StartsWith("The help file " + path + " cannot be shown: "));
    EXPECT_THAT(doc.problem, HasSubstr(why));
    EXPECT_EQ(doc.problem.back(), '.');
  }

  fs::path dir_;
};

TEST_F(HelpDocumentTest, AReadableUtf8FileGivesItsTextWhole) {
  const std::string text = "# Kestrune\n\nゲーム → スタート で始まります。\n\xF0\x9F\x8E\xAE\n";
  const HelpDocument doc = LoadHelpDocument(Write("kestrune.hlp", text));
  EXPECT_TRUE(doc.readable);
  EXPECT_EQ(doc.markdown, text);
  EXPECT_TRUE(doc.problem.empty());
}

TEST_F(HelpDocumentTest, AnEmptyFileIsReadableAndEmpty) {
  const HelpDocument doc = LoadHelpDocument(Write("kestrune.hlp", ""));
  EXPECT_TRUE(doc.readable);
  EXPECT_EQ(doc.markdown, "");
}

TEST_F(HelpDocumentTest, AFileInAJapaneseDirectoryIsFound) {
  fs::create_directory(dir_ / "ゲーム");
  const HelpDocument doc = LoadHelpDocument(Write("ゲーム/kestrune.hlp", "help"));
  EXPECT_TRUE(doc.readable);
  EXPECT_EQ(doc.markdown, "help");
}

TEST_F(HelpDocumentTest, AMissingFileIsNamed) {
  const std::string path = PathOf("kestrune.hlp");
  ExpectProblem(LoadHelpDocument(path), path, "No such file or directory");
}

TEST_F(HelpDocumentTest, ADirectoryIsNamed) {
  fs::create_directory(dir_ / "kestrune.hlp");
  const std::string path = PathOf("kestrune.hlp");
  ExpectProblem(LoadHelpDocument(path), path, "it is a directory");
}

TEST_F(HelpDocumentTest, AnUnreadableFileIsNamed) {
  const std::string path = Write("kestrune.hlp", "secret");
  fs::permissions(path, fs::perms::none);
  if (::access(path.c_str(), R_OK) == 0) GTEST_SKIP() << "running with rights to read any file";
  ExpectProblem(LoadHelpDocument(path), path, "Permission denied");
}

TEST_F(HelpDocumentTest, NoNameAtAllIsAProblemToo) {
  const HelpDocument doc = LoadHelpDocument("");
  EXPECT_FALSE(doc.readable);
  EXPECT_THAT(doc.problem, HasSubstr("no help file has been named"));
}

TEST_F(HelpDocumentTest, AFileOverTheSizeLimitIsRefused) {
  const std::string path = Write("kestrune.hlp", std::string(4 * 1024 * 1024 + 1, 'a'));
  ExpectProblem(LoadHelpDocument(path), path, "larger than 4 MiB");
}

TEST_F(HelpDocumentTest, AFileAtTheSizeLimitIsRead) {
  const HelpDocument doc = LoadHelpDocument(Write("kestrune.hlp", std::string(4 * 1024 * 1024, 'a')));
  EXPECT_TRUE(doc.readable);
  EXPECT_EQ(doc.markdown.size(), 4u * 1024 * 1024);
}

struct EncodingCase {
  const char* name;
  std::string bytes;
  bool readable;
};
void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }
class Encoding : public HelpDocumentTest, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(Encoding, OnlyWellFormedUtf8IsShown) {
  const EncodingCase& c = GetParam();
  const std::string path = Write("kestrune.hlp", "Help: " + c.bytes + " end");
  const HelpDocument doc = LoadHelpDocument(path);
  if (c.readable) {
    EXPECT_TRUE(doc.readable) << doc.problem;
    EXPECT_EQ(doc.markdown, "Help: " + c.bytes + " end");
  } else {
    ExpectProblem(doc, path, "it is not UTF-8 text");
  }
}

const EncodingCase kEncodings[] = {
    {"Ascii", "plain", true},
    {"TwoBytes", "\xC3\xA9", true},
    {"ThreeBytes", "\xE3\x82\xB2", true},
    {"FourBytes", "\xF0\x9F\x8E\xAE", true},
    {"LargestCodePoint", "\xF4\x8F\xBF\xBF", true},
    {"ByteOrderMark", "\xEF\xBB\xBF", true},
    {"ShiftJis", "\x83\x51\x81\x5B\x83\x80", false},
    {"Latin1", "caf\xE9", false},
    {"LoneContinuation", "\x80", false},
    {"OverlongSlash", "\xC0\xAF", false},
    {"OverlongThreeBytes", "\xE0\x80\xAF", false},
    {"Surrogate", "\xED\xA0\x80", false},
    {"PastLargestCodePoint", "\xF4\x90\x80\x80", false},
    {"FiveByteLead", "\xF8\x88\x80\x80\x80", false},
    {"CutShort", "\xE3\x82", false},
};
INSTANTIATE_TEST_SUITE_P(Bytes, Encoding, ::testing::ValuesIn(kEncodings),
                         [](const ::testing::TestParamInfo<EncodingCase>& row) { return std::string(row.param.name); });

// A multi-byte character that ends the file exactly is whole, and one cut
// short by the end of the file is not.
TEST_F(HelpDocumentTest, TheLastCharacterOfTheFileIsCheckedToo) {
  EXPECT_TRUE(LoadHelpDocument(Write("whole.hlp", "end ゲ")).readable);
  EXPECT_FALSE(LoadHelpDocument(Write("cut.hlp", "end \xE3\x82")).readable);
  EXPECT_FALSE(LoadHelpDocument(Write("lead.hlp", "end \xE3")).readable);
}

}  // namespace
