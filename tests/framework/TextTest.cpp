// Reading numbers typed by a person, and the text helpers.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/Basic.h"
#include "framework/Menu.h"

TEST(Val, ReadsTheNumberAtTheStartOfTheText) {
  EXPECT_EQ(fw::Val("07"), 7);
  EXPECT_EQ(fw::Val("2009"), 2009);
  EXPECT_EQ(fw::Val(" 12"), 12);
  EXPECT_EQ(fw::Val("-5"), -5);
  EXPECT_EQ(fw::Val("+5"), 5);
  EXPECT_EQ(fw::Val("12abc"), 12);
  EXPECT_EQ(fw::Val("10.7"), 10.7);
  EXPECT_EQ(fw::Val(".5"), 0.5);
  EXPECT_EQ(fw::Val("1e3"), 1000);
  EXPECT_EQ(fw::Val("2e"), 2);
  EXPECT_EQ(fw::Val("99999999999"), 99999999999.0);
}

TEST(Val, TextThatIsNotANumberIsZero) {
  for (const char* text : {"", "abc", "-", ".", "e5", "inf", "nan", "0x10", "\xD9\xA1"}) {
    EXPECT_EQ(fw::Val(text), 0) << text;
  }
}

TEST(CInt32, TruncatesTowardZeroAndSaturates) {
  EXPECT_EQ(fw::CInt32(10.7), 10);
  EXPECT_EQ(fw::CInt32(-10.7), -10);
  EXPECT_EQ(fw::CInt32(-0.5), 0);
  EXPECT_EQ(fw::CInt32(2147483647.9), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(fw::CInt32(99999999999.0), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(fw::CInt32(-2147483648.0), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(fw::CInt32(-1e300), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(fw::CInt32(std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(fw::CInt32(std::nan("")), 0);
}

TEST(CUInt64, DropsFractionsAndNegatives) {
  EXPECT_EQ(fw::CUInt64(4.9), 4u);
  EXPECT_EQ(fw::CUInt64(-3), 0u);
  EXPECT_EQ(fw::CUInt64(std::nan("")), 0u);
  EXPECT_EQ(fw::CUInt64(1e30), std::numeric_limits<uint64_t>::max());
}

TEST(TextHelpers, CountAndCutByCharacters) {
  EXPECT_EQ(fw::Str(-42), "-42");
  EXPECT_EQ(fw::Len(""), 0);
  EXPECT_EQ(fw::Len("Rabi' I"), 7);
  EXPECT_EQ(fw::Len("\xC3\xA9t\xC3\xA9"), 3);  // "été"
  EXPECT_EQ(fw::InStr(0, "abcabc", "bc"), 2);
  EXPECT_EQ(fw::InStr(3, "abcabc", "bc"), 5);
  EXPECT_EQ(fw::InStr(1, "abc", "x"), 0);
  EXPECT_EQ(fw::InStr(99, "abc", "a"), 0);
  EXPECT_EQ(fw::InStr(2, "\xC3\xA9x\xC3\xA9x", "x"), 2);
  EXPECT_EQ(fw::Mid("<real>0.5</real>", 7, 3), "0.5");
  EXPECT_EQ(fw::Mid("abc", 2, 99), "bc");
  EXPECT_EQ(fw::Mid("abc", 5, 1), "");
  EXPECT_EQ(fw::Mid("abc", 1, -1), "");
}

TEST(Menus, ShortcutsUseControlForCommand) {
  EXPECT_EQ(fw::PlatformShortcut("Cmd+F"), "Ctrl+F");
  EXPECT_EQ(fw::PlatformShortcut("Cmd+Shift+P"), "Ctrl+Shift+P");
  EXPECT_EQ(fw::PlatformShortcut("Cmd++"), "Ctrl++");
  EXPECT_EQ(fw::PlatformShortcut(""), "");
}

TEST(Menus, LookupFindsItemsAtAnyDepth) {
  fw::MenuBar bar;
  auto top = std::make_unique<fw::MenuItem>();
  top->Name = "Calendar";
  auto print = std::make_unique<fw::MenuItem>();
  print->Name = "Print";
  top->Append(std::move(print));
  bar.Append(std::move(top));
  EXPECT_NE(bar.Child("Calendar"), nullptr);
  EXPECT_EQ(bar.Child("Print"), nullptr);
  ASSERT_NE(bar.Lookup("Print"), nullptr);
  EXPECT_EQ(bar.Lookup("Print")->Name, "Print");
  EXPECT_EQ(bar.Lookup("Nothing"), nullptr);
}
