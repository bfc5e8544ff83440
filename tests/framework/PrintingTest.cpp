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


TEST(PrinterSetup, KeepsTheScaleAndACustomSheetToTheLastDigit) {
  // A new setup prints at full size.
  fw::PrinterSetup setup;
  EXPECT_EQ(setup.Scaling(), 1.0);

  fw::test::DialogAnswer half;
  half.Set = {{"scale", 50}};
  fw::test::Dialog d = fw::test::AnswerDialog([&] { setup.PageSetupDialog(); }, half);
  EXPECT_EQ(d.Values.at("scale"), 100);
  EXPECT_EQ(setup.Scaling(), 0.5);

  // The text carries it to another setup, whose dialog shows it and keeps it.
  fw::PrinterSetup restored;
  restored.SetSetupString(setup.SetupString());
  EXPECT_EQ(restored.Scaling(), 0.5);
  d = fw::test::AnswerDialog([&] { restored.PageSetupDialog(); }, true);
  EXPECT_EQ(d.Values.at("scale"), 50);
  EXPECT_EQ(restored.SetupString(), setup.SetupString());
  fw::test::DialogAnswer cancelled;
  cancelled.Accept = false;
  cancelled.Set = {{"scale", 200}};
  fw::test::AnswerDialog([&] { restored.PageSetupDialog(); }, cancelled);
  EXPECT_EQ(restored.Scaling(), 0.5);

  // Fractions of a point are written as they are, not rounded.
  restored.SetSetupString(
      "tessaral-page-setup 1\nsize=Custom\nunit=pt\nwidth=100.5\nheight=150.25\norientation=portrait\n"
      "marginunit=pt\nmargins=0.5,1.25,0.5,1.25\n");
  const std::string text = restored.SetupString();
  for (const char* line : {"width=100.5\n", "height=150.25\n", "margins=0.5,1.25,0.5,1.25\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " missing from:\n" << text;
  EXPECT_EQ(restored.Scaling(), 1.0);
}
