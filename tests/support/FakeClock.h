#pragma once

#include "platform/Clock.h"

namespace lanzhou::testing {

// Time moves only when a test (or `step`) says so.
class FakeClock final : public platform::Clock {
 public:
  std::uint64_t now = 1000;
  std::uint64_t step = 0;
  std::uint64_t NowMs() override {
    const auto t = now;
    now += step;
    return t;
  }
};

}  // namespace lanzhou::testing
