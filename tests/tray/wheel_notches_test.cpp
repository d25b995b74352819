// The wheel's deltas as notches: each delta of a turn gives the whole notches it completes.
#include "tray/wheel_notches.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumenor::tray {
namespace {

TEST(WheelNotches_Add, WholeNotchesOfEachTurnAndNothingCarriedAcrossAReversal) {
  const struct {
    const char* name;
    std::vector<int> deltas;
    std::vector<int> notches;
  } rows[] = {
      {"one notch towards the user", {-120}, {-1}},
      {"one notch away", {120}, {1}},
      {"a high-resolution wheel's thirds", {-40, -40, -40, -40}, {0, 0, -1, 0}},
      {"two notches at once", {240}, {2}},
      {"a rest carried into the next notch", {-200, -40}, {-1, -1}},
      {"half a notch away, then back", {60, -60, -60}, {0, 0, -1}},
      {"half a notch left over after a notch, then back", {180, -120}, {1, -1}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WheelNotches wheel;
    std::vector<int> seen;
    for (const int delta : row.deltas) seen.push_back(wheel.Add(delta));
    EXPECT_EQ(seen, row.notches);
  }
}

}  // namespace
}  // namespace lumenor::tray
