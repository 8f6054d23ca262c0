// A monotonic millisecond clock, passed in so tests can hold time still.
#pragma once

#include <chrono>
#include <cstdint>

namespace lanzhou::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t NowMs() = 0;
};

class SteadyClock final : public Clock {
 public:
  std::uint64_t NowMs() override {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

}  // namespace lanzhou::platform
