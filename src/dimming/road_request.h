#pragma once
// Every way into the darkness road is one of these requests, taken by DarknessRoad::Take: the
// hotkeys, the darkness bar and 加强 of the main window, the wheel on the tray icon, the command
// line of a second start and the restore.

namespace lumenor::dimming {

// Who asked. A step asked by a key, the wheel or a command shows the level on screen; one made in
// the main window does not (the window shows the value itself).
enum class Source { Key, Wheel, Command, Window };

struct Request {
  enum class Kind {
    StepDarker,     // one step down the road
    StepBrighter,   // one step up the road
    SetDarkness,    // value: the darkness bar's value, -255 to 255; 加强 ticked unless it is 0
    SetBacklights,  // value: every driven monitor at this percentage of its range, 0 to 100
    Restore,        // "恢复默认": the bar at 0 and every backlight at its first-read level
    Enhance,        // value: 加强 ticked (non-zero) or unticked (0), as by a click
    BarDragged,     // value: the thumb's position; the overlay's update runs
    BarMoved,       // value: arrows, track and keys; the value only
  };
  Kind kind = Kind::StepDarker;
  int value = 0;
  Source source = Source::Key;
};

}  // namespace lumenor::dimming
