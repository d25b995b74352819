#include "app/window_state.h"

#include "app/main_window.h"
#include "dimming/darkness_road.h"

namespace lumenor::app {

settings::WindowState StateOf(const MainWindowControls& controls,
                              const dimming::DarknessRoad& road) {
  settings::WindowState state;
  state.brightness = controls.SliderValue(Slider::Brightness);
  state.contrast = controls.SliderValue(Slider::Contrast);
  state.red = controls.SliderValue(Slider::Red);
  state.green = controls.SliderValue(Slider::Green);
  state.blue = controls.SliderValue(Slider::Blue);
  state.darkness = road.State().darkness;
  state.enhance = road.State().enhance;
  state.backlights = road.State().backlights;
  return state;
}

void RestoreState(MainWindowControls& controls, MainWindow& window, dimming::DarknessRoad& road,
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
  // The bar moves first, then 加强 shows the overlay and the update applies the value.
  window.OnDarknessMoved(state.darkness);
  if (state.enhance) window.OnEnhanceClick(true);
  window.OnDarknessThumbDrag(state.darkness);
  // The monitors answer later, on the worker thread: the road takes each level when it does.
  road.RestoreBacklights(state.backlights);
}

}  // namespace lumenor::app
