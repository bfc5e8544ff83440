// Numbers read the same under a locale whose decimal point is a comma: what the user
// types and the page setup kept as text.

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <cmath>
#include <limits>
#include <string>

#include "framework/Basic.h"
#include "framework/Printing.h"
#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "tests/support/AppTest.h"

namespace {

// scripts/deps.sh generates it when it is missing.
constexpr const char* kCommaLocale = "de_DE.UTF-8";

// Qt takes the C library's locale from the environment as the application starts,
// after this.
const bool kCommaLocaleInEnvironment =
    ::setenv("LC_ALL", kCommaLocale, 1) == 0 && ::setenv("LANG", kCommaLocale, 1) == 0;

class CommaLocaleTest : public AppTest {
 protected:
  void SetUp() override {
    // Without the locale these tests would pass under C and prove nothing.
    ASSERT_TRUE(kCommaLocaleInEnvironment);
    const std::lconv* numbers = std::localeconv();
    ASSERT_STREQ(numbers->decimal_point, ",")
        << kCommaLocale << " is not in effect (is it generated? run scripts/deps.sh as root)";
    AppTest::SetUp();
  }
};

}  // namespace

TEST_F(CommaLocaleTest, ValReadsTheLeadingNumberWithAPointAndAnExponentAsUnderC) {
  struct Row {
    const char* text;
    double value;
  };
  const Row rows[] = {
      {"12.9", 12.9},     {"2.4e3", 2400},  {"2.024e3", 2024}, {" -1.5E-1x", -0.15},
      {"+.5", 0.5},       {"7.", 7},        {"12abc", 12},     {"2e", 2},
      {"12,9", 12},       {"1e-400", 0},    {"&h10", 0},       {"0x1A", 0},
      {"inf", 0},         {"- 3", 0},       {"", 0},           {"0.000000000000000000001e21", 1},
      {"07", 7},          {"-5", -5},       {".", 0},          {"e5", 0},
      {"nan", 0},         {"\xD9\xA1", 0},  {"99999999999", 99999999999.0},
  };
  for (const Row& row : rows) EXPECT_DOUBLE_EQ(fw::Val(row.text), row.value) << '"' << row.text << '"';
  EXPECT_EQ(fw::Val("-1e400"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(fw::Val("1" + std::string(400, '0')), std::numeric_limits<double>::infinity());
  EXPECT_DOUBLE_EQ(fw::CDbl("0.5"), 0.5);
}

// What a typed number becomes as a 32-bit integer: never undefined, whatever Val gave.
TEST_F(CommaLocaleTest, NumbersBecomeIntegersByTruncationAndSaturate) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(fw::CInt32(-7.9), -7);
  EXPECT_EQ(fw::CInt32(fw::Val("99999999999")), INT32_MAX);
  EXPECT_EQ(fw::CInt32(-inf), INT32_MIN);
  EXPECT_EQ(fw::CInt32(std::nan("")), 0);
}

TEST_F(CommaLocaleTest, GoAcceptsAYearTypedWithAnExponent) {
  CalMain& w = CalMain::Instance();
  fw::test::Type(*w.MonthTXT, "3.9");
  fw::test::Type(*w.YearTXT, "2.024e3");
  const fw::test::Alert alert = fw::test::ExpectAlert([&] { fw::test::Click(*w.GoCMD); }, 500);
  EXPECT_FALSE(alert.Shown) << alert.Text;
  EXPECT_EQ(AppGlobal::CurrentDate.Month, 3);
  EXPECT_EQ(AppGlobal::CurrentDate.Year, 2024);
}

TEST_F(CommaLocaleTest, PageSetupKeepsFractionalMarginsThroughItsText) {
  fw::PrinterSetup setup;
  setup.SetSetupString(
      "tessaral-page-setup 1\nprinter=\nsize=Letter\nwidth=612\nheight=792\norientation=portrait\n"
      "margins=10.75,20.6,10.75,20.6\n");
  // The printable area rounds each margin to whole points: 612 - 2 * 11 by 792 - 2 * 21.
  // Margins that lost their fractions would leave 592 by 752.
  EXPECT_EQ(setup.Width(), 590);
  EXPECT_EQ(setup.Height(), 750);
  fw::PrinterSetup again;
  again.SetSetupString(setup.SetupString());
  EXPECT_EQ(again.SetupString(), setup.SetupString());
  EXPECT_EQ(again.Width(), 590);
  EXPECT_EQ(again.Height(), 750);
}
