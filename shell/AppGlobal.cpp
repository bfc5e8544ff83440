#include "shell/AppGlobal.h"

namespace AppGlobal {

void ResetState() {
  DayBlock.fill(TableCell{});
  PageSetup.clear();
  saveCheckBox1 = true;
  savePreferences = 1;
  iSquareWidth = 0;
  iSquareHeight = 0;
}

}  // namespace AppGlobal
