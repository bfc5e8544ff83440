#include "framework/testing/Driver.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QWindow>

#include "framework/Controls.h"
#include "framework/Internal.h"
#include "framework/Window.h"

namespace fw::test {

namespace {

Window* OwnerOf(QWidget* widget) {
  for (QWidget* w = widget; w; w = w->parentWidget())
    if (auto* frame = dynamic_cast<WindowFrame*>(w)) return &frame->Owner();
  return nullptr;
}

// Where a keyboard's keys go: the control with the focus in the window, else the window.
QWidget* KeyTarget(Window& window) {
  QWidget* target = QApplication::focusWidget();
  return target && OwnerOf(target) == &window ? target : &window.Frame();
}

// Types `text` one character at a time, each as a key press carrying that character
// (two UTF-16 units for one beyond the Basic Multilingual Plane), as a keyboard or an
// input method sends it.
void TypeInto(QWidget* target, const QString& text) {
  QPointer<QWidget> alive(target);
  for (qsizetype i = 0; i < text.size() && alive;) {
    const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString character = text.mid(i, units);
    i += units;
    const char32_t code = character.toUcs4().value(0);
    // Printable ASCII and the keys that type a control character (Backspace, Tab,
    // Return, Escape) come as those keys.
    const bool asciiKey = (code >= 0x20 && code < 0x7F) || code == '\b' || code == '\t' || code == '\n' ||
                          code == '\r' || code == 0x1B;
    if (asciiKey) {
      QTest::keyClick(target, static_cast<char>(code));
    } else {
      const auto key = static_cast<Qt::Key>(QChar::toUpper(code));
      QTest::sendKeyEvent(QTest::Click, target, key, character, Qt::NoModifier);
    }
  }
}

QPoint ClickPoint(const Control& control) {
  const QWidget* w = control.Widget();
  // Radio buttons and check boxes react to clicks on their mark and label only.
  if (control.Kind() == ControlKind::RadioButton || control.Kind() == ControlKind::CheckBox)
    return QPoint(8, w->height() / 2);
  return w->rect().center();
}

}  // namespace

void ClickThroughWindow(Control& control) {
  WindowFrame& frame = control.Owner().Frame();
  if (QWindow* handle = frame.windowHandle()) {
    // A click-to-focus desktop activates the window before the click reaches it.
    handle->requestActivate();
    Pump();
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, control.Widget()->mapTo(&frame, ClickPoint(control)));
  }
  Pump();
}

void TypeThroughWindow(Window& window, const std::string& text) {
  if (QWindow* handle = window.Frame().windowHandle())
    for (const char c : text) QTest::keyClick(handle, c);
  Pump();
}

void CloseFromDesktop(Window& window) {
  // What Qt makes of the window manager's request: a close event to the window, which
  // hands it on to the widget.
  if (QWindow* handle = window.Frame().windowHandle()) {
    QCloseEvent close;
    QCoreApplication::sendEvent(handle, &close);
  }
  Pump();
}

void Click(Control& control) {
  QTest::mouseClick(control.Widget(), Qt::LeftButton, Qt::NoModifier, ClickPoint(control));
  Pump();
}

void ClickFocus(Control& control) {
  control.Widget()->window()->activateWindow();
  control.Widget()->setFocus(Qt::MouseFocusReason);
  Pump();
}

void TabFocus(Control& control) {
  control.Widget()->window()->activateWindow();
  control.Widget()->setFocus(Qt::TabFocusReason);
  Pump();
}

void Type(TextField& field, const std::string& text) {
  TabFocus(field);
  auto* edit = static_cast<QLineEdit*>(field.Widget());
  edit->selectAll();
  if (text.empty()) {
    QTest::keyClick(edit, Qt::Key_Delete);
  } else {
    TypeInto(edit, detail::Q(text));
  }
  Pump();
}

void TypeKeys(Window& window, const std::string& text) {
  TypeInto(KeyTarget(window), detail::Q(text));
  Pump();
}

void Press(Window& window, Key key) {
  QWidget* target = KeyTarget(window);
  switch (key) {
    case Key::Return: QTest::keyClick(target, Qt::Key_Return); break;
    case Key::Escape: QTest::keyClick(target, Qt::Key_Escape); break;
    case Key::Tab: QTest::keyClick(target, Qt::Key_Tab); break;
    case Key::BackTab: QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier); break;
    case Key::Up: QTest::keyClick(target, Qt::Key_Up); break;
    case Key::Down: QTest::keyClick(target, Qt::Key_Down); break;
  }
  Pump();
}

void Shortcut(Window& window, const std::string& keys) {
  QWidget* target = QApplication::focusWidget();
  if (!target) target = &window.Frame();
  QTest::keySequence(target, QKeySequence(detail::Q(keys)));
  Pump();
}

std::string FocusedControl() {
  QWidget* w = QApplication::focusWidget();
  return w ? detail::S(w->objectName()) : std::string();
}

Window* ActiveWindow() {
  QWidget* w = QApplication::activeWindow();
  auto* frame = dynamic_cast<WindowFrame*>(w);
  return frame ? &frame->Owner() : nullptr;
}

std::vector<std::string> TabOrder(Window& window, Control& first, int steps, bool backwards) {
  std::vector<std::string> names;
  window.SetFocus();
  TabFocus(first);
  names.push_back(FocusedControl());
  for (int i = 0; i < steps; ++i) {
    Press(window, backwards ? Key::BackTab : Key::Tab);
    names.push_back(FocusedControl());
  }
  return names;
}

}  // namespace fw::test
