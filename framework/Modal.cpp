#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <vector>

#include "framework/Internal.h"
#include "framework/Window.h"

namespace fw {

namespace {

// A window shown with ShowModal, and the windows that were on screen as it came up:
// they take no input while it is up, unless their command brings one forward again.
struct Showing {
  QPointer<WindowFrame> window;
  std::vector<QPointer<WindowFrame>> blocked;
  // The showing is over once the window is hidden, even before ShowModal returns
  // (the handler that hid it may hand the keyboard to a window it blocked).
  bool Up() const { return window && window->isVisible(); }
};

std::vector<Showing>& Showings() {
  static std::vector<Showing> showings;
  return showings;
}

// Qt's own enabled state keeps every kind of input from a blocked window's content
// (mouse, keys, wheel, drops, input methods, accessibility actions); its menu bar lies
// outside the content and stays live.
void ApplyBlocking() {
  for (Window* w : detail::LiveWindows()) w->Frame().SetBlocked(detail::Blocked(w->Frame()));
}

// The top-level window of ours that `handle` shows, when a modal showing blocks it.
WindowFrame* BlockedWindowOf(const QObject* handle) {
  for (const Showing& s : Showings())
    for (const QPointer<WindowFrame>& w : s.blocked)
      if (w && s.Up() && w->windowHandle() == handle) return w;
  return nullptr;
}

// A click on a blocked window, anywhere but its menu bar, brings the modal window
// forward, as a desktop does.
class ModalClicks final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress || !watched->isWindowType()) return false;
    // An open menu takes every click, closing itself on one outside it.
    if (QApplication::activePopupWidget()) return false;
    WindowFrame* top = BlockedWindowOf(watched);
    if (!top) return false;
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    const QWidget* target = top->childAt(at);
    if (top->Bar() && target && (target == top->Bar() || top->Bar()->isAncestorOf(target))) return false;
    detail::Activate(*top);
    return true;
  }
};

void WatchClicks() {
  static QPointer<ModalClicks> filter;
  if (!filter) {
    filter = new ModalClicks(qApp);
    qApp->installEventFilter(filter);
  }
}

}  // namespace

detail::ModalShowing::ModalShowing(WindowFrame& window) {
  WatchClicks();
  Showing showing;
  showing.window = &window;
  for (Window* w : LiveWindows())
    if (&w->Frame() != &window && w->Frame().isVisible()) showing.blocked.emplace_back(&w->Frame());
  Showings().push_back(std::move(showing));
  ApplyBlocking();
}

detail::ModalShowing::~ModalShowing() {
  Showings().pop_back();
  ApplyBlocking();
}

void detail::UpdateModalBlocking() { ApplyBlocking(); }

Window* detail::ModalWindow() {
  for (auto it = Showings().rbegin(); it != Showings().rend(); ++it)
    if (it->Up()) return &it->window->Owner();
  return nullptr;
}

bool detail::Blocked(const QWidget& window) {
  return std::any_of(Showings().begin(), Showings().end(), [&](const Showing& s) {
    return s.Up() && std::find(s.blocked.begin(), s.blocked.end(), &window) != s.blocked.end();
  });
}

void detail::Unblock(const QWidget& window) {
  for (Showing& s : Showings())
    s.blocked.erase(std::remove(s.blocked.begin(), s.blocked.end(), &window), s.blocked.end());
  ApplyBlocking();
}

}  // namespace fw
