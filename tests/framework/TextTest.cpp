// Numbers for the screen and the page, and the text helpers the page setup is read with.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/Basic.h"

TEST(CInt32, TruncatesTowardZeroAndSaturates) {
  EXPECT_EQ(fw::CInt32(10.7), 10);
  EXPECT_EQ(fw::CInt32(-10.7), -10);
  EXPECT_EQ(fw::CInt32(2147483647.9), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(fw::CInt32(-2147483648.0), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(fw::CInt32(-1e300), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(fw::CInt32(std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(fw::CInt32(std::nan("")), 0);
}

TEST(CUInt64, DropsFractionsAndNegatives) {
  EXPECT_EQ(fw::CUInt64(4.9), 4u);
  EXPECT_EQ(fw::CUInt64(-3), 0u);
  EXPECT_EQ(fw::CUInt64(std::nan("")), 0u);
  EXPECT_EQ(fw::CUInt64(1e30), std::numeric_limits<uint64_t>::max());
}

TEST(TextHelpers, CountAndCutByCharacters) {
  EXPECT_EQ(fw::Len(""), 0);
  EXPECT_EQ(fw::Len("\xC3\xA9t\xC3\xA9"), 3);  // "été"
  EXPECT_EQ(fw::InStr(3, "abcabc", "bc"), 5);
  EXPECT_EQ(fw::InStr(1, "abc", "x"), 0);
  EXPECT_EQ(fw::InStr(99, "abc", "a"), 0);
  EXPECT_EQ(fw::InStr(2, "\xC3\xA9x\xC3\xA9x", "x"), 2);
  EXPECT_EQ(fw::Mid("<real>0.5</real>", 7, 3), "0.5");
  EXPECT_EQ(fw::Mid("abc", 2, 99), "bc");
  EXPECT_EQ(fw::Mid("abc", 5, 1), "");
  EXPECT_EQ(fw::Mid("abc", 1, -1), "");
}
