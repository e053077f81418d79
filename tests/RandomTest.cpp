// Random numbers: the seeded generator's exact sequence, its range, and the
// seams through which tests script or replace it.
#include "platform/Random.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<int> Draw(RandomSource& source, int range, int count) {
  std::vector<int> out;
  for (int i = 0; i < count; ++i) out.push_back(source.Next(range));
  return out;
}

// Pinned once from the generator as written: any change to it, its seeding or
// its range reduction breaks replays of recorded games, and shows up here.
TEST(SeededRandom, AFixedSeedGivesAFixedSequence) {
  SeededRandom random(42);
  EXPECT_THAT(Draw(random, 100, 10), ElementsAre(44, 23, 95, 14, 26, 56, 32, 32, 45, 54));
  SeededRandom dice(0);
  EXPECT_THAT(Draw(dice, 6, 10), ElementsAre(0, 3, 4, 5, 3, 2, 5, 5, 1, 5));
  SeededRandom wide(42);
  EXPECT_THAT(Draw(wide, INT_MAX, 3), ElementsAre(949498740, 507315882, 2048004276));
}

TEST(SeededRandom, SeedingAgainStartsTheSequenceOver) {
  SeededRandom random(7);
  const std::vector<int> first = Draw(random, 1000, 20);
  random.Seed(7);
  EXPECT_EQ(Draw(random, 1000, 20), first);
  random.Seed(8);
  EXPECT_NE(Draw(random, 1000, 20), first);
}

TEST(SeededRandom, RangesOfOneOrLessGiveZeroWithoutDrawing) {
  SeededRandom random(42);
  for (int range : {1, 0, -1, INT_MIN}) EXPECT_EQ(random.Next(range), 0) << "range " << range;
  // Nothing was drawn, so the sequence is where it started.
  EXPECT_EQ(random.Next(100), 44);
}

class RandomRange : public ::testing::TestWithParam<int> {};

TEST_P(RandomRange, StaysWithinTheRangeAndReachesEveryValue) {
  const int range = GetParam();
  ProgramRandom().Seed(12345);
  std::vector<int> seen(static_cast<std::size_t>(range), 0);
  for (int i = 0; i < 200 * range; ++i) {
    const int value = Random(range);
    ASSERT_GE(value, 0);
    ASSERT_LT(value, range);
    ++seen[static_cast<std::size_t>(value)];
  }
  // Uniform: each value about 200 times; far outside that means a bias.
  for (int value = 0; value < range; ++value) {
    EXPECT_GT(seen[static_cast<std::size_t>(value)], 100) << "value " << value;
    EXPECT_LT(seen[static_cast<std::size_t>(value)], 300) << "value " << value;
  }
}
// The game draws Random(4) for a ladder column and small ranges for positions.
INSTANTIATE_TEST_SUITE_P(SmallRanges, RandomRange, ::testing::Values(2, 3, 4, 5, 7, 10, 16, 33));

TEST(Random, LargeRangesStayWithinThem) {
  ProgramRandom().Seed(99);
  for (int range : {297, 1000, 65537, INT_MAX, INT_MAX - 1})
    for (int i = 0; i < 1000; ++i) {
      const int value = Random(range);
      ASSERT_GE(value, 0);
      ASSERT_LT(value, range);
    }
}

TEST(Random, OneAndZeroAndBelowGiveZero) {
  for (int range : {1, 0, -5}) EXPECT_EQ(Random(range), 0);
}

TEST(Random, RandomizeReseedsFromTheClock) {
  ProgramRandom().Seed(42);
  Randomize();
  // A clock seed that happened to equal 42 is not a worry.
  EXPECT_NE(Draw(ProgramRandom(), INT_MAX, 3), (std::vector<int>{949498740, 507315882, 2048004276}));
}

// ---------------------------------------------------------------------------

TEST(ScriptedRandom, ReturnsItsValuesInOrderAndRecordsTheRanges) {
  ScriptedRandom script{3, 0, 9};
  script.Push(1);
  script.Push({2, 4});
  EXPECT_EQ(script.Remaining(), 6u);
  EXPECT_THAT((std::vector<int>{script.Next(4), script.Next(1), script.Next(10), script.Next(2), script.Next(3),
                                script.Next(5)}),
              ElementsAre(3, 0, 9, 1, 2, 4));
  EXPECT_THAT(script.RangesAsked(), ElementsAre(4, 1, 10, 2, 3, 5));
  EXPECT_EQ(script.Remaining(), 0u);
}

TEST(ScriptedRandom, ThrowsWhenItRunsOut) {
  ScriptedRandom script{1};
  script.Next(2);
  try {
    script.Next(7);
    FAIL() << "an exhausted script gave a value";
  } catch (const std::logic_error& e) {
    EXPECT_THAT(e.what(), HasSubstr("ran out at draw 2 (Random(7))"));
  }
  EXPECT_THAT(script.RangesAsked(), ElementsAre(2, 7));
}

struct MisfitCase {
  const char* name;
  int value;
  int range;
};
void PrintTo(const MisfitCase& c, std::ostream* os) { *os << c.name; }
class ScriptMisfit : public ::testing::TestWithParam<MisfitCase> {};

TEST_P(ScriptMisfit, AValueOutsideTheRangeThrows) {
  const MisfitCase& c = GetParam();
  ScriptedRandom script{c.value};
  try {
    script.Next(c.range);
    FAIL() << "a value that does not fit was returned";
  } catch (const std::logic_error& e) {
    EXPECT_THAT(e.what(), HasSubstr("scripted value " + std::to_string(c.value) + " does not fit Random(" +
                                    std::to_string(c.range) + ")"));
  }
}

const MisfitCase kMisfits[] = {
    {"EqualToRange", 4, 4}, {"AboveRange", 9, 4}, {"Negative", -1, 4}, {"NonZeroForRangeOne", 1, 1},
    {"NonZeroForRangeZero", 1, 0}, {"NegativeForNegativeRange", -3, -3},
};
INSTANTIATE_TEST_SUITE_P(Values, ScriptMisfit, ::testing::ValuesIn(kMisfits),
                         [](const ::testing::TestParamInfo<MisfitCase>& row) { return std::string(row.param.name); });

TEST(ScriptedRandom, ZeroFitsEveryRange) {
  ScriptedRandom script{0, 0, 0};
  EXPECT_EQ(script.Next(0), 0);
  EXPECT_EQ(script.Next(-2), 0);
  EXPECT_EQ(script.Next(1), 0);
}

// ---------------------------------------------------------------------------

TEST(ScopedRandomSource, FeedsRandomAndRestoresThePreviousSource) {
  ProgramRandom().Seed(42);
  ScriptedRandom outer{5, 6};
  {
    ScopedRandomSource use_outer(outer);
    EXPECT_EQ(Random(10), 5);
    ScriptedRandom inner{1};
    {
      ScopedRandomSource use_inner(inner);
      EXPECT_EQ(Random(10), 1);
    }
    EXPECT_EQ(Random(10), 6) << "the outer script is back";
  }
  // The program's own generator is back, untouched by the scripted draws.
  EXPECT_EQ(Random(100), 44);
  EXPECT_THAT(outer.RangesAsked(), ElementsAre(10, 10));
}

TEST(SetRandomSource, NoneGoesBackToTheProgramsGenerator) {
  ScriptedRandom script{3};
  SetRandomSource(&script);
  EXPECT_EQ(Random(4), 3);
  SetRandomSource(nullptr);
  ProgramRandom().Seed(42);
  EXPECT_EQ(Random(100), 44);
}

}  // namespace
