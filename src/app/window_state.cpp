#include "app/window_state.h"

#include "app/main_window.h"

namespace lumenor::app {

settings::WindowState StateOf(const MainWindowControls& controls) {
  settings::WindowState state;
  state.brightness = controls.SliderValue(Slider::Brightness);
  state.contrast = controls.SliderValue(Slider::Contrast);
  state.red = controls.SliderValue(Slider::Red);
  state.green = controls.SliderValue(Slider::Green);
  state.blue = controls.SliderValue(Slider::Blue);
  state.darkness = controls.DarknessValue();
  state.enhance = controls.EnhanceTicked();
  return state;
}

void RestoreState(MainWindowControls& controls, MainWindow& window,
                  const settings::WindowState& last) {
  const settings::WindowState state = settings::StateToRestore(last);
  // The colour sliders apply on their change notification; brightness and contrast on a scroll.
  controls.SetSliderValue(Slider::Red, state.red);
  controls.SetSliderValue(Slider::Green, state.green);
  controls.SetSliderValue(Slider::Blue, state.blue);
  controls.SetSliderValue(Slider::Brightness, state.brightness);
  window.OnSliderScroll(Slider::Brightness);
  controls.SetSliderValue(Slider::Contrast, state.contrast);
  window.OnSliderScroll(Slider::Contrast);
  controls.SetDarknessValue(state.darkness);
  if (state.enhance) controls.TickEnhance();
  controls.RunDarknessUpdate();
}

}  // namespace lumenor::app
