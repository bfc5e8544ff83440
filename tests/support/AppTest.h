#pragma once
// A fixture that starts Tessaral the way main does, on Qt's offscreen platform, and
// takes it down again after each test.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/testing/Driver.h"

class CalPrint;

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the application (start-up routine, Open events, main window shown).
  void StartApp();
  // Makes `y-m-d` today's date for the rest of the run and shows its month again,
  // Gregorian leading, as a new start on that day would.
  void SetToday(int32_t y, int32_t m, int32_t d);

  // Chooses Print and runs `body` while the Print window is up; the window is
  // hidden afterwards if the body left it up. Returns whether the command returned
  // only after the window was gone.
  static bool WhilePrintWindow(const std::function<void(CalPrint&)>& body);

  // With each of `choices` selected in turn, Tab from `first` visits `cycle` (which
  // ends back at `first`) and Shift+Tab visits it backwards.
  static void ExpectTabCycle(fw::Window& window, fw::Control& first, const std::vector<std::string>& cycle,
                             std::initializer_list<fw::RadioButton*> choices);

  // The preferences file "TSL Prefs" in this test's preferences folder.
  static std::filesystem::path PrefsPath();
  static void WritePrefs(const std::string& bytes) { WriteFile(PrefsPath(), bytes); }
  static std::string ReadPrefs() { return ReadFile(PrefsPath()); }
  static void WriteFile(const std::filesystem::path& path, const std::string& bytes);
  static std::string ReadFile(const std::filesystem::path& path);
  // The 7 bytes of a preferences file: version 2, top, left, flag.
  static std::string PrefsBytes(int32_t top, int32_t left, bool flag);

  // When true, SetUp starts the application; tests that prepare files first set it
  // false and call StartApp themselves.
  bool startInSetUp = true;
};

// Runs the body with the application started but lets a test opt out of starting.
class AppTestNoStart : public AppTest {
 protected:
  AppTestNoStart() { startInSetUp = false; }
};
