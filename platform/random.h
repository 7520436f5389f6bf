#pragma once
#include <cstdint>
#include <optional>

namespace xiuhe {

class RandomGenerator {
 public:
  // Without a seed, the tick count varied by a counter, so two seedings in one tick differ.
  void Seed(std::optional<int> seed, std::uint32_t tickCount);
  int InRange(int low, int high);

 private:
  std::uint32_t state_ = 1;
  std::uint32_t seedings_ = 0;
};

}  // namespace xiuhe
