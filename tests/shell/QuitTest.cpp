// Every way out of a run goes through the windows' Close events, so the main
// window's last position and the Preferences window's box reach "TSL Prefs":
// the Quit command, the termination signals, the desktop session's quit request,
// also while an alert or a modal window is up.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <string>

#include "mainwindow/CalMain.h"
#include "printing/CalPrint.h"
#include "shell/AppGlobal.h"
#include "shell/CalPreferences.h"
#include "tests/support/AppTest.h"

namespace {

class QuitTest : public AppTest {
 protected:
  void SetUp() override {
    // A run started with a signal ignored keeps ignoring it; these tests want them.
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, SIG_DFL);
    AppTest::SetUp();
  }

  // Moves the main window away from where it opened; returns the bytes a save of
  // that position writes.
  std::string MoveMainWindow() {
    CalMain& w = CalMain::Instance();
    w.SetLeft(w.Left() + 31);
    w.SetTop(w.Top() + 17);
    return PrefsBytes(w.Top(), w.Left(), true);
  }

  static void Signal(int sig) {
    std::raise(sig);
    fw::test::Pump();
  }
};

class QuitSignalTest : public QuitTest, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(QuitSignalTest, SignalQuitsThroughTheCloseEventsWithTheMovedPosition) {
  const std::string expected = MoveMainWindow();
  Signal(GetParam());
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_FALSE(CalMain::Exists());
  EXPECT_EQ(ReadPrefs(), expected);
}

INSTANTIATE_TEST_SUITE_P(TermHupInt, QuitSignalTest, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

TEST_F(QuitTest, SessionQuitRequestQuitsThroughTheCloseEvents) {
  const std::string expected = MoveMainWindow();
  fw::test::RequestSessionQuit();
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_EQ(ReadPrefs(), expected);
}

TEST_F(QuitTest, SignalDuringAnAlertTakesTheAlertDownAndSaves) {
  const std::string expected = MoveMainWindow();
  CalMain& w = CalMain::Instance();
  fw::test::Type(*w.MonthTXT, "13");
  const bool alertTakenDown = fw::test::WhileDialog([&] { fw::test::Press(w, fw::test::Key::Return); },
                                                    [] { Signal(SIGTERM); });
  EXPECT_TRUE(alertTakenDown);
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_EQ(ReadPrefs(), expected);
}

TEST_F(QuitTest, SignalDuringTheModalPrintWindowEndsItsShowingAndSaves) {
  const std::string expected = MoveMainWindow();
  EXPECT_TRUE(WhilePrintWindow([](CalPrint&) {
    Signal(SIGTERM);
    // The window was closed by the quit, not by the driver.
    EXPECT_FALSE(CalPrint::Exists());
  }));
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_EQ(ReadPrefs(), expected);
}

// ---- the order of the Close events ----------------------------------------

TEST_F(QuitTest, QuitWritesTheUnappliedPreferencesBoxFrontWindowFirst) {
  CalMain& main = CalMain::Instance();
  const int32_t startTop = main.Top();
  const int32_t startLeft = main.Left();
  fw::test::ChooseMenu(main, "Preferences");
  fw::test::Click(*CalPreferences::Instance().CheckBox1);
  MoveMainWindow();

  fw::test::Shortcut(CalPreferences::Instance(), "Ctrl+Q");
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_FALSE(AppGlobal::saveCheckBox1);
  // The option is off, so the position the run started with is kept.
  EXPECT_EQ(ReadPrefs(), PrefsBytes(startTop, startLeft, false));
}

TEST_F(QuitTest, MainWindowBroughtToTheFrontStillClosesLast) {
  CalMain& main = CalMain::Instance();
  fw::test::ChooseMenu(main, "Preferences");
  fw::test::Click(*CalPreferences::Instance().CheckBox1);
  main.SetFocus();

  fw::test::Shortcut(main, "Ctrl+Q");
  ASSERT_EQ(ReadPrefs().size(), 7u);
  EXPECT_EQ(ReadPrefs().back(), 0) << "the Preferences window's Close event came after the file was written";
}
