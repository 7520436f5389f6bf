#include "platform/random.h"

#include <algorithm>
#include <utility>

namespace xiuhe {

void RandomGenerator::Seed(std::optional<int> seed, std::uint32_t tickCount) {
  if (seed) {
    engine_.seed(static_cast<std::uint32_t>(*seed));
    return;
  }
  std::seed_seq sequence{tickCount, ++seedings_};
  engine_.seed(sequence);
}

int RandomGenerator::InRange(int low, int high) {
  low = std::max(low, 0);
  high = std::max(high, 0);
  if (low > high) std::swap(low, high);
  if (low == high) return low;
  // In 64 bits: the span of 0 .. INT_MAX does not fit an int.
  const std::uint64_t span = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low) + 1;
  return low + static_cast<int>(engine_() % span);
}

}  // namespace xiuhe
