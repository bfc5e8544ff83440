// Window tests run on Qt's offscreen platform with private folders and fonts.

#include <gtest/gtest.h>

#include <string>

#include "framework/testing/Driver.h"

int main(int argc, char** argv) {
  fw::test::InitApplication(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  // A dialog no test waits for would block its test until CTest kills the run: it
  // fails the test at hand instead, and is cancelled so that the test goes on.
  fw::test::WatchForUnexpectedDialogs([](const std::string& what) {
    ADD_FAILURE() << what << " (no test helper was waiting for it; it was cancelled)";
  });
  const int result = RUN_ALL_TESTS();
  fw::test::FinishApplication();
  return result;
}
