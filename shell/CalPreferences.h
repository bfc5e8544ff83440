#pragma once
// The Preferences window: whether the main window's location is remembered.

#include <cstdint>

#include "framework/Controls.h"
#include "framework/Window.h"

class CalPreferences : public fw::Window {
 public:
  // The one Preferences window, built on first use.
  static CalPreferences& Instance();
  static bool Exists();

  fw::PushButton* PushApply = nullptr;
  fw::PushButton* PushCancel = nullptr;
  fw::CheckBox* CheckBox1 = nullptr;

  void PushApply_Action();
  void PushCancel_Action();
  void CheckBox1_Open();
  void Event_Open() override;
  void Event_Close() override;

 protected:
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();

  // The box's state when the window opened or was last applied; Cancel restores it.
  int32_t originalPreferences = 0;
};
