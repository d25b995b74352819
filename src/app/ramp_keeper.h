#pragma once
// The program's hold on the display's ramp, between the ramp writers (the main window's sliders
// and restore) and the display. It outlives any one load of the main window.
//
// - It remembers the ramp the display took last in this run.
// - Windows puts its own ramp on the display after sleep, a change of display mode or monitor, the
//   lock screen and secure-desktop prompts; on each such signal it writes the remembered ramp again
//   at once and twice more (about 0.5 s and 2 s later), since the system's reset may land a moment
//   after its message. Before the first write of the run it writes nothing. It never polls.
// - It tells the user, once per refusal episode, when the display refuses a ramp.

#include <cstdint>
#include <optional>
#include <string_view>

#include "app/gamma_ramp.h"
#include "platform/gamma_device.h"

namespace lumenor::platform {
class OneShotTimer;
}

namespace lumenor::app {

class Notices;

// Window messages and their codes that say the display's ramp may have been reset.
inline constexpr std::uint32_t kWmDisplayChange = 0x007E;
inline constexpr std::uint32_t kWmPowerBroadcast = 0x0218;
inline constexpr std::uintptr_t kPbtApmResumeSuspend = 0x0007;
inline constexpr std::uintptr_t kPbtApmResumeAutomatic = 0x0012;
inline constexpr std::uint32_t kWmWtsSessionChange = 0x02B1;
inline constexpr std::uintptr_t kWtsConsoleConnect = 0x1;
inline constexpr std::uintptr_t kWtsSessionUnlock = 0x8;

// True for WM_DISPLAYCHANGE, a resume from WM_POWERBROADCAST, and an unlock or console connect
// from WM_WTSSESSION_CHANGE.
bool DisplayMayHaveBeenReset(std::uint32_t message, std::uintptr_t wParam);

// The rewrites after a reset signal: the first at once, then these delays after the one before.
inline constexpr unsigned kFirstRewriteDelayMs = 500;
inline constexpr unsigned kSecondRewriteDelayMs = 1500;  // about 2 s after the signal

class RampKeeper final : public platform::GammaDevice {
 public:
  // rewriteTimer's ticks come back through OnRewriteTimer.
  RampKeeper(platform::GammaDevice& display, platform::OneShotTimer& rewriteTimer,
             Notices& notices);
  RampKeeper(const RampKeeper&) = delete;
  RampKeeper& operator=(const RampKeeper&) = delete;

  // Reads the display as it is now.
  bool ReadRamp(GammaRamp& ramp) override;
  // Hands the ramp to the display. A display that answers no but shows the ramp (its high bytes,
  // read back at once) has taken it; one that answers no and shows something else has refused
  // it: that keeps the ramp applied last and, the first time since a ramp was taken, tells the
  // user. Returns whether the display took the ramp.
  bool WriteRamp(const GammaRamp& ramp) override;

  // The system says the display may have been reset: the ramp taken last goes back at once, and
  // the rewrite timer brings it back twice more.
  void OnDisplayMayHaveBeenReset();
  void OnRewriteTimer();

  // The ramp the display took last in this run; empty before the first.
  const std::optional<GammaRamp>& LastApplied() const { return lastApplied_; }

 private:
  enum class Rewrites { None, First, Second };

  void Rewrite();

  platform::GammaDevice& display_;
  platform::OneShotTimer& rewriteTimer_;
  Notices& notices_;
  std::optional<GammaRamp> lastApplied_;
  bool refusalTold_ = false;  // a refusal was told and no ramp has been taken since
  Rewrites pending_ = Rewrites::None;
};

}  // namespace lumenor::app
