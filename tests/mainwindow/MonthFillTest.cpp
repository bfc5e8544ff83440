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

TEST_F(MonthFillTest, October623SpansThreeHijriMonths) {
  const MonthLayout m = FillMonthGre(623, 10, kScreenSpans);
  EXPECT_EQ(m.start, 7);
  const auto& b = AppGlobal::DayBlock;
  EXPECT_EQ(b[1].HD, 30);
  EXPECT_EQ(b[1].HM, 3);
  EXPECT_EQ(b[1].HColor, 0x0000FFu);
  for (size_t d = 2; d <= 30; ++d) {
    EXPECT_EQ(b[d].HD, static_cast<int32_t>(d) - 1) << d;
    EXPECT_EQ(b[d].HM, 4) << d;
    EXPECT_EQ(b[d].HColor, 0xFF0000u) << d;
  }
  EXPECT_EQ(b[31].HD, 1);
  EXPECT_EQ(b[31].HM, 5);
  EXPECT_EQ(b[31].HColor, 0x006513u);
  for (size_t d = 1; d <= 31; ++d) EXPECT_EQ(b[d].GColor, 0x000000u) << d;
}

TEST_F(MonthFillTest, Ramadhan38SpansThreeGregorianMonths) {
  const MonthLayout m = FillMonthHij(38, 9, kScreenSpans);
  EXPECT_EQ(m.start, 5);
  EXPECT_EQ(m.n, 30);
  const auto& b = AppGlobal::DayBlock;
  EXPECT_EQ(b[1].GY, 659);
  EXPECT_EQ(b[1].GM, 1);
  EXPECT_EQ(b[1].GD, 31);
  EXPECT_EQ(b[1].GColor, 0x0000FFu);
  EXPECT_EQ(b[2].GM, 2);
  EXPECT_EQ(b[2].GD, 1);
  EXPECT_EQ(b[29].GD, 28);
  EXPECT_EQ(b[29].GColor, 0xFF0000u);
  EXPECT_EQ(b[30].GM, 3);
  EXPECT_EQ(b[30].GD, 1);
  EXPECT_EQ(b[30].GColor, 0x006513u);
  for (size_t d = 1; d <= 30; ++d) EXPECT_EQ(b[d].HColor, 0x000000u) << d;
}

TEST_F(MonthFillTest, PaperSpansCarryLettersAndMagenta) {
  FillMonthGre(623, 10, kPaperSpans);
  const auto& b = AppGlobal::DayBlock;
  EXPECT_EQ(b[1].Hid, "A");
  EXPECT_EQ(b[2].Hid, "B");
  EXPECT_EQ(b[31].Hid, "C");
  EXPECT_EQ(b[31].HColor, 0xFF00FFu);
  EXPECT_TRUE(b[31].Gid.empty());
  FillMonthHij(38, 9, kPaperSpans);
  EXPECT_EQ(b[30].Gid, "C");
}
