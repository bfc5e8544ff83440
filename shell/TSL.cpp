#include "shell/TSL.h"

#include "converter/CalConv.h"
#include "engine/Vorlen.h"
#include "mainwindow/CalMain.h"
#include "shell/CalAbout.h"
#include "shell/CalPreferences.h"
#include "shell/MainMenu.h"

TSL& App() { return static_cast<TSL&>(*fw::Application::Current()); }

void TSL::Startup() {
  NewAppInstance();
  ApplicationAddMenuHandlers();
  MakeDefaultView();
}

void TSL::NewAppInstance() {
  auto* app = new TSL();  // the framework owns the application object from here on
  app->SetMenuBar(MainMenu::Instance());
}

void TSL::ApplicationAddMenuHandlers() {
  TSL& app = App();
  app.AddMenuHandler("About", [&app] { return app.About_Action(); });
  app.AddMenuHandler("Convert", [&app] { return app.Convert_Action(); });
  app.AddMenuHandler("Preferences", [&app] { return app.Preferences_Action(); });
}

void TSL::MakeDefaultView() { CalMain::Instance(); }

void TSL::Event_Open() {
  // No page setup is kept yet: AppGlobal::PageSetup stays empty.
  Vorlen::initConstants();
}

bool TSL::About_Action() {
  CalAbout::Instance().Show();
  return true;
}

bool TSL::Convert_Action() {
  CalConv::Instance().Show();
  return true;
}

bool TSL::Print_Action() { return false; }

bool TSL::CalendarPageSetup_Action() { return false; }

bool TSL::Preferences_Action() {
  CalPreferences::Instance().Show();
  return true;
}
