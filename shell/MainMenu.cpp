#include "shell/MainMenu.h"

#include <memory>
#include <optional>
#include <string>

namespace {

struct MenuRow {
  const char* name;
  fw::MenuKind kind;
  const char* text;
  std::optional<const char*> shortcut;  // separators have none
};

// In menu order; the first row is the top-level menu, the others are its items.
const MenuRow kMenuTree[] = {
    {"Calendar", fw::MenuKind::Normal, "&Calendar", ""},
    {"About", fw::MenuKind::Apple, "&About Tessaral", ""},
    {"UntitledSeparator0", fw::MenuKind::Apple, "-", std::nullopt},
    {"Convert", fw::MenuKind::Normal, "&Convert", "Cmd+F"},
    {"UntitledSeparator", fw::MenuKind::Normal, "-", std::nullopt},
    {"CalendarPageSetup", fw::MenuKind::Normal, "Print Setup", "Cmd+Shift+P"},
    {"Print", fw::MenuKind::Normal, "&Print", "Cmd+P"},
    {"UntitledSeparator1", fw::MenuKind::Normal, "-", std::nullopt},
    {"FileQuit", fw::MenuKind::Quit, "Quit", "Cmd+Q"},
    {"Preferences", fw::MenuKind::Prefs, "Preferences", ""},
};

std::unique_ptr<fw::MenuItem> NewItem(fw::MenuKind kind) {
  switch (kind) {
    case fw::MenuKind::Apple: return std::make_unique<fw::AppleMenuItem>();
    case fw::MenuKind::Prefs: return std::make_unique<fw::PrefsMenuItem>();
    case fw::MenuKind::Quit: return std::make_unique<fw::QuitMenuItem>();
    case fw::MenuKind::Normal: break;
  }
  return std::make_unique<fw::MenuItem>();
}

}  // namespace

MainMenu& MainMenu::Instance() {
  static MainMenu* instance = [] {
    auto* bar = new MainMenu();
    bar->Constructor();
    return bar;
  }();
  return *instance;
}

void MainMenu::Constructor() { Untitled0(); }

void MainMenu::Untitled0() {
  bool first = true;
  for (const MenuRow& row : kMenuTree) {
    std::unique_ptr<fw::MenuItem> item = NewItem(row.kind);
    item->Name = row.name;
    item->AutoEnable = true;
    item->Text = row.text;
    if (row.shortcut) item->KeyboardShortcut = *row.shortcut;
    if (first) {
      Append(std::move(item));
      first = false;
    } else {
      Child("Calendar")->Append(std::move(item));
    }
  }
}
