#include "tests/support/AppTest.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "engine/Vorlen.h"
#include "framework/Application.h"
#include "mainwindow/CalMain.h"
#include "printing/CalPrint.h"
#include "shell/AppGlobal.h"
#include "shell/TSL.h"

namespace fs = std::filesystem;

void AppTest::SetUp() {
  std::error_code ec;
  fs::remove_all(PrefsPath().parent_path(), ec);
  fs::create_directories(PrefsPath().parent_path(), ec);
  AppGlobal::ResetState();
  // As from a shell: a write past a file-size limit ends the run unless the program
  // says otherwise.
  std::signal(SIGXFSZ, SIG_DFL);
  if (startInSetUp) StartApp();
}

void AppTest::TearDown() { fw::test::ResetApplication(); }

void AppTest::StartApp() {
  static char name[] = "tessaral";
  static char* argv[] = {name, nullptr};
  int argc = 1;
  fw::Start(argc, argv, TSL::Startup);
  fw::test::Pump();
}

void AppTest::SetToday(int32_t y, int32_t m, int32_t d) {
  AppGlobal::TodaysDate.Year = y;
  AppGlobal::TodaysDate.Month = m;
  AppGlobal::TodaysDate.Day = d;
  CalMain& w = CalMain::Instance();
  w.GregOpt->SetValue(true);
  w.GregOpt_Action();
  fw::test::Pump();
}

bool AppTest::WhilePrintWindow(const std::function<void(CalPrint&)>& body) {
  // The command's first step builds the window; building it here first lets the
  // driver watch for its modal showing.
  CalPrint& w = CalPrint::Instance();
  bool returned = false, returnedWhileShown = false, shown = false;
  fw::test::WhileModal(
      w,
      [&] {
        fw::test::ChooseMenu(CalMain::Instance(), "Print");
        returned = true;
      },
      [&] {
        shown = true;
        body(w);
        returnedWhileShown = returned;
      });
  EXPECT_TRUE(shown) << "the Print command did not show the Print window modally";
  return returned && !returnedWhileShown;
}

fs::path AppTest::PrefsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  return fs::path(config ? config : "/tmp") / "TSL Prefs";
}

void AppTest::WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string AppTest::ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string AppTest::PrefsBytes(int32_t top, int32_t left, bool flag) {
  std::string s;
  for (int32_t v : {2, top, left}) {
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
    s.push_back(static_cast<char>(v & 0xFF));
  }
  s.push_back(flag ? 1 : 0);
  return s;
}

void AppTest::ExpectTabCycle(fw::Window& window, fw::Control& first, const std::vector<std::string>& cycle,
                             std::initializer_list<fw::RadioButton*> choices) {
  const std::vector<std::string> backward(cycle.rbegin(), cycle.rend());
  const int steps = static_cast<int>(cycle.size()) - 1;
  for (fw::RadioButton* chosen : choices) {
    SCOPED_TRACE(chosen->Name() + " selected");
    fw::test::Click(*chosen);
    ASSERT_TRUE(chosen->Value());
    EXPECT_EQ(fw::test::TabOrder(window, first, steps), cycle);
    EXPECT_EQ(fw::test::TabOrder(window, first, steps, true), backward);
  }
}
