// Draws numbers so that every number of a range comes up once before any comes up again.
//
//   UniqueRandomPicker picker(42);
//   picker.Next(1, 3); picker.Next(1, 3); picker.Next(1, 3);  // 1, 2, 3 in some order
//   picker.Next(1, 3);                                        // the pool refills: a new round
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace lanzhou::generation {

class UniqueRandomPicker {
 public:
  explicit UniqueRandomPicker(std::uint64_t seed);
  virtual ~UniqueRandomPicker() = default;
  virtual std::unique_ptr<UniqueRandomPicker> Copy() const;

  // Empties the pool; the next draw starts a new round.
  virtual void Reset();
  // A number between min and max (min <= max), drawn uniformly from those left in the pool;
  // an empty pool is first refilled with min..max.
  virtual std::int32_t Next(std::int32_t min, std::int32_t max);

  std::size_t PoolSize() const { return pool_.size(); }

 private:
  std::vector<std::int32_t> pool_;
  std::mt19937_64 engine_;
};

// A seed from the OS's entropy, for runs that need not be reproducible.
std::uint64_t EntropySeed();

}  // namespace lanzhou::generation
