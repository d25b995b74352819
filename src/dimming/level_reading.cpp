#include "dimming/level_reading.h"

namespace lumenor::dimming {

std::string LevelText(const LevelReading& reading) {
  std::string text;
  switch (reading.stage) {
    case LevelReading::Stage::WhiteOverlay:
      text = "白色遮罩 ";
      break;
    case LevelReading::Stage::Backlight:
      text = "背光 ";
      break;
    case LevelReading::Stage::BlackOverlay:
      text = "遮罩 ";
      break;
  }
  text += std::to_string(reading.percent);
  text += '%';
  return text;
}

}  // namespace lumenor::dimming
