#pragma once
// The main window's behaviour as a plain object: what each control notification does, the start-up
// and restore sequences. The Win32 window forwards its controls' notifications here and implements
// MainWindowControls with the real controls; the tests implement it with plain fields.

#include <cstdint>
#include <string_view>

#include "app/hotkey_steps.h"

namespace lumenor::display {
class DisplaySet;
}
namespace lumenor::overlay {
class OverlayControl;
}
namespace lumenor::platform {
class Dialogs;
class ProgramFiles;
}  // namespace lumenor::platform

namespace lumenor::app {

enum class Slider { Brightness, Contrast, Red, Green, Blue };  // Slider1, Slider2, Slider3(0…2)
enum class ValueLabel { Brightness, Contrast, Darkness };        // Label2, Label3, Label_zl_show

inline constexpr std::string_view kMissingDefaultsText =
    "未找到默认数据文件，只能恢复到本次调置前的状态！";
inline constexpr std::string_view kSystemNoticeCaption = "系统提示";
inline constexpr std::string_view kAlreadyRunningText = "哥们,您已经运行一个了";

// The controls are also what the hotkey steps act on (DarknessStepTarget): the darkness bar, the
// overlay box, and the bar's update, which they raise as its own notification would.
class MainWindowControls : public DarknessStepTarget {
 public:
  // A slider raises its change notification (MainWindow::OnSliderChange) whenever its value
  // changes, also when it is set here; setting its range raises nothing.
  virtual int SliderValue(Slider slider) const = 0;
  virtual void SetSliderRange(Slider slider, int minimum, int maximum) = 0;
  virtual void SetSliderValue(Slider slider, int value) = 0;

  virtual void SetLabel(ValueLabel label, std::string_view text) = 0;

  // Check加强: TickEnhance ticks it; when it was unticked that raises its click reaction
  // (MainWindow::OnEnhanceClick), as a user's click would.
  virtual bool EnhanceTicked() const = 0;

  // HScroll_setblack, with its value and limits from DarknessStepTarget: setting its range or its
  // value raises no reaction; RunDarknessUpdate raises MainWindow::UpdateDarkness.
  virtual void SetDarknessRange(int minimum, int maximum) = 0;

  virtual void HideWindow() = 0;
};

class MainWindow {
 public:
  MainWindow(MainWindowControls& controls, display::DisplaySet& displays,
             overlay::OverlayControl& overlay, platform::Dialogs& dialogs,
             platform::ProgramFiles& programFiles);

  // The start-up sequence (the single-instance test has run at the program's start): reads each
  // display's ramp as its reference, gives every slider and the darkness bar its range (the only
  // place the controls' ranges are set), the sliders their neutral values, the labels, the
  // darkness bar -121, and runs the darkness update once. It writes no ramp.
  void Load();

  void OnSliderScroll(Slider slider);
  void OnSliderChange(Slider slider);
  void OnEnhanceClick();
  void OnDarknessThumbDrag();
  void OnRestoreClick() { RestoreDefaults(); }
  void OnHideClick();
  void OnDarkerHotkey() { app::StepDarker(controls_); }
  void OnBrighterHotkey() { app::StepBrighter(controls_); }

  void RestoreDefaults();
  // HScroll_setblack_Scroll: the darkness bar's value to the overlay and Label_zl_show, only while
  // the overlay shows.
  void UpdateDarkness();

 private:
  MainWindowControls& controls_;
  overlay::OverlayControl& overlay_;
  platform::Dialogs& dialogs_;
  platform::ProgramFiles& programFiles_;
  display::DisplaySet& displays_;
};

}  // namespace lumenor::app
