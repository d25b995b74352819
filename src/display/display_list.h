#pragma once
// The displays attached, in the system's order, matched from one look to the next: a display
// seen before keeps its reference, its choice and its device context; one that goes takes its
// device context along and leaves a record; one that appears takes its record back, or is opened
// as new with its reference read from what it shows.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "display/attached_display.h"
#include "display/departed_displays.h"
#include "platform/displays.h"

namespace lumenor::display {

class DisplayList {
 public:
  explicit DisplayList(platform::Displays& system);

  struct Change {
    bool changed = false;
    std::vector<std::size_t> arrived;  // indexes that want the last operation applied
  };
  // Takes the displays the system lists now, as the look found them.
  Change Take(std::vector<platform::DisplayInfo> attached, platform::Displays::Look look);

  std::size_t size() const { return displays_.size(); }
  AttachedDisplay& operator[](std::size_t index) { return *displays_[index]; }
  const AttachedDisplay& operator[](std::size_t index) const { return *displays_[index]; }
  // The index of the display with that identity, or size() when it is not attached.
  std::size_t Find(const std::string& identity) const;

 private:
  const AttachedDisplay* Known(const platform::DisplayInfo& info) const;
  // A display that appears, or comes back: a device context, its reference and choice.
  std::unique_ptr<AttachedDisplay> Arrive(const platform::DisplayInfo& info);
  void Depart(const AttachedDisplay& display);

  platform::Displays& system_;
  std::vector<std::unique_ptr<AttachedDisplay>> displays_;
  DepartedDisplays departed_;
};

}  // namespace lumenor::display
