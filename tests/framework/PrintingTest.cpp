// Page setup and print jobs, printed to PDF files.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "framework/Graphics.h"
#include "framework/Printing.h"
#include "framework/testing/Driver.h"

namespace fs = std::filesystem;

namespace {

class PrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tessaral-print-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir = tmpl;
    pdf = (dir / "job.pdf").string();
    fw::test::SetPrintFile(pdf);
  }
  void TearDown() override {
    fw::test::SetPrintFile("");
    fs::remove_all(dir);
  }

  fs::path dir;
  std::string pdf;
};

}  // namespace

TEST_F(PrintingTest, JobPrintsOnePagePerNextPageAndEndsWithItsGraphics) {
  std::unique_ptr<fw::Graphics> g;
  const fw::test::Dialog d = fw::test::AnswerDialog([&] { g = fw::OpenPrinterDialog(nullptr); }, true);
  EXPECT_EQ(d.Kind, "print");
  ASSERT_NE(g, nullptr);
  EXPECT_GT(g->Width(), 400);
  EXPECT_GT(g->Height(), g->Width());
  g->ForeColor = 0x000000;
  g->DrawRect(0, 0, 100, 50);
  g->NextPage();
  g->TextFont = "Arial";
  g->TextSize = 30;
  g->DrawString("Muharram (1), 1", 10, 100);
  g.reset();
  const fw::test::PdfInfo info = fw::test::ReadPdf(pdf);
  EXPECT_EQ(info.Pages, 2);
  EXPECT_NE(fw::test::PdfText(pdf, 2).find("Muharram (1), 1"), std::string::npos);
}

TEST_F(PrintingTest, CancelledDialogPrintsNothing) {
  std::unique_ptr<fw::Graphics> g;
  const fw::test::Dialog d = fw::test::AnswerDialog([&] { g = fw::OpenPrinterDialog(nullptr); }, false);
  EXPECT_TRUE(d.Shown);
  EXPECT_EQ(g, nullptr);
  EXPECT_FALSE(fs::exists(pdf));
}

TEST_F(PrintingTest, PageSetupRoundTripsThroughItsText) {
  fw::PrinterSetup setup;
  const int32_t portraitWidth = setup.PageWidth();
  ASSERT_GT(setup.PageHeight(), portraitWidth);
  EXPECT_LT(setup.Width(), setup.PageWidth());

  bool confirmed = false;
  fw::test::AnswerDialog([&] { confirmed = setup.PageSetupDialog(); }, true, {"landscape"});
  ASSERT_TRUE(confirmed);
  EXPECT_GT(setup.PageWidth(), setup.PageHeight());

  fw::PrinterSetup restored;
  restored.SetSetupString(setup.SetupString());
  EXPECT_EQ(restored.PageWidth(), setup.PageWidth());
  EXPECT_EQ(restored.PageHeight(), setup.PageHeight());
  EXPECT_EQ(restored.Width(), setup.Width());
  EXPECT_EQ(restored.SetupString(), setup.SetupString());

  // A cancelled dialog keeps the setup as it was.
  fw::test::AnswerDialog([&] { confirmed = restored.PageSetupDialog(); }, false, {"portrait"});
  EXPECT_FALSE(confirmed);
  EXPECT_EQ(restored.SetupString(), setup.SetupString());

  // Text that is not a page setup of ours changes nothing.
  restored.SetSetupString("<plist><dict></dict></plist>");
  EXPECT_EQ(restored.SetupString(), setup.SetupString());
}

TEST_F(PrintingTest, JobFollowsThePageSetupItIsGiven) {
  fw::PrinterSetup setup;
  fw::test::AnswerDialog([&] { setup.PageSetupDialog(); }, true, {"landscape"});
  std::unique_ptr<fw::Graphics> g;
  fw::test::AnswerDialog([&] { g = fw::OpenPrinterDialog(&setup); }, true);
  ASSERT_NE(g, nullptr);
  EXPECT_LT(g->Height(), g->Width());
  g.reset();
  const fw::test::PdfInfo info = fw::test::ReadPdf(pdf);
  EXPECT_EQ(info.Pages, 1);
  EXPECT_GT(info.PageWidth, info.PageHeight);
}
