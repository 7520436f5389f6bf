#pragma once
#include <cstdint>
#include <optional>
#include <random>

namespace xiuhe {

class RandomGenerator {
 public:
  // Without a seed, the tick count varied by a counter, so two seedings in one tick differ.
  void Seed(std::optional<int> seed, std::uint32_t tickCount);
  // A whole number from low to high, both included; a negative bound counts as 0 and
  // reversed bounds are swapped.
  int InRange(int low, int high);

 private:
  std::mt19937 engine_;
  std::uint32_t seedings_ = 0;
};

}  // namespace xiuhe
