#pragma once
// Numbers, text, alerts and the screen: the small services every window calls.

#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

// A 24-bit colour written as 0xRRGGBB.
using Color = uint32_t;

// The real number that a text spells, read from its start ("12abc" is 12, " 7" is 7);
// 0 for a text that does not start with a number. The decimal point is '.' and
// "2.4e3" is 2400 whatever the locale.
double Val(std::string_view text);

// Plain decimal text of an integer.
std::string Str(int64_t value);

// The real number of a decimal text (as Val).
double CDbl(std::string_view text);

// A real number as a 32-bit integer: the fraction is dropped (toward zero); values
// beyond the range saturate, and NaN gives 0.
int32_t CInt32(double value);

// A real number as a 64-bit unsigned integer: the fraction is dropped; negative
// values and NaN give 0, values beyond the range saturate.
uint64_t CUInt64(double value);

// Number of characters (UTF-8 code points) of a text.
int32_t Len(std::string_view text);

// 1-based position of the first `sought` at or after character `start` of `text`
// (start 0 or 1 searches from the beginning); 0 when absent.
int32_t InStr(int32_t start, std::string_view text, std::string_view sought);

// `length` characters of `text` from the 1-based position `start`.
std::string Mid(std::string_view text, int32_t start, int32_t length);

// The desktop's alert sound.
void Beep();

// A modal alert; style 16 shows the stop icon and one OK button. Returns the button
// pressed (1 for OK).
int32_t MsgBox(const std::string& message, int32_t style, const std::string& title);

// A screen's whole area, its origin included: screens beside the main one have their
// own left and top, negative for one left of or above it.
struct ScreenInfo {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// Screen 0 is the main (primary) screen, the others follow. An index past the last
// screen gives the main screen.
ScreenInfo Screen(int32_t index);

// Whether a window can learn where it stands on the screen. A Wayland compositor
// keeps that to itself: there a window's Left and Top say nothing of its place.
bool WindowPositionsKnown();

// Ends the application: every window still open gets its Close event, then the
// event loop returns with `exitCode`.
void Quit(int32_t exitCode = 0);

}  // namespace fw
