#include "shell/AppGlobal.h"

#include <algorithm>

#include "framework/Basic.h"

namespace AppGlobal {

void RenewDayBlock() { std::fill(DayBlock.begin(), DayBlock.begin() + 43, TableCell{}); }

void RefuseInput(const std::string& message) {
  fw::Beep();
  fw::MsgBox(message, 16, "Input Error ...");
}

bool WithinEra(bool gregorian, int32_t month, int32_t year) {
  if (gregorian) return (year > 622 && year < 2562) || (year == 622 && month > 6) || (year == 2562 && month < 2);
  return (year > 1 && year < 2000) || (year == 1 && month > 0) || (year == 2000 && month < 2);
}

void ResetState() {
  DayBlock.fill(TableCell{});
  PageSetup.clear();
  saveCheckBox1 = true;
  savePreferences = 1;
  iSquareWidth = 0;
  iSquareHeight = 0;
}

}  // namespace AppGlobal
