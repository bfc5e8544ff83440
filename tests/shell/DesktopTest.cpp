// How the windows meet the desktop: their frames, the window the dialogs stay in
// front of, and what a close request from the window manager does to each.

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>

#include "converter/CalConv.h"
#include "mainwindow/CalMain.h"
#include "printing/CalPrint.h"
#include "shell/AppGlobal.h"
#include "shell/CalAbout.h"
#include "shell/CalPreferences.h"
#include "tests/support/AppTest.h"

namespace {

struct Placed {
  int32_t Left, Top;
  bool operator==(const Placed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Placed& p) { return out << p.Left << ", " << p.Top; }

Placed PlaceOf(fw::Window& w) { return {w.Left(), w.Top()}; }

class DesktopTest : public AppTest {
 protected:
  static CalMain& Main() { return CalMain::Instance(); }
  template <class W>
  static W& Open(const char* command) {
    fw::test::ChooseMenu(Main(), command);
    EXPECT_TRUE(W::Exists()) << command << " opened no window";
    return W::Instance();
  }
  // The window of one of the commands Convert, Preferences and About.
  static fw::Window& OpenBy(const std::string& command) {
    if (command == "Convert") return Open<CalConv>("Convert");
    if (command == "Preferences") return Open<CalPreferences>("Preferences");
    return Open<CalAbout>("About");
  }
};

}  // namespace

TEST_F(DesktopTest, DialogsHaveTitleBarsAndOnlyConversionAndPrintLackTheCloseBox) {
  struct Row {
    fw::Window* window;
    int32_t frameKind;
    bool closeBox;
  };
  auto expect = [](const Row& r) {
    SCOPED_TRACE(r.window->Title());
    EXPECT_EQ(fw::test::FrameKind(*r.window), r.frameKind);
    EXPECT_EQ(fw::test::HasCloseButton(*r.window), r.closeBox);
    EXPECT_TRUE(fw::test::HasTitleBar(*r.window));
  };
  expect({&Main(), 0, true});
  expect({&OpenBy("Convert"), 1, false});
  expect({&OpenBy("Preferences"), 1, true});
  expect({&OpenBy("About"), 1, true});
  WhilePrintWindow([&](CalPrint& w) { expect({&w, 1, false}); });
}

TEST_F(DesktopTest, EachDialogStaysInFrontOfTheMainWindowWhereItWouldOpenAnyway) {
  // Where the desktop keeps a dialog never moves it: each opens centred on the
  // 800 x 800 test screen as before, and the main window stays put.
  const Placed main = PlaceOf(Main());
  EXPECT_EQ(fw::test::InFrontOf(Main()), nullptr);
  const std::pair<const char*, Placed> rows[] = {
      {"Convert", {133, 284}}, {"Preferences", {272, 345}}, {"About", {234, 278}}};
  for (const auto& [command, centred] : rows) {
    SCOPED_TRACE(command);
    fw::Window& w = OpenBy(command);
    EXPECT_EQ(fw::test::InFrontOf(w), &Main());
    EXPECT_EQ(PlaceOf(w), centred);
    // Shown again after it was put away, it still is.
    w.Hide();
    EXPECT_EQ(&OpenBy(command), &w);
    EXPECT_EQ(fw::test::InFrontOf(w), &Main());
  }
  WhilePrintWindow([&](CalPrint& w) {
    EXPECT_EQ(fw::test::InFrontOf(w), &Main());
    EXPECT_EQ(PlaceOf(w), (Placed{223, 257}));
  });
  EXPECT_EQ(PlaceOf(Main()), main);
}

// ---- a close request from the window manager ---------------------------------

TEST_F(DesktopTest, CloseRequestOnPreferencesOrAboutClosesItAndTheNextCommandBuildsANewOne) {
  CalPreferences& prefs = Open<CalPreferences>("Preferences");
  // The Close event takes the box as it stands.
  fw::test::Click(*prefs.CheckBox1);
  fw::test::CloseFromDesktop(prefs);
  EXPECT_FALSE(CalPreferences::Exists());
  EXPECT_FALSE(AppGlobal::saveCheckBox1);

  fw::Window& about = OpenBy("About");
  about.SetLeft(15);
  fw::test::CloseFromDesktop(about);
  EXPECT_FALSE(CalAbout::Exists());
  EXPECT_EQ(OpenBy("About").Left(), 234);
}

TEST_F(DesktopTest, CloseRequestOnTheMainWindowQuitsThroughTheCloseEvents) {
  fw::test::CloseFromDesktop(Main());
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_EQ(ReadPrefs().size(), 7u);
}
