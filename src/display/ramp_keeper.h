#pragma once
// One display's ramp as the program holds it, between the ramp arithmetic and the display.
//
// - Every write is read back: a display may answer no and show the new ramp, or answer yes and
//   keep its old one (the documentation of SetDeviceGammaRamp allows both). What the display shows
//   decides whether it took the ramp.
// - It remembers the ramp the display took last in this run, and puts it back on request (after
//   the system reset the display). Before the first write of the run it puts back nothing.

#include <optional>

#include "display/gamma_ramp.h"
#include "platform/gamma_device.h"

namespace lumenor::display {

class RampKeeper final : public platform::GammaDevice {
 public:
  explicit RampKeeper(platform::GammaDevice& display);
  RampKeeper(const RampKeeper&) = delete;
  RampKeeper& operator=(const RampKeeper&) = delete;

  // Reads the display as it is now.
  bool ReadRamp(GammaRamp& ramp) override;
  // Reads the display, hands it the ramp and reads it back. Taken: the display shows it (its high
  // bytes), or it answered yes and shows something other than before (a driver that approximates
  // the ramp). Refused: it answered no and does not show it, or it answered yes and still shows
  // what it showed just before the write. A refused ramp is not remembered. Returns whether it was
  // taken.
  bool WriteRamp(const GammaRamp& ramp) override;

  // The system may have reset the display: the ramp taken last goes back. A refusal now is the
  // system still holding the display (a secure desktop), not the user's setting being refused.
  void Rewrite();

  // The ramp the display took last in this run; empty before the first.
  const std::optional<GammaRamp>& LastApplied() const { return lastApplied_; }

  // What the display shows now, next to what Lumenor put there last.
  enum class Seen {
    Nothing,  // nothing of Lumenor's is on it, or it cannot be read
    Kept,     // Lumenor's last ramp
    Reset,    // its reference or the straight ramp: the system put its own back
    Other,    // some other ramp: another program wrote it
  };
  Seen Look(const GammaRamp& reference);

  // What it remembers of the display, for the display's next device context.
  struct Memory {
    std::optional<GammaRamp> applied;  // the ramp taken last
    std::optional<GammaRamp> shown;    // what the display showed when it took it
  };
  Memory Remembered() const { return {lastApplied_, shownApplied_}; }
  void Recall(const Memory& memory);
  // The ramp on the display is the one Lumenor put there last (compared as its readback).
  bool ShowsLastApplied(const GammaRamp& now) const;

 private:
  platform::GammaDevice& display_;
  std::optional<GammaRamp> lastApplied_;
  std::optional<GammaRamp> shownApplied_;  // read back right after lastApplied_ was taken
  std::optional<GammaRamp> shown_;         // what the display showed at the last read
};

// Displays hand back only the high byte of each entry faithfully (Wine repeats it in the low one).
bool SameHighBytes(const GammaRamp& a, const GammaRamp& b);

}  // namespace lumenor::display
