#include "framework/Internal.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <vector>

#include "framework/Window.h"
#include "framework/WindowRegistry.h"

namespace fw {

WindowFrame::WindowFrame(Window& owner) : owner_(owner), content_(new QWidget(this)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  content_->setObjectName(QStringLiteral("content"));
}

void WindowFrame::InstallBar(QMenuBar* bar) {
  bar_ = bar;
  bar_->setParent(this);
  bar_->setNativeMenuBar(false);
  bar_->show();
}

void WindowFrame::FixSize(int width, int height, bool resizeable) {
  const int barHeight = BarHeight();
  if (bar_) bar_->setGeometry(0, 0, width, barHeight);
  content_->setGeometry(0, barHeight, width, height);
  if (resizeable) {
    resize(width, height + barHeight);
  } else {
    setFixedSize(width, height + barHeight);
  }
}

void WindowFrame::closeEvent(QCloseEvent* event) {
  // The window's own Close event decides; the widget is never closed by Qt itself.
  event->ignore();
  if (!owner_.Design().CloseButton) {
    // A desktop may draw a close box on every window (openbox), and Alt+F4 asks all
    // the same. The window goes as Escape takes it away: hidden, then the rest of what
    // its cancel button does (the focus handed back, say).
    owner_.Hide();
    if (PushButton* dismiss = KeyButton(false)) dismiss->Push();
    return;
  }
  // Finish the event before the window goes away.
  QPointer<WindowFrame> self(this);
  QTimer::singleShot(0, this, [self] {
    if (self) self->owner_.CloseBox();
  });
}

void WindowFrame::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool escape = event->key() == Qt::Key_Escape;
  if ((enter || escape) && event->modifiers() == Qt::NoModifier) {
    if (PushButton* chosen = KeyButton(enter)) {
      event->accept();
      chosen->Push();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

PushButton* WindowFrame::KeyButton(bool enter) const {
  PushButton* chosen = nullptr;
  for (const auto& c : owner_.Controls()) {
    auto* b = dynamic_cast<PushButton*>(c.get());
    if (!b || !b->Enabled() || !b->Visible()) continue;
    if (enter && b->Default()) return b;
    // Escape prefers a cancel button that is not also the default one.
    if (!enter && b->Cancel() && (!chosen || chosen->Default())) chosen = b;
  }
  return chosen;
}

QWidget* WindowFrame::NextStop(bool next) const {
  std::vector<QWidget*> stops;
  for (Control* c : owner_.TabChain())
    if (c->Enabled() && c->Visible()) stops.push_back(c->Widget());
  if (stops.empty()) return nullptr;
  const auto at = std::find(stops.begin(), stops.end(), focusWidget());
  const size_t n = stops.size();
  if (at == stops.end()) return next ? stops.front() : stops.back();
  const auto current = static_cast<size_t>(at - stops.begin());
  return stops[next ? (current + 1) % n : (current + n - 1) % n];
}

bool WindowFrame::focusNextPrevChild(bool next) {
  // Qt takes the unselected radio buttons of a group out of its own chain (and its
  // chain does not always take the order it is given), so the window walks its
  // controls by tab index itself, wrapping at either end.
  QWidget* stop = NextStop(next);
  if (!stop) return QWidget::focusNextPrevChild(next);
  stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void WindowFrame::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) {
    hidden = true;
    detail::UpdateModalBlocking();
  }
  QWidget::hideEvent(event);
}

void WindowFrame::SetBlocked(bool blocked) {
  if (blocked == !content_->isEnabled()) return;
  if (blocked) {
    QWidget* focus = focusWidget();
    focusBeforeBlock_ = focus && content_->isAncestorOf(focus) ? focus : nullptr;
    content_->setEnabled(false);
    return;
  }
  content_->setEnabled(true);
  // Qt lets the focus go as a window's content is disabled; it comes back as it would
  // with the window, which is no new focus for the control.
  if (focusBeforeBlock_ && !focusWidget()) focusBeforeBlock_->setFocus(Qt::ActiveWindowFocusReason);
  focusBeforeBlock_ = nullptr;
}

void WindowFrame::changeEvent(QEvent* event) {
  // A click on a window brings it to the front too.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) WindowRegistry::BroughtToFront(owner_);
  QWidget::changeEvent(event);
}

void WindowFrame::showEvent(QShowEvent* event) {
  hidden = false;
  if (!event->spontaneous()) {
    // The desktop reads whom the window stands in front of as it maps it, just after this.
    if (QWindow* handle = windowHandle()) handle->setTransientParent(DesktopParent());
    detail::UpdateModalBlocking();
  }
  QWidget::showEvent(event);
}

QWindow* WindowFrame::DesktopParent() const {
  Window* first = detail::FirstWindow();
  if (!first || first == &owner_ || owner_.Design().Frame == 0) return nullptr;
  return first->Frame().windowHandle();
}

void WindowFrame::Present() {
  // Shown by its command, it takes input even while a modal window is up.
  detail::Unblock(*this);
  show();
  raise();
  detail::Activate(*this);
}

}  // namespace fw
