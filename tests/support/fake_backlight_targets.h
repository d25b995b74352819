#pragma once
// Where the road sends backlight targets, recorded: every target, in order.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dimming/darkness_road.h"

namespace lumenor::testing {

class FakeBacklightTargets : public dimming::BacklightTargets {
 public:
  void SetTarget(const std::string& identity, std::uint32_t level) override {
    sent.emplace_back(identity, level);
  }
  std::vector<std::pair<std::string, std::uint32_t>> sent;
};

}  // namespace lumenor::testing
