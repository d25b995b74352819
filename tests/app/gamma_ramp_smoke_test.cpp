#include <gtest/gtest.h>
#include "app/gamma_ramp.h"
TEST(Smoke, Builds) { EXPECT_EQ(lumenor::app::LevelToWord(32768), 32769); }
