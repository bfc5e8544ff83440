#include "framework/Menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "framework/Application.h"
#include "framework/Basic.h"
#include "framework/Internal.h"

namespace fw {

void MenuItem::Append(std::unique_ptr<MenuItem> item) { items_.push_back(std::move(item)); }

MenuItem* MenuItem::Child(const std::string& name) const {
  for (const auto& item : items_)
    if (item->Name == name) return item.get();
  return nullptr;
}

MenuItem* MenuItem::Lookup(const std::string& name) const {
  for (const auto& item : items_) {
    if (item->Name == name) return item.get();
    if (MenuItem* found = item->Lookup(name)) return found;
  }
  return nullptr;
}

std::string PlatformShortcut(const std::string& shortcut) {
  std::string out;
  size_t start = 0;
  while (start <= shortcut.size()) {
    const size_t plus = shortcut.find('+', start + 1);  // "Cmd++" keeps its last '+'
    std::string part = shortcut.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
    if (part == "Cmd") part = "Ctrl";
    if (!out.empty()) out += '+';
    out += part;
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  return out;
}

namespace {

void Route(const MenuItem& item) {
  const std::string name = item.Name;
  const MenuKind kind = item.Kind();
  Application* app = Application::Current();
  if (app && app->HandleMenu(name)) return;
  if (kind == MenuKind::Quit) Quit(0);
}

void AddItems(QMenu* menu, const MenuItem& parent) {
  for (int32_t i = 0; i < parent.Count(); ++i) {
    const MenuItem& item = parent.Item(i);
    if (item.IsSeparator()) {
      menu->addSeparator()->setObjectName(detail::Q(item.Name));
      continue;
    }
    if (item.Count() > 0) {
      QMenu* sub = menu->addMenu(detail::Q(item.Text));
      sub->setObjectName(detail::Q(item.Name));
      AddItems(sub, item);
      continue;
    }
    QAction* action = menu->addAction(detail::Q(item.Text));
    action->setObjectName(detail::Q(item.Name));
    // The items keep the places the menu gives them.
    action->setMenuRole(QAction::NoRole);
    if (!item.KeyboardShortcut.empty()) {
      action->setShortcut(QKeySequence(detail::Q(PlatformShortcut(item.KeyboardShortcut))));
      // A command reaches its handler whichever window is in front.
      action->setShortcutContext(Qt::ApplicationShortcut);
    }
    action->setEnabled(true);
    QObject::connect(action, &QAction::triggered, [&item] { Route(item); });
  }
}

}  // namespace

QMenuBar* BuildMenuBar(MenuBar& bar) {
  auto* qbar = new QMenuBar();
  qbar->setObjectName(QStringLiteral("MenuBar"));
  for (int32_t i = 0; i < bar.Count(); ++i) {
    const MenuItem& top = bar.Item(i);
    QMenu* menu = qbar->addMenu(detail::Q(top.Text));
    menu->setObjectName(detail::Q(top.Name));
    AddItems(menu, top);
  }
  return qbar;
}

}  // namespace fw
