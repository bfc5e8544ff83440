// The Preferences window as a person meets it: opened from the menu, the box ticked
// or not, then Apply, Cancel or the close box; and the choice reaching the file.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "shell/CalPreferences.h"
#include "tests/support/AppTest.h"

namespace {

// On the 800 x 800 test screen: (800 - 255) / 2 = 272.5 loses its half pixel.
constexpr int32_t kCentredLeft = 272;
constexpr int32_t kCentredTop = 345;

CalPreferences& OpenPreferences() {
  fw::test::ChooseMenu(CalMain::Instance(), "Preferences");
  EXPECT_TRUE(CalPreferences::Exists()) << "the Preferences command opened no window";
  return CalPreferences::Instance();
}

void ExpectCentred(CalPreferences& w) {
  EXPECT_EQ(w.Left(), kCentredLeft);
  EXPECT_EQ(w.Top(), kCentredTop);
}

class PreferencesTest : public AppTest {};
class PreferencesAfterPrefsFileTest : public AppTestNoStart {};

}  // namespace

// ---- opening ----------------------------------------------------------------

TEST_F(PreferencesTest, FirstOpeningWithoutAFileIsTickedCentredAndTabsFromApply) {
  CalPreferences& w = OpenPreferences();
  EXPECT_EQ(w.CheckBox1->State(), 1);
  ExpectCentred(w);
  EXPECT_EQ(fw::test::ActiveWindow(), &w);
  EXPECT_EQ(fw::test::TabOrder(w, *w.PushApply, 3),
            (std::vector<std::string>{"PushApply", "PushCancel", "CheckBox1", "PushApply"}));
}

TEST_F(PreferencesAfterPrefsFileTest, OptionSwitchedOffAtStartShowsUnticked) {
  WritePrefs(std::string("\x00\x02\x00\x64\x00\x32\x00", 7));
  StartApp();
  ASSERT_FALSE(AppGlobal::saveCheckBox1);

  CalPreferences& w = OpenPreferences();
  EXPECT_EQ(w.CheckBox1->State(), 0);
  ExpectCentred(w);
}

// ---- Cancel and Apply: the same window again, where it was ------------------

TEST_F(PreferencesTest, CancelOrEscapeTicksTheBoxAgainAndLeavesTheOptionAlone) {
  CalPreferences& w = OpenPreferences();
  for (const bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Escape" : "Cancel");
    fw::test::Click(*w.CheckBox1);
    ASSERT_EQ(w.CheckBox1->State(), 0);
    // Both buttons answer Escape; it must be Cancel's, or Escape would save the change.
    escape ? fw::test::Press(w, fw::test::Key::Escape) : fw::test::Click(*w.PushCancel);
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(w.CheckBox1->State(), 1);
    EXPECT_TRUE(AppGlobal::saveCheckBox1);
    EXPECT_EQ(AppGlobal::savePreferences, 1);
    EXPECT_EQ(&OpenPreferences(), &w);
  }
}

TEST_F(PreferencesTest, ReturnAppliesTheOptionOffAndLaterCancelsGoBackToIt) {
  CalPreferences& w = OpenPreferences();
  w.SetLeft(40);
  w.SetTop(60);
  fw::test::Click(*w.CheckBox1);
  fw::test::Press(w, fw::test::Key::Return);
  EXPECT_FALSE(w.Visible());
  EXPECT_FALSE(AppGlobal::saveCheckBox1);
  EXPECT_EQ(AppGlobal::savePreferences, 0);

  CalPreferences& again = OpenPreferences();
  EXPECT_EQ(&again, &w);
  EXPECT_EQ(again.CheckBox1->State(), 0);
  EXPECT_EQ(again.Left(), 40);
  EXPECT_EQ(again.Top(), 60);
  fw::test::Click(*w.CheckBox1);
  fw::test::Click(*w.PushCancel);
  EXPECT_EQ(w.CheckBox1->State(), 0);
  EXPECT_FALSE(AppGlobal::saveCheckBox1);
}

// ---- the close box: the box as it stands, then a new window ----------------

TEST_F(PreferencesTest, CloseBoxTakesTheUnappliedBoxAndTheNextWindowIsNewAndCentred) {
  CalPreferences& w = OpenPreferences();
  w.SetLeft(40);
  w.SetTop(60);
  fw::test::Click(*w.CheckBox1);
  fw::test::CloseFromDesktop(w);  // the close box, or the window manager's request
  EXPECT_FALSE(CalPreferences::Exists());
  EXPECT_FALSE(AppGlobal::saveCheckBox1);
  EXPECT_EQ(AppGlobal::savePreferences, 1);

  CalPreferences& next = OpenPreferences();
  EXPECT_TRUE(next.Visible());
  EXPECT_EQ(next.CheckBox1->State(), 0);
  ExpectCentred(next);
}

TEST_F(PreferencesTest, CloseBoxAfterTickingAgainTurnsTheOptionBackOn) {
  CalPreferences& w = OpenPreferences();
  fw::test::Click(*w.CheckBox1);
  fw::test::Click(*w.PushApply);
  ASSERT_FALSE(AppGlobal::saveCheckBox1);

  OpenPreferences();
  fw::test::Click(*w.CheckBox1);
  fw::test::CloseFromDesktop(w);
  EXPECT_TRUE(AppGlobal::saveCheckBox1);
  EXPECT_EQ(AppGlobal::savePreferences, 0);

  // The new window follows the option, not the box last applied.
  EXPECT_EQ(OpenPreferences().CheckBox1->State(), 1);
}
