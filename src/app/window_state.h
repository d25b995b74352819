#pragma once
// The main window's state for "启动时恢复上次的设置": read at the end of a run, brought back at the
// next start through the controls, as the user's own moves would bring it.

#include "settings/settings.h"

namespace lumenor::app {

class MainWindow;
class MainWindowControls;

settings::WindowState StateOf(const MainWindowControls& controls);

// The sliders, 加强 and the darkness as `last` has them, the overlay never more opaque than 160.
void RestoreState(MainWindowControls& controls, MainWindow& window,
                  const settings::WindowState& last);

}  // namespace lumenor::app
