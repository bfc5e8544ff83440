// The ways into a window besides clicks and keys: what a screen reader or switch
// device does through accessibility, the mouse wheel, the context-menu request and
// drag and drop. Each comes to the window as the desktop hands it over.

#include <QAccessible>
#include <QAbstractButton>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Internal.h"
#include "framework/Window.h"
#include "framework/testing/Driver.h"

namespace fw::test {

namespace {

QWindow* HandleOf(Control& control) { return control.Owner().Frame().windowHandle(); }

// The middle of the control, in its window's coordinates.
QPoint MiddleInWindow(const Control& control) {
  return control.Widget()->mapTo(&control.Owner().Frame(), control.Widget()->rect().center());
}

// Records which of a window's controls take input while it is watched: a control out
// of use is handed the event and drops it.
class InputRecorder final : public QObject {
 public:
  explicit InputRecorder(Window& window) {
    for (const auto& c : window.Controls()) {
      c->Widget()->installEventFilter(this);
      watched_.emplace_back(c->Widget());
      names_.push_back(c->Name());
    }
  }
  ~InputRecorder() override {
    for (const QPointer<QWidget>& w : watched_)
      if (w) w->removeEventFilter(this);
  }
  InputRecorder(const InputRecorder&) = delete;
  InputRecorder& operator=(const InputRecorder&) = delete;

  std::vector<std::string> reached;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::InputMethod:
      case QEvent::ContextMenu:
      case QEvent::DragEnter:
      case QEvent::DragMove:
      case QEvent::Drop:
        break;
      default:
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isEnabled()) return false;
    const auto at = std::find(watched_.begin(), watched_.end(), widget);
    const std::string& name = names_[static_cast<size_t>(at - watched_.begin())];
    if (std::find(reached.begin(), reached.end(), name) == reached.end()) reached.push_back(name);
    return false;
  }

 private:
  std::vector<QPointer<QWidget>> watched_;
  std::vector<std::string> names_;
};

}  // namespace

bool AccessibilityAction(Control& control) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control.Widget());
  QAccessibleActionInterface* actions = face ? face->actionInterface() : nullptr;
  const QStringList names = actions ? actions->actionNames() : QStringList();
  if (names.isEmpty()) return false;
  actions->doAction(names.front());
  // A press shows the button down for a moment before it clicks.
  const auto* button = qobject_cast<QAbstractButton*>(control.Widget());
  WaitUntil([button] { return !button || !button->isDown(); });
  Pump();
  return true;
}

void AccessibilitySetText(TextField& field, const std::string& text) {
  if (QAccessibleInterface* face = QAccessible::queryAccessibleInterface(field.Widget()))
    face->setText(QAccessible::Value, detail::Q(text));
  Pump();
}

void Wheel(Control& control, int32_t notches) {
  if (QWindow* handle = HandleOf(control)) {
    const QPointF at = MiddleInWindow(control);
    QWheelEvent wheel(at, handle->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(handle, &wheel);
  }
  Pump();
}

bool ContextMenu(Control& control) {
  if (QWindow* handle = HandleOf(control))
    QTest::mouseClick(handle, Qt::RightButton, Qt::NoModifier, MiddleInWindow(control));
  Pump();
  QWidget* menu = QApplication::activePopupWidget();
  if (menu) {
    menu->close();
    Pump();
  }
  return menu != nullptr;
}

void DropText(Control& control, const std::string& text) {
  QWindow* handle = HandleOf(control);
  if (!handle) return;
  QMimeData data;
  data.setText(detail::Q(text));
  const QPointF at = MiddleInWindow(control);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(handle, &enter);
  if (enter.isAccepted()) {
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &drop);
  } else {
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(handle, &leave);
  }
  Pump();
}

std::vector<std::string> ControlsReached(Window& window, const std::function<void()>& action) {
  InputRecorder recorder(window);
  action();
  return recorder.reached;
}

}  // namespace fw::test
