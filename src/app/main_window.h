#pragma once
// The main window's behaviour as a plain object: what each control notification does, the start-up
// and restore sequences. The Win32 window forwards its controls' notifications here and implements
// MainWindowControls with the real controls; the tests implement it with plain fields.

#include <cstdint>
#include <optional>
#include <string_view>

#include "dimming/darkness_road.h"

namespace lumenor::display {
class DisplaySet;
}
namespace lumenor::platform {
class Dialogs;
class ProgramFiles;
}  // namespace lumenor::platform

namespace lumenor::app {

enum class Slider { Brightness, Contrast, Red, Green, Blue };  // Slider1, Slider2, Slider3(0…2)
enum class ValueLabel { Brightness, Contrast, Darkness };      // Label2, Label3, Label_zl_show

inline constexpr std::string_view kMissingDefaultsText =
    "未找到默认数据文件，只能恢复到本次调置前的状态！";
inline constexpr std::string_view kSystemNoticeCaption = "系统提示";
inline constexpr std::string_view kAlreadyRunningText = "哥们,您已经运行一个了";

// The controls only show: the darkness bar, its label and 加强 show the darkness road's state,
// which the core never reads back from them.
class MainWindowControls {
 public:
  virtual ~MainWindowControls() = default;
  // A slider raises its change notification (MainWindow::OnSliderChange) whenever its value
  // changes, also when it is set here; setting its range raises nothing.
  virtual int SliderValue(Slider slider) const = 0;
  virtual void SetSliderRange(Slider slider, int minimum, int maximum) = 0;
  virtual void SetSliderValue(Slider slider, int value) = 0;

  virtual void SetLabel(ValueLabel label, std::string_view text) = 0;

  // HScroll_setblack: setting its range raises no reaction.
  virtual void SetDarknessRange(int minimum, int maximum) = 0;
  // The darkness road as the window shows it: HScroll_setblack's value and Check加强, and
  // Label_zl_show when the text is given. Raises no reaction.
  virtual void ShowDarkness(int value, bool enhance, std::optional<std::string_view> label) = 0;

  virtual void HideWindow() = 0;
};

class MainWindow final : private dimming::RoadView {
 public:
  // The road outlives the window: it shows the road's state while it is loaded.
  MainWindow(MainWindowControls& controls, display::DisplaySet& displays,
             dimming::DarknessRoad& road, platform::Dialogs& dialogs,
             platform::ProgramFiles& programFiles);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The start-up sequence (the single-instance test has run at the program's start): reads each
  // display's ramp as its reference, gives every slider and the darkness bar its range (the only
  // place the controls' ranges are set), the sliders their neutral values, the labels, the
  // darkness bar -121, and runs the darkness update once. It writes no ramp.
  void Load();

  void OnSliderScroll(Slider slider);
  void OnSliderChange(Slider slider);
  // 加强 clicked: whether it is ticked now.
  void OnEnhanceClick(bool ticked) { Ask(dimming::Request::Kind::Enhance, ticked ? 1 : 0); }
  // The bar's thumb dragged to value: the overlay's update runs.
  void OnDarknessThumbDrag(int value) { Ask(dimming::Request::Kind::BarDragged, value); }
  // The bar moved by its arrows, its track or a key: the value only.
  void OnDarknessMoved(int value) { Ask(dimming::Request::Kind::BarMoved, value); }
  void OnRestoreClick() { RestoreDefaults(); }
  void OnHideClick();
  // StepDarker and StepBrighter: the hotkey controls' presses, steps of the road.
  void OnDarkerHotkey() {
    road_.Take({dimming::Request::Kind::StepDarker, 0, dimming::Source::Key});
  }
  void OnBrighterHotkey() {
    road_.Take({dimming::Request::Kind::StepBrighter, 0, dimming::Source::Key});
  }

  void RestoreDefaults();

 private:
  // dimming::RoadView
  void ShowRoad(const dimming::RoadShown& shown) override;
  // A request made in this window.
  void Ask(dimming::Request::Kind kind, int value) {
    road_.Take({kind, value, dimming::Source::Window});
  }

  MainWindowControls& controls_;
  dimming::DarknessRoad& road_;
  platform::Dialogs& dialogs_;
  platform::ProgramFiles& programFiles_;
  display::DisplaySet& displays_;
};

// "恢复默认"'s part for the displays, also while the main window is closed: Default.dat beside the
// program becomes every display's reference when it reads, else each display gets its own back; a
// missing or malformed file is said in a message box.
void RestoreReferences(display::DisplaySet& displays, platform::ProgramFiles& programFiles,
                       platform::Dialogs& dialogs);

}  // namespace lumenor::app
