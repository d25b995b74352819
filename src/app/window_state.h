#pragma once
// The main window's state for "启动时恢复上次的设置": read at the end of a run, brought back at the
// next start through the controls and the darkness road, as the user's own moves would bring it.

#include "settings/settings.h"

namespace lumenor::dimming {
class DarknessRoad;
}

namespace lumenor::app {

class MainWindow;
class MainWindowControls;

settings::WindowState StateOf(const MainWindowControls& controls, const dimming::DarknessRoad& road);

// The sliders, 加强 and the darkness as `last` has them, the overlay never more opaque than 160,
// and each display's backlight once its monitor has answered.
void RestoreState(MainWindowControls& controls, MainWindow& window, dimming::DarknessRoad& road,
                  const settings::WindowState& last);

}  // namespace lumenor::app
