#pragma once
// The main window's controls as plain fields. Like the real controls, a slider raises its change
// reaction when its value changes (also when set by the program); the box and the darkness bar
// raise nothing when set, and report the user's click and drag to the MainWindow attached with
// Attach().
#include <map>
#include <string>
#include <vector>

#include "app/main_window.h"

namespace lumenor::testing {

class FakeMainWindowControls : public app::MainWindowControls {
 public:
  struct SliderState {  // a trackbar as it is made: range 0 … 100
    int minimum = 0;
    int maximum = 100;
    int value = 0;
  };

  FakeMainWindowControls();

  void Attach(app::MainWindow& window) { window_ = &window; }

  int SliderValue(app::Slider slider) const override;
  void SetSliderRange(app::Slider slider, int minimum, int maximum) override;
  void SetSliderValue(app::Slider slider, int value) override;
  void SetLabel(app::ValueLabel label, std::string_view text) override;

  void SetDarknessRange(int minimum, int maximum) override;
  void ShowDarkness(int value, bool enhance, std::optional<std::string_view> label) override;
  void HideWindow() override { windowVisible = false; }

  // What a user does: the slider moves (its value changes, then it reports the scroll) and the box
  // is clicked (its state flips, then it reports the click).
  void UserMovesSlider(app::Slider slider, int value);
  void UserClicksEnhance();
  void UserDragsDarkness(int value);

  std::string Label(app::ValueLabel label) const { return labels.at(label); }

  std::map<app::Slider, SliderState> sliders;
  std::map<app::ValueLabel, std::string> labels;
  bool enhanceTicked = false;
  int darknessValue = 0;
  int darknessMinimum = 0;  // a scroll bar as it is made: an empty range
  int darknessMaximum = 0;
  bool windowVisible = true;
  std::vector<std::string> events;  // "change:<slider>", "label:<label>=<text>" in order

 private:
  app::MainWindow* window_ = nullptr;
};

}  // namespace lumenor::testing
