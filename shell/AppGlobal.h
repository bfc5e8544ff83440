#pragma once
// State shared by the application object, the windows and printing for the whole
// run. Today's date, the month on show and the names live with the engine
// (engine/Vorlen.h); the rest is here.

#include <array>
#include <cstdint>
#include <string>

#include "engine/Vorlen.h"
#include "framework/Basic.h"
#include "mainwindow/TableCell.h"

namespace fw {
class Graphics;
}

namespace AppGlobal {

// The cells of the month being drawn or printed: element d is day d (1..31).
inline std::array<TableCell, 44> DayBlock{};
// The printer setup of this run; empty until one is known. Never saved.
inline std::string PageSetup;
// "Save last screen location".
inline bool saveCheckBox1 = true;
// The Preferences check box as last applied (0 off, 1 on). Never saved.
inline int32_t savePreferences = 1;
// Cell size of the screen grid, in pixels.
inline int32_t iSquareWidth = 0;
inline int32_t iSquareHeight = 0;

// Draws one day's cell of the screen grid: the leading number s1, a grey slash and
// the other calendar's number s2, on today's shading when the cell is today.
void PutNum(fw::Graphics& g, int32_t cell, int32_t start, const std::string& s1, fw::Color c1,
            const std::string& s2, fw::Color c2);

// Draws one box's two numbers on a printed page: the leading calendar's in the top
// left corner, the other's right-aligned at the bottom. `cell` is the grid index
// (1..42, Sunday first); the colour is left at `secondaryColor`.
void PutNumPRT(fw::Graphics& g, int32_t cellWidth, int32_t cellHeight, int32_t gridLeft, int32_t gridTop,
               int32_t cell, const std::string& primary, fw::Color primaryColor, const std::string& secondary,
               fw::Color secondaryColor);

// Replaces elements 0 to 42 of DayBlock with new cells, before a month is filled.
void RenewDayBlock();

// Refuses what the user typed: a beep, then a stop alert titled "Input Error ...".
void RefuseInput(const std::string& message);

// Whether a month lies within the months the windows show and print: July 622 to
// January 2562 (Gregorian) or Muharram 1 to Muharram 2000 (Hijri). At the end years
// the month is bounded on one side only; whether it is a month at all is the caller's.
bool WithinEra(bool gregorian, int32_t month, int32_t year);

// Puts every value above back to its value at program start.
void ResetState();

}  // namespace AppGlobal
