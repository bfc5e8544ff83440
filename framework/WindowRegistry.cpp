#include "framework/WindowRegistry.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <map>
#include <typeindex>
#include <vector>

#include "framework/Internal.h"
#include "framework/Window.h"

namespace fw {

namespace {

std::map<std::type_index, Window*>& Instances() {
  static std::map<std::type_index, Window*> instances;
  return instances;
}

std::vector<Window*>& PendingOpen() {
  static std::vector<Window*> pending;
  return pending;
}

std::vector<Window*>& PendingDelete() {
  static std::vector<Window*> pending;
  return pending;
}

bool& ApplicationOpened() {
  static bool opened = false;
  return opened;
}

void DeletePending() {
  auto doomed = std::move(PendingDelete());
  PendingDelete().clear();
  for (Window* w : doomed) delete w;
}

}  // namespace

namespace {

// Without a window manager nobody passes the keyboard on when a window or dialog goes
// away: Tab, typing and the shortcuts would reach no window until the user clicks one.
// Once it is gone (and no longer holds the others modal), if no window shown is
// active, the window it belonged to takes the activation, else the front-most of ours.
class ActivationKeeper final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Hide || !watched->isWidgetType()) return false;
    auto* leaving = static_cast<QWidget*>(watched);
    // Qt may have let the activation go already (a modal window shown with no window
    // manager is never reported active): whenever a window goes, check afterwards.
    if (!leaving->isWindow()) return false;
    QPointer<QWidget> owner = leaving->parentWidget() ? leaving->parentWidget()->window() : nullptr;
    QTimer::singleShot(0, qApp, [owner] {
      if (detail::quitRequested) return;
      if (const QWidget* active = QApplication::activeWindow(); active && active->isVisible()) return;
      if (owner && owner->isVisible()) {
        detail::Activate(*owner);
        return;
      }
      Window* front = nullptr;
      for (Window* w : detail::LiveWindows())
        if (w->Frame().isVisible() && (!front || w->RaisedAt() > front->RaisedAt())) front = w;
      if (front) detail::Activate(front->Frame());
    });
    return false;
  }
};

}  // namespace

void detail::KeepActivation() {
  static QPointer<ActivationKeeper> keeper;
  if (!keeper) {
    keeper = new ActivationKeeper(qApp);
    qApp->installEventFilter(keeper);
  }
}

void detail::Activate(QWidget& window) {
  Window* modal = Blocked(window) ? ModalWindow() : nullptr;
  if (modal) {
    modal->Frame().raise();
    modal->Frame().activateWindow();
    return;
  }
  window.activateWindow();
}

Window* detail::FirstWindow() { return LiveWindows().empty() ? nullptr : LiveWindows().front(); }

std::vector<Window*>& detail::LiveWindows() {
  static std::vector<Window*> live;
  return live;
}

Window* detail::LiveInstance(std::type_index type) {
  auto it = Instances().find(type);
  return it == Instances().end() ? nullptr : it->second;
}

void detail::Register(std::type_index type, Window* window) {
  Instances()[type] = window;
  LiveWindows().push_back(window);
}

void detail::Construct(Window& window) { WindowRegistry::Construct(window); }

void WindowRegistry::Construct(Window& w) {
  w.Construct();
  if (ApplicationOpened()) {
    w.OpenNow();
  } else {
    PendingOpen().push_back(&w);
  }
}

void WindowRegistry::ApplicationDidOpen() {
  ApplicationOpened() = true;
  auto pending = std::move(PendingOpen());
  PendingOpen().clear();
  for (Window* w : pending) {
    const auto& live = detail::LiveWindows();
    if (std::find(live.begin(), live.end(), w) != live.end()) w->OpenNow();
  }
}

void WindowRegistry::Forget(Window& w) {
  for (auto it = Instances().begin(); it != Instances().end(); ++it) {
    if (it->second == &w) {
      Instances().erase(it);
      break;
    }
  }
  auto& live = detail::LiveWindows();
  live.erase(std::remove(live.begin(), live.end(), &w), live.end());
  auto& pending = PendingOpen();
  pending.erase(std::remove(pending.begin(), pending.end(), &w), pending.end());
}

void WindowRegistry::Destroy(Window& w) {
  Forget(w);
  w.Frame().hide();
  PendingDelete().push_back(&w);
  // While quitting, a handler further down the stack (one waiting in a modal loop)
  // may still use its window: the end of the run deletes them.
  if (!detail::quitRequested) QTimer::singleShot(0, qApp, DeletePending);
}

void WindowRegistry::BroughtToFront(Window& w) {
  static uint64_t counter = 0;
  w.raisedAt_ = ++counter;
}

namespace {

// Whether `a` stands behind `b`: a hidden window behind a shown one, otherwise the
// one brought to the front earlier.
bool Behind(const Window* a, const Window* b) {
  const bool aShown = a->Frame().isVisible();
  const bool bShown = b->Frame().isVisible();
  if (aShown != bShown) return bShown;
  return a->RaisedAt() < b->RaisedAt();
}

}  // namespace

void WindowRegistry::CloseAll() {
  // The first window (the one start-up made) ends the run from its Close event, so
  // every other window's Close event has to come before it. A Close event may
  // itself close or create windows.
  auto& live = detail::LiveWindows();
  while (!live.empty()) {
    Window* w = live.size() == 1 ? live.front() : *std::max_element(live.begin() + 1, live.end(), Behind);
    w->Close(true);
    if (std::find(live.begin(), live.end(), w) != live.end()) Forget(*w);
  }
}

void WindowRegistry::DestroyAllSilently() {
  while (!detail::LiveWindows().empty()) {
    Window* w = detail::LiveWindows().back();
    Forget(*w);
    delete w;
  }
  DeletePending();
}

void WindowRegistry::Reset() {
  DestroyAllSilently();
  ApplicationOpened() = false;
}

}  // namespace fw
