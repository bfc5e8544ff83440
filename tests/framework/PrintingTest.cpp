// The page setup as text: what Print Setup stores for the run and hands back.

#include <gtest/gtest.h>

#include "framework/Printing.h"
#include "framework/testing/Driver.h"

TEST(PrinterSetup, RoundTripsThroughItsTextAndIgnoresOtherText) {
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

