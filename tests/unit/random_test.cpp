#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <vector>

#include "platform/random.h"

namespace xiuhe {
namespace {

std::set<int> Draws(RandomGenerator& random, int low, int high, int count = 2000) {
  std::set<int> seen;
  for (int i = 0; i < count; ++i) seen.insert(random.InRange(low, high));
  return seen;
}

TEST(RandomInRange, CoversExactlyTheBoundsWhicheverWayRoundTheyCome) {
  RandomGenerator random;
  random.Seed(7, 0);
  EXPECT_EQ(Draws(random, 1, 5), (std::set<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Draws(random, 5, 1), (std::set<int>{1, 2, 3, 4, 5}));
}

TEST(RandomInRange, NegativeBoundsCountAsZeroAndEqualBoundsGiveThatValue) {
  RandomGenerator random;
  random.Seed(7, 0);
  EXPECT_EQ(Draws(random, 3, 3, 50), (std::set<int>{3}));
  EXPECT_EQ(Draws(random, -5, 2), (std::set<int>{0, 1, 2}));
  EXPECT_EQ(Draws(random, -3, -1, 50), (std::set<int>{0}));
}

TEST(RandomInRange, TheWidestRangeStaysInsideItsBounds) {
  RandomGenerator random;
  random.Seed(1, 0);
  for (int value : Draws(random, 0, INT_MAX, 500)) EXPECT_GE(value, 0);
  for (int value : Draws(random, INT_MAX - 1, INT_MAX, 200)) EXPECT_GE(value, INT_MAX - 1);
}

std::vector<int> Sequence(RandomGenerator& random) {
  std::vector<int> values;
  for (int i = 0; i < 20; ++i) values.push_back(random.InRange(0, 1000000));
  return values;
}

TEST(RandomSeed, AGivenSeedRepeatsAndTwoClockSeedingsInOneTickDiffer) {
  RandomGenerator first, second;
  first.Seed(42, 0);
  second.Seed(42, 999);
  EXPECT_EQ(Sequence(first), Sequence(second));

  RandomGenerator clock;
  clock.Seed(std::nullopt, 123456);
  const std::vector<int> once = Sequence(clock);
  clock.Seed(std::nullopt, 123456);
  EXPECT_NE(Sequence(clock), once);
}

}  // namespace
}  // namespace xiuhe
