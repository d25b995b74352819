#include "support/fake_main_window_controls.h"

#include <algorithm>

namespace lumenor::testing {
namespace {

const char* Name(app::Slider slider) {
  switch (slider) {
    case app::Slider::Brightness:
      return "Slider1";
    case app::Slider::Contrast:
      return "Slider2";
    case app::Slider::Red:
      return "Slider3(0)";
    case app::Slider::Green:
      return "Slider3(1)";
    case app::Slider::Blue:
      return "Slider3(2)";
  }
  return "?";
}

const char* Name(app::ValueLabel label) {
  switch (label) {
    case app::ValueLabel::Brightness:
      return "Label2";
    case app::ValueLabel::Contrast:
      return "Label3";
    case app::ValueLabel::Darkness:
      return "Label_zl_show";
  }
  return "?";
}

}  // namespace

// As the controls are made: the ranges are the core's to set, values 0, labels "1".
FakeMainWindowControls::FakeMainWindowControls() {
  for (app::Slider s : {app::Slider::Brightness, app::Slider::Contrast, app::Slider::Red,
                        app::Slider::Green, app::Slider::Blue}) {
    sliders[s] = SliderState{};
  }
  for (app::ValueLabel l :
       {app::ValueLabel::Brightness, app::ValueLabel::Contrast, app::ValueLabel::Darkness}) {
    labels[l] = "1";
  }
}

int FakeMainWindowControls::SliderValue(app::Slider slider) const {
  return sliders.at(slider).value;
}

void FakeMainWindowControls::SetSliderRange(app::Slider slider, int minimum, int maximum) {
  // A trackbar keeps its position inside its range without reporting a change.
  SliderState& s = sliders.at(slider);
  s.minimum = minimum;
  s.maximum = maximum;
  s.value = std::clamp(s.value, minimum, maximum);
}

void FakeMainWindowControls::SetSliderValue(app::Slider slider, int value) {
  SliderState& s = sliders.at(slider);
  const int clamped = std::clamp(value, s.minimum, s.maximum);
  if (clamped == s.value) return;
  s.value = clamped;
  events.push_back(std::string("change:") + Name(slider));
  if (window_ != nullptr) window_->OnSliderChange(slider);
}

void FakeMainWindowControls::SetDarknessRange(int minimum, int maximum) {
  // A scroll bar keeps its value inside its range without reporting anything.
  darknessMinimum = minimum;
  darknessMaximum = maximum;
  darknessValue = std::clamp(darknessValue, minimum, maximum);
}

void FakeMainWindowControls::ShowDarkness(int value, bool enhance,
                                          std::optional<std::string_view> label) {
  darknessValue = std::clamp(value, darknessMinimum, darknessMaximum);
  enhanceTicked = enhance;
  if (label) SetLabel(app::ValueLabel::Darkness, *label);
}

void FakeMainWindowControls::SetLabel(app::ValueLabel label, std::string_view text) {
  labels[label] = std::string(text);
  events.push_back(std::string("label:") + Name(label) + "=" + std::string(text));
}

void FakeMainWindowControls::UserMovesSlider(app::Slider slider, int value) {
  SetSliderValue(slider, value);
  if (window_ != nullptr) window_->OnSliderScroll(slider);
}

void FakeMainWindowControls::UserClicksEnhance() {
  enhanceTicked = !enhanceTicked;
  if (window_ != nullptr) window_->OnEnhanceClick(enhanceTicked);
}

void FakeMainWindowControls::UserDragsDarkness(int value) {
  darknessValue = value;
  if (window_ != nullptr) window_->OnDarknessThumbDrag(value);
}

}  // namespace lumenor::testing
