#include "platform/random.h"

namespace xiuhe {

// Placeholder until the generator lands.
void RandomGenerator::Seed(std::optional<int> seed, std::uint32_t tickCount) {
  state_ = seed ? static_cast<std::uint32_t>(*seed) : tickCount + ++seedings_;
}
int RandomGenerator::InRange(int low, int) { return low; }

}  // namespace xiuhe
