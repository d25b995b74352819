// What the display queries answer, as the program keeps it: every answer the system may give.
#include "platform/display_answers.h"

#include <gtest/gtest.h>

namespace lumenor::platform {
namespace {

TEST(HdrModeOf, HdrOnlyWhenTheDisplayIsInHdrModeWhateverColourManagementSays) {
  using Mode = ActiveColourMode;
  struct Row {
    const char* name;
    AdvancedColourAnswer answer;
    HdrMode expected;
  };
  const Row rows[] = {
      // The newer query decides where it exists: automatic colour management turns the older
      // query's "advanced colour" on for SDR displays too.
      {"newer: HDR", {Mode::Hdr, true}, HdrMode::On},
      {"newer: SDR under colour management", {Mode::Sdr, true}, HdrMode::Off},
      {"newer: wide colour gamut", {Mode::Wcg, true}, HdrMode::Off},
      {"newer: SDR", {Mode::Sdr, false}, HdrMode::Off},
      // Older Windows: the older query alone.
      {"older: advanced colour on", {std::nullopt, true}, HdrMode::On},
      {"older: advanced colour off", {std::nullopt, false}, HdrMode::Off},
      // Neither knows the display (Wine answers 87 to both).
      {"neither", {std::nullopt, std::nullopt}, HdrMode::Off},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(HdrModeOf(row.answer), row.expected);
  }
}

TEST(IdentityOf, TheActiveMonitorNamesTheDisplayAndNoDeviceIdGivesNone) {
  struct Row {
    const char* name;
    std::vector<MonitorEntry> entries;
    std::string expected;
  };
  const Row rows[] = {
      {"the active entry after one no longer attached",
       {{false, "old-monitor"}, {true, "new-monitor"}},
       "new-monitor"},
      {"the first entry, active", {{true, "only"}, {false, "other"}}, "only"},
      {"none flagged active: the first with an ID", {{false, ""}, {false, "second"}}, "second"},
      {"the active entry has no ID", {{true, ""}, {false, "other"}}, "other"},
      {"no ID at all: virtual and indirect displays", {{true, ""}}, ""},
      {"no entry", {}, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(IdentityOf(row.entries), row.expected);
  }
}

}  // namespace
}  // namespace lumenor::platform
