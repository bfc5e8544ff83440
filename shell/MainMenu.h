#pragma once
// The one menu bar of the application.

#include "framework/Menu.h"

class MainMenu : public fw::MenuBar {
 public:
  // The single menu bar, built on first use.
  static MainMenu& Instance();

 private:
  MainMenu() = default;
  void Constructor();
  // Builds the menu tree.
  void Untitled0();
};
