#include "generation/UniqueRandomPicker.h"

#include <utility>

namespace lanzhou::generation {

UniqueRandomPicker::UniqueRandomPicker(std::uint64_t seed) : engine_(seed) {}

std::unique_ptr<UniqueRandomPicker> UniqueRandomPicker::Copy() const {
  return std::make_unique<UniqueRandomPicker>(*this);
}

void UniqueRandomPicker::Reset() { pool_.clear(); }

std::int32_t UniqueRandomPicker::Next(std::int32_t min, std::int32_t max) {
  if (pool_.empty()) {
    pool_.reserve(static_cast<std::size_t>(static_cast<std::int64_t>(max) - min + 1));
    for (std::int64_t v = min; v <= max; ++v) pool_.push_back(static_cast<std::int32_t>(v));
  }
  std::uniform_int_distribution<std::size_t> pick(0, pool_.size() - 1);
  const std::size_t k = pick(engine_);
  const std::int32_t result = pool_[k];
  // Order inside the pool does not matter to a uniform draw, so the last entry fills the hole:
  // shifting the tail would make a run over N articles cost N^2.
  pool_[k] = pool_.back();
  pool_.pop_back();
  return result;
}

std::uint64_t EntropySeed() {
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

}  // namespace lanzhou::generation
