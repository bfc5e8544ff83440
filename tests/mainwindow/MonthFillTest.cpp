// The month fill shared by the screen grid and printed pages.

#include <gtest/gtest.h>

#include "engine/Vorlen.h"
#include "mainwindow/TableCell.h"
#include "shell/AppGlobal.h"

namespace {

class MonthFillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Vorlen::initConstants();
    AppGlobal::ResetState();
  }
};

}  // namespace

TEST_F(MonthFillTest, SundayStartFebruaryLeavesLaterCellsNew) {
  const MonthLayout m = FillMonthGre(2015, 2, kScreenSpans);  // 1 February 2015 is a Sunday
  EXPECT_EQ(m.start, 1);
  EXPECT_EQ(m.n, 28);
  for (size_t d = 29; d <= 42; ++d) {
    EXPECT_EQ(AppGlobal::DayBlock[d].GD, 0) << d;
    EXPECT_EQ(AppGlobal::DayBlock[d].HD, 0) << d;
  }
}
