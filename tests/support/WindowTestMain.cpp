// Window tests run on Qt's offscreen platform with private folders and fonts.

#include <gtest/gtest.h>

#include "framework/testing/Driver.h"

int main(int argc, char** argv) {
  fw::test::InitApplication(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  fw::test::FinishApplication();
  return result;
}
