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
  std::vector<QPointer<QWidget>> blocked;
  // The showing is over once the window is hidden, even before ShowModal returns
  // (the handler that hid it may hand the keyboard to a window it blocked).
  bool Up() const { return window && window->isVisible(); }
};

std::vector<Showing>& Showings() {
  static std::vector<Showing> showings;
  return showings;
}

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
      return true;
    default:
      return false;
  }
}

bool InMenuBar(const QWidget* top, const QWidget* widget) {
  const auto* frame = dynamic_cast<const WindowFrame*>(top);
  const QMenuBar* bar = frame ? frame->Bar() : nullptr;
  return bar && (widget == bar || bar->isAncestorOf(widget));
}

// The top-level window of ours that `handle` shows, when a modal showing blocks it.
QWidget* BlockedWindowOf(const QObject* handle) {
  for (const Showing& s : Showings())
    for (const QPointer<QWidget>& w : s.blocked)
      if (w && s.Up() && w->windowHandle() == handle) return w;
  return nullptr;
}

// Keeps a person's input from the windows a modal showing blocks, all but the menu
// bar: it stays live, as a menu bar at the top of the screen would. Mouse input is
// stopped as the window receives it, before a click can move the keyboard focus;
// keys and the rest as they reach the control.
class ModalFilter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (Showings().empty() || !IsInput(event->type())) return false;
    // An open menu takes every click, closing itself on one outside it.
    if (QApplication::activePopupWidget()) return false;
    QWidget* top = nullptr;
    const QWidget* target = nullptr;
    if (watched->isWidgetType()) {
      target = static_cast<QWidget*>(watched);
      top = target->window();
      if (!detail::Blocked(*top)) return false;
    } else if (watched->isWindowType()) {
      top = BlockedWindowOf(watched);
      if (!top) return false;
      if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
          event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::Wheel) {
        const QPointF at = static_cast<QSinglePointEvent*>(event)->position();
        target = top->childAt(at.toPoint());
        if (!target) target = top;
      } else {
        return false;
      }
    } else {
      return false;
    }
    if (InMenuBar(top, target)) return false;
    // A click on the window brings the modal window forward instead.
    if (event->type() == QEvent::MouseButtonPress) detail::Activate(*top);
    // A drop refused; everything else taken, so that nothing passes it on.
    const bool drag = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
                      event->type() == QEvent::Drop;
    event->setAccepted(!drag);
    return true;
  }
};

void FilterInput() {
  static QPointer<ModalFilter> filter;
  if (!filter) {
    filter = new ModalFilter(qApp);
    qApp->installEventFilter(filter);
  }
}

}  // namespace

detail::ModalShowing::ModalShowing(WindowFrame& window) {
  FilterInput();
  Showing showing;
  showing.window = &window;
  for (Window* w : LiveWindows())
    if (&w->Frame() != &window && w->Frame().isVisible()) showing.blocked.emplace_back(&w->Frame());
  Showings().push_back(std::move(showing));
}

detail::ModalShowing::~ModalShowing() { Showings().pop_back(); }

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
}

}  // namespace fw
