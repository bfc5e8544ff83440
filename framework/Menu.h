#pragma once
// Menus as data: a tree of items that a window's menu bar shows.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fw {

enum class MenuKind { Normal, Apple, Prefs, Quit };

class MenuItem {
 public:
  MenuItem() = default;
  virtual ~MenuItem() = default;
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  std::string Name;
  // "&" marks the mnemonic; "-" makes a separator.
  std::string Text;
  // "Cmd+F", "Cmd+Shift+P": Cmd is the Control key here.
  std::string KeyboardShortcut;
  bool AutoEnable = true;

  virtual MenuKind Kind() const { return MenuKind::Normal; }
  bool IsSeparator() const { return Text == "-"; }

  void Append(std::unique_ptr<MenuItem> item);
  // The direct child named `name`, or null.
  MenuItem* Child(const std::string& name) const;
  // The item named `name` at any depth below this one, or null.
  MenuItem* Lookup(const std::string& name) const;
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  MenuItem& Item(int32_t index) const { return *items_.at(static_cast<size_t>(index)); }

 private:
  std::vector<std::unique_ptr<MenuItem>> items_;
};

// The About entry of the application menu.
class AppleMenuItem : public MenuItem {
 public:
  MenuKind Kind() const override { return MenuKind::Apple; }
};

class PrefsMenuItem : public MenuItem {
 public:
  MenuKind Kind() const override { return MenuKind::Prefs; }
};

// Quits through the framework unless the application handles it.
class QuitMenuItem : public MenuItem {
 public:
  MenuKind Kind() const override { return MenuKind::Quit; }
};

class MenuBar : public MenuItem {};

// The platform's form of a shortcut ("Cmd+Shift+P" gives "Ctrl+Shift+P").
std::string PlatformShortcut(const std::string& shortcut);

}  // namespace fw
