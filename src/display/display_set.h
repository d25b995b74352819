#pragma once
// The displays attached to the desktop, each with its own gamma ramps, and the one place that
// follows the system's display signals: the facade the main window, the tray and the program's
// signals talk to. Each job it joins lives in a file of its own:
//
// - display_list: the displays come, go and keep their references and choices; each has its own
//   reference (read when the main window loads, so a calibrated display keeps its calibration)
//   and takes each slider operation (ramp_operation) as the same operation on it.
// - The user may leave displays out: such a display gets its reference back and is not touched
//   again until it is included. A display in HDR mode is never written (hdr_policy).
// - Changes are heard from the system and checked on the 5 s tick, which also keeps the overlays
//   on top; nothing else polls. After the system may have reset the displays, each gets the ramp
//   it took last again (reset_rewrites); the tick also reads each display back and puts Lumenor's
//   ramp back where the system reset it, leaving a ramp another program wrote alone. Before the
//   first write of the run nothing is written.
// - Refusals are told once per episode (display_notices); menu labels in display_choices.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "display/display_choices.h"
#include "display/display_follower.h"
#include "display/display_list.h"
#include "display/display_notices.h"
#include "display/gamma_ramp.h"
#include "display/ramp_operation.h"
#include "display/reset_rewrites.h"
#include "display/write_pacing.h"
#include "platform/display_signals.h"
#include "platform/displays.h"
#include "platform/loop_idle.h"

namespace lumenor::platform {
class Notices;
class Timer;
}  // namespace lumenor::platform

namespace lumenor::display {

class DisplaySet final : private WritePacing::Writer {
 public:
  // Takes the displays attached now. rewriteTimer's ticks come back through OnRewriteTimer.
  // With the message loop's idle turns, a slider's operations are written at most once a turn
  // (write_pacing); without them each is written at once.
  DisplaySet(platform::Displays& system, platform::Timer& rewriteTimer, platform::Notices& notices,
             DisplayFollower& follower, platform::LoopIdle* idle = nullptr);
  ~DisplaySet();
  DisplaySet(const DisplaySet&) = delete;
  DisplaySet& operator=(const DisplaySet&) = delete;

  void OnSignal(platform::DisplaySignal signal);
  void OnKeepOnTopTick();
  void OnRewriteTimer();

  // The main window's start-up: every display's reference from the display. A display whose ramp
  // cannot be read gets the straight ramp, and is read again at the next load.
  void ReadReferences();
  void ApplyBrightness(std::int16_t brightness);
  void ApplyContrast(std::int16_t contrast);
  void ApplyColours(const std::array<std::int16_t, 3>& colours);
  // The restore: with a ramp (Default.dat's) it becomes every display's reference; each display
  // then gets its reference.
  void RestoreReferences(const GammaRamp* fileRamp);

  std::vector<DisplayChoice> Choices() const;
  // Leaves the display with that identity out, or takes it back in; nothing when it has gone.
  void SetIncluded(const std::string& identity, bool included);

  std::size_t Count() const { return displays_.size(); }
  const platform::DisplayInfo& Info(std::size_t index) const;
  const GammaAdjuster& Ramps(std::size_t index) const;
  const std::optional<GammaRamp>& LastApplied(std::size_t index) const;

 private:
  // Takes the displays attached now; false when nothing changed.
  bool Refresh(platform::Displays::Look look);
  void Apply(const RampOperation& operation);
  // Writes the last operation to every display.
  void WriteLatest() override;
  // Every display's HDR state, asked again before any ramp is written: Win+Alt+B switches a
  // display to HDR with no notice, and a ramp would tint it.
  void AskHdr();
  // Applies the operation to the displays at these indexes, their HDR state asked first; tells
  // refusals and HDR displays.
  void ApplyTo(const std::vector<std::size_t>& indexes, const RampOperation& operation);
  void Follow();
  // The 5 s tick's readback of every display Lumenor writes.
  void LookAtWritten();
  void StartRewrites();
  void RewriteAll();
  // Puts back the ramp each of these displays took last, their HDR state asked first.
  void Rewrite(const std::vector<std::size_t>& indexes);
  std::size_t CountWritten() const;

  platform::Displays& system_;
  DisplayFollower& follower_;
  DisplayList displays_;
  DisplayNotices notices_;
  ResetRewrites rewrites_;
  RampOperation last_;
  WritePacing pacing_;
};

}  // namespace lumenor::display
