#pragma once
// A notification area that keeps its icons by window and identifier, as the shell does, and
// records every call with a copy of the record it was given.
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "platform/notify_icon.h"

namespace lumenor::testing {

class FakeNotifyIcon : public platform::NotifyIcon {
 public:
  struct Call {
    platform::NotifyAction action;
    std::vector<std::uint8_t> record;
    bool accepted;
  };

  bool Notify(platform::NotifyAction action, std::span<const std::uint8_t> record) override;

  // The icons shown now, as (window, identifier).
  std::set<std::pair<std::uint64_t, std::uint32_t>> icons;
  std::vector<Call> calls;
  bool ready = true;  // false: the shell is not up yet (at sign-in) and refuses every call
};

}  // namespace lumenor::testing
