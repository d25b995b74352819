#pragma once
// The displays attached to the desktop, each with its own gamma ramps, and the one place that
// follows the system's display signals.
//
// - Each display has its own reference ramp (read from it when the main window loads, so a
//   calibrated display keeps its calibration) and takes each slider operation as the same
//   operation on its own reference.
// - A display that appears gets its reference read and the last operation applied; one that goes
//   is forgotten; the overlays follow every change. Changes are heard from the system and checked
//   on the 5 s tick, which also keeps the overlays on top. Nothing else polls.
// - The user may leave displays out: such a display gets its reference back and is not touched
//   again until it is included. A display in HDR mode is never written: a ramp would tint it.
// - After the system may have reset the displays, each gets the ramp it took last again, at once
//   and about 0.5 s and 2 s later. Before the first write of the run nothing is written.
// - Refusals are told once per episode, naming the displays when only some refused.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "display/display_follower.h"
#include "display/gamma_ramp.h"
#include "platform/display_signals.h"
#include "platform/displays.h"

namespace lumenor::platform {
class Notices;
class Timer;
}  // namespace lumenor::platform

namespace lumenor::display {

inline constexpr std::string_view kRampRefusedText =
    "显示器不接受这一设置，画面保持上一次的设置。要更暗或更亮，请用“加强”或按住 Ctrl+← / "
    "Ctrl+→。";
// "显示器 2" then this, when only some displays refused.
inline constexpr std::string_view kSomeRefusedTail =
    " 不接受这一设置，画面保持上一次的设置。要更暗或更亮，请用“加强”或按住 Ctrl+← / Ctrl+→。";
// "显示器 2" then this, once per run for a display in HDR mode.
inline constexpr std::string_view kHdrTail =
    " 开着 HDR，亮度、对比度和颜色对它不起作用；要调暗请用“加强”或 Ctrl+←。";
inline constexpr std::string_view kDisplaysMenuText = "显示器";

// The rewrites after a reset signal: the first at once, then these delays after the one before.
inline constexpr unsigned kFirstRewriteDelayMs = 500;
inline constexpr unsigned kSecondRewriteDelayMs = 1500;  // about 2 s after the signal

// A slider operation or a restore, as it is applied to each display's own reference.
struct RampOperation {
  enum class Kind { None, Brightness, Contrast, Colours, Reference };
  Kind kind = Kind::None;
  std::int16_t value = 0;                 // brightness or contrast
  std::array<std::int16_t, 3> colours{};  // red, green, blue
};

// One item of the tray menu's display list.
struct DisplayChoice {
  std::string label;  // "显示器 1：1280×800（主）"
  bool included = true;
  std::string identity;  // the display it stands for, whatever its number is by the time
};

// "显示器 <number>：<width>×<height>", with "（主）" on the primary.
std::string DisplayChoiceLabel(std::size_t number, const platform::DisplayInfo& info);

class DisplaySet {
 public:
  // Takes the displays attached now. rewriteTimer's ticks come back through OnRewriteTimer.
  DisplaySet(platform::Displays& system, platform::Timer& rewriteTimer,
             platform::Notices& notices, DisplayFollower& follower);
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
  struct Display;

  // Takes the displays attached now; false when nothing changed.
  bool Refresh(platform::Displays::Look look);
  std::unique_ptr<Display> Open(const platform::DisplayInfo& info);
  void Apply(const RampOperation& operation);
  // Applies the operation to the displays at these indexes; tells refusals and HDR displays.
  void ApplyTo(const std::vector<std::size_t>& indexes, const RampOperation& operation);
  void Follow();
  void StartRewrites();
  void RewriteAll();
  static bool Written(const Display& display);
  std::size_t CountWritten() const;

  enum class Rewrites { None, First, Second };

  platform::Displays& system_;
  platform::Timer& rewriteTimer_;
  platform::Notices& notices_;
  DisplayFollower& follower_;
  std::vector<std::unique_ptr<Display>> displays_;  // in the system's order
  RampOperation last_;
  bool refusalTold_ = false;  // a refusal was told and no operation has been taken by all since
  std::vector<std::string> hdrTold_;  // identities of the HDR displays the user has heard of
  Rewrites pending_ = Rewrites::None;
};

}  // namespace lumenor::display
