#pragma once
// The displays attached, in the system's order, matched from one look to the next: a display
// seen before keeps its reference, its choice and its device context; one that appears is opened
// and its reference read; one that goes takes its device context along.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "display/attached_display.h"
#include "platform/displays.h"

namespace lumenor::display {

class DisplayList {
 public:
  explicit DisplayList(platform::Displays& system);

  struct Change {
    bool changed = false;
    std::vector<std::size_t> arrived;  // indexes that want the last operation applied
  };
  // Takes the displays the system lists now.
  Change Take(const std::vector<platform::DisplayInfo>& attached);

  std::size_t size() const { return displays_.size(); }
  AttachedDisplay& operator[](std::size_t index) { return *displays_[index]; }
  const AttachedDisplay& operator[](std::size_t index) const { return *displays_[index]; }
  // The index of the display with that identity, or size() when it is not attached.
  std::size_t Find(const std::string& identity) const;

 private:
  std::unique_ptr<AttachedDisplay> Open(const platform::DisplayInfo& info);

  platform::Displays& system_;
  std::vector<std::unique_ptr<AttachedDisplay>> displays_;
};

}  // namespace lumenor::display
