#pragma once
// Where the darkness road stands after a step, as the level on screen shows it: the stage the step
// moved and its level, and the whole road as a bar from the white overlay at its most (0) through
// the backlights to the black overlay at its most (1).

#include <string>

namespace lumenor::dimming {

struct LevelReading {
  enum class Stage { WhiteOverlay, Backlight, BlackOverlay };
  Stage stage = Stage::BlackOverlay;
  int percent = 0;  // the number the text shows
  // Where the road stands, from 0 (white overlay at 255) to 1 (black overlay at 255).
  double position = 0;
  // The stretch of the bar that the backlights take; empty (from == to) when none is driven.
  double backlightFrom = 0;
  double backlightTo = 0;
  friend bool operator==(const LevelReading&, const LevelReading&) = default;
};

// "背光 70%", "遮罩 49%" or "白色遮罩 20%" (UTF-8).
std::string LevelText(const LevelReading& reading);

// The level on screen: the road tells it after each step a key, the wheel or a command made.
class LevelDisplay {
 public:
  virtual ~LevelDisplay() = default;
  virtual void ShowLevel(const LevelReading& reading) = 0;
};

}  // namespace lumenor::dimming
