#pragma once
// The level on screen: after a step made by a key, the wheel or a command, a small panel near the
// bottom centre of the display that has the mouse cursor shows for about 1.5 s the stage the step
// moved and where it stands ("遮罩 49%"), with a bar of the whole road. It lies above the overlays,
// lets every click through, never takes the focus, is kept out of screen capture as the overlays
// are, is drawn for its display's DPI, and its window text is the text it shows (screen readers
// read it). Its window is made at the first step and reused; while hidden, no timer runs.
#include <windows.h>

#include <memory>

#include "dimming/level_reading.h"

namespace lumenor::platform {
class ProgramWindow;
}
namespace lumenor::settings {
class SettingsKeeper;
}

namespace lumenor::level {

// The panel's window class, which the desktop tests look for.
inline constexpr wchar_t kLevelPanelClass[] = L"LumenorLevelPanel";

class LevelPanel final : public dimming::LevelDisplay {
 public:
  // Its timer is on the program window, which must outlive it. "显示调节提示" and "截图时包含遮罩"
  // are read from the settings at each step, so a change holds from the next step on.
  LevelPanel(HINSTANCE instance, platform::ProgramWindow& program,
             const settings::SettingsKeeper& settings);
  ~LevelPanel() override;
  LevelPanel(const LevelPanel&) = delete;
  LevelPanel& operator=(const LevelPanel&) = delete;

  // Shows the reading, or updates it in place when the panel shows already (a held key), and
  // keeps it for another 1.5 s.
  void ShowLevel(const dimming::LevelReading& reading) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lumenor::level
