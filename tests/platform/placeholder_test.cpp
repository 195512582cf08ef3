#include <gtest/gtest.h>
#include "platform/color.h"
TEST(Color, NearestIsExact) { EXPECT_EQ(NearestColor(0xFFFFE0), 0xFFFFE0u); }
