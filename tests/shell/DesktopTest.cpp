// How the windows meet the desktop: their frames and the window the dialogs stay in
// front of. What a close request does is tested with each window.

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "converter/CalConv.h"
#include "mainwindow/CalMain.h"
#include "printing/CalPrint.h"
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

// Every window has a title bar; only Conversion and Print lack the close box. Each
// dialog stays in front of the main window where it would open anyway, centred on the
// 800 x 800 test screen, and still is when shown again; the main window stays put.
TEST_F(DesktopTest, DialogsHaveTitleBarsAndStayInFrontOfTheMainWindowWhereTheyWouldOpenAnyway) {
  const auto expectFrame = [](fw::Window& w, int32_t frameKind, bool closeBox) {
    EXPECT_EQ(fw::test::FrameKind(w), frameKind);
    EXPECT_EQ(fw::test::HasCloseButton(w), closeBox);
    EXPECT_TRUE(fw::test::HasTitleBar(w));
  };
  const Placed main = PlaceOf(Main());
  expectFrame(Main(), 0, true);
  EXPECT_EQ(fw::test::InFrontOf(Main()), nullptr);
  const struct {
    const char* command;
    bool closeBox;
    Placed centred;
  } rows[] = {{"Convert", false, {133, 284}}, {"Preferences", true, {272, 345}}, {"About", true, {234, 278}}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.command);
    fw::Window& w = OpenBy(r.command);
    expectFrame(w, 1, r.closeBox);
    EXPECT_EQ(fw::test::InFrontOf(w), &Main());
    EXPECT_EQ(PlaceOf(w), r.centred);
    w.Hide();
    EXPECT_EQ(&OpenBy(r.command), &w);
    EXPECT_EQ(fw::test::InFrontOf(w), &Main());
  }
  WhilePrintWindow([&](CalPrint& w) {
    SCOPED_TRACE("Print");
    expectFrame(w, 1, false);
    EXPECT_EQ(fw::test::InFrontOf(w), &Main());
    EXPECT_EQ(PlaceOf(w), (Placed{223, 257}));
  });
  EXPECT_EQ(PlaceOf(Main()), main);
}
