#pragma once
// The main window's two hotkey controls and the keys the user chose: a key goes to a control
// through its key property writes, which re-register it; a key the system refuses is said and
// the control goes back to the key it had.

#include <string>
#include <string_view>

#include "settings/settings.h"

namespace lumenor::hotkey {
class VBHotKey;
}

namespace lumenor::app {

settings::KeyChoice KeyOf(const hotkey::VBHotKey& control);

struct KeysInForce {
  settings::KeyChoice darker;
  settings::KeyChoice brighter;
  std::string taken;  // the taken-key balloon's text for the keys refused, empty when none
};

// Gives the controls the wanted keys. Either may take the other's old key (the two can swap).
KeysInForce ChangeKeys(hotkey::VBHotKey& darker, hotkey::VBHotKey& brighter,
                       const settings::KeyChoice& wantedDarker,
                       const settings::KeyChoice& wantedBrighter);

// Labelsm's text for the keys in force: the design's text, which names the default keys, with each
// other key's name in its place.
std::string BannerText(std::string_view designText, const settings::KeyChoice& darker,
                       const settings::KeyChoice& brighter);

}  // namespace lumenor::app
