// A dialog that no test waits for fails the test at hand within seconds, and is
// cancelled so that the test goes on, instead of blocking it until CTest kills it.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "converter/CalConv.h"
#include "framework/testing/Driver.h"
#include "mainwindow/CalMain.h"
#include "printing/CalPrint.h"
#include "tests/support/AppTest.h"

namespace {

// Far beyond the watch's grace: reached only when the watch missed the dialog.
constexpr int kLastResortMs = 10000;

class UnexpectedDialogTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    pdf = fw::test::ScratchDir() + "/unexpected.pdf";
    fw::test::SetPrintFile(pdf);
  }
  void TearDown() override {
    fw::test::SetPrintFile("");
    std::filesystem::remove(pdf);
    AppTest::TearDown();
  }

  // Runs `action`, which brings up a dialog no helper waits for: the watch reports it
  // once, with `report` in its message, and takes it down.
  static void ExpectReported(const std::function<void()>& action, const char* report) {
    bool lastResort = false;
    EXPECT_NONFATAL_FAILURE(lastResort = fw::test::CloseModalsAfter(kLastResortMs, action), report);
    EXPECT_FALSE(lastResort) << "the watch left it up";
  }

  std::string pdf;
};

}  // namespace

TEST_F(UnexpectedDialogTest, AnUnguardedAlertFailsTheTestAndIsCancelledSoTheTestGoesOn) {
  fw::test::ChooseMenu(CalMain::Instance(), "Convert");
  CalConv& w = CalConv::Instance();
  fw::test::Type(*w.InYearTXT, "2000");
  fw::test::Type(*w.InMonthTXT, "13");
  fw::test::Type(*w.InDayTXT, "1");
  ExpectReported([&] { fw::test::Click(*w.ToHijri); }, "unexpected alert: Input Error ...: Date is out of range!");
  // The click returned with the date refused, and the window works on.
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(w.OutYearTXT->Caption(), "");
  EXPECT_TRUE(fw::test::ExpectAlert([&] { fw::test::Click(*w.ToHijri); }).Shown);
  fw::test::Type(*w.InMonthTXT, "1");
  fw::test::Click(*w.ToHijri);
  EXPECT_EQ(w.OutYearTXT->Caption(), "1420");
}

TEST_F(UnexpectedDialogTest, AnUnguardedPrintDialogOrModalWindowFailsTheTestAndIsCancelled) {
  // The printer dialog, over the Print window that a helper has taken on.
  WhilePrintWindow(
      [](CalPrint& w) { ExpectReported([&] { fw::test::Click(*w.PrintPRT); }, "unexpected print dialog: Print"); });
  EXPECT_FALSE(std::filesystem::exists(pdf));
  // The Print window again: a helper took it on before, but not this showing.
  ExpectReported([] { fw::test::ChooseMenu(CalMain::Instance(), "Print"); }, "unexpected modal window: Print");
  EXPECT_FALSE(CalPrint::Instance().Visible());
}

TEST_F(UnexpectedDialogTest, DialogsTheHelpersTakeOnAreNotReportedHoweverLongTheyStayUp) {
  // The printer dialog over the Print window, both held well beyond the watch's grace.
  bool shown = false;
  WhilePrintWindow([&](CalPrint& w) {
    fw::test::WhileDialog([&] { fw::test::Click(*w.PrintPRT); },
                          [&] {
                            shown = true;
                            fw::test::Pump(3000);
                          });
  });
  EXPECT_TRUE(shown);
  EXPECT_FALSE(CalPrint::Instance().Visible());
  EXPECT_FALSE(std::filesystem::exists(pdf));
}
