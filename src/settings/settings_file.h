#pragma once
// lumenor.ini's text: "name=value" lines in UTF-8. The reader takes what it can use and skips the
// rest (unknown lines, values out of range, a second line for the same name); a file that makes
// no sense as text gives the defaults and says why. The writer writes every setting, so what it
// writes reads back as the same settings.

#include <cstddef>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace lumenor::settings {

// A larger file is no settings file: it is refused unread.
inline constexpr std::size_t kMaxFileBytes = 64 * 1024;

struct ReadOutcome {
  Settings settings;      // the defaults where the file says nothing usable
  bool refused = false;   // the file as a whole made no sense: binary, not UTF-8, too large
  std::string problem;    // why it was refused, for the user
};

ReadOutcome ReadSettings(std::string_view text);
std::string WriteSettings(const Settings& settings);

}  // namespace lumenor::settings
