#include "framework/Window.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

#include <algorithm>

#include "framework/Internal.h"
#include "framework/Menu.h"
#include "framework/WindowRegistry.h"

namespace fw {

Window::Window() : frame_(std::make_unique<WindowFrame>(*this)) {}

Window::~Window() {
  // No handler may run, and the Tab key find no control, while the window is being
  // taken apart.
  tabChain_.clear();
  for (const auto& c : controls_) {
    c->OnOpen = nullptr;
    c->OnAction = nullptr;
    c->OnGotFocus = nullptr;
    c->OnLostFocus = nullptr;
    if (auto* canvas = dynamic_cast<Canvas*>(c.get())) canvas->OnPaint = nullptr;
  }
  controls_.clear();
  frame_.reset();
}

void Window::Construct() {
  Layout();
  CreateControls();
}

void Window::OpenNow() {
  if (opened_) return;
  opened_ = true;
  for (const auto& c : controls_)
    if (c->OnOpen) c->OnOpen();
  Event_Open();
  if (design_.Visible && detail::LiveInstance(typeid(*this)) == this) Show();
}

void Window::Close(bool destroy) {
  if (closing_) return;
  closing_ = true;
  Event_Close();
  if (destroy) {
    WindowRegistry::Destroy(*this);
  } else {
    frame_->hide();
    closing_ = false;
  }
}

void Window::CloseBox() {
  if (!design_.CloseButton) return;
  Close(true);
}

void Window::SetMenuBar(MenuBar& bar) {
  menuBar_ = &bar;
  frame_->InstallBar(BuildMenuBar(bar));
  frame_->FixSize(design_.Width, design_.Height, design_.Resizeable);
}

void Window::SetProperties(const WindowDesign& design) {
  design_ = design;
  WindowFrame& f = *frame_;
  f.setWindowTitle(detail::Q(design.Title));
  Qt::WindowFlags flags = design.Frame == 0 ? Qt::Window : Qt::Dialog;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (design.CloseButton) flags |= Qt::WindowCloseButtonHint;
  if (design.MinimizeButton) flags |= Qt::WindowMinimizeButtonHint;
  if (design.MaximizeButton && design.Resizeable) flags |= Qt::WindowMaximizeButtonHint;
  f.setWindowFlags(flags);
  if (design.Resizeable) {
    f.setMinimumSize(design.MinWidth, design.MinHeight + f.BarHeight());
    f.setMaximumSize(design.MaxWidth, design.MaxHeight + f.BarHeight());
  }
  f.FixSize(design.Width, design.Height, design.Resizeable);
  if (design.HasBackColor) {
    QPalette p = f.Content()->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(design.BackColor));
    f.Content()->setPalette(p);
    f.Content()->setAutoFillBackground(true);
  }
}

void Window::Show() {
  // A window that has never had the focus starts at its first stop.
  if (!frame_->focusWidget())
    if (QWidget* first = frame_->NextStop(true)) first->setFocus(Qt::OtherFocusReason);
  frame_->Present();
  WindowRegistry::BroughtToFront(*this);
}

void Window::ShowModal() {
  // A second call while the window is up (its menu command again) only brings it
  // forward: one showing, which ends when the window is hidden.
  if (showingModal_) {
    SetFocus();
    return;
  }
  showingModal_ = true;
  QPointer<WindowFrame> f(frame_.get());
  {
    const detail::ModalShowing showing(*frame_);
    Show();
    QEventLoop loop;
    // Wait until the window is hidden (or goes away).
    while (f && !f->hidden && !detail::quitRequested) loop.processEvents(QEventLoop::WaitForMoreEvents);
  }
  if (f) showingModal_ = false;
}

void Window::Hide() { frame_->hide(); }

void Window::Refresh(bool /*eraseBackground*/) {
  frame_->update();
  for (QWidget* child : frame_->findChildren<QWidget*>()) child->update();
}

void Window::SetFocus() {
  // A window that a modal showing blocks stays where it is and hands the keyboard to
  // the modal window.
  if (frame_->isVisible() && detail::Blocked(*frame_)) {
    detail::Activate(*frame_);
    return;
  }
  frame_->Present();
  WindowRegistry::BroughtToFront(*this);
}

bool Window::Visible() const { return frame_->isVisible(); }

int32_t Window::Left() const { return frame_->geometry().x(); }
int32_t Window::Top() const { return frame_->geometry().y() + frame_->BarHeight(); }
int32_t Window::Width() const { return frame_->Content()->width(); }
int32_t Window::Height() const { return frame_->Content()->height(); }

void Window::SetLeft(int32_t left) {
  QRect g = frame_->geometry();
  g.moveLeft(left);
  frame_->setGeometry(g);
}

void Window::SetTop(int32_t top) {
  QRect g = frame_->geometry();
  g.moveTop(top - frame_->BarHeight());
  frame_->setGeometry(g);
}

void Window::CentreOnMainScreen() {
  // The main screen need not start at 0,0 when there are several.
  const ScreenInfo screen = Screen(0);
  SetLeft(screen.Left + CInt32((screen.Width - Width()) / 2.0));
  SetTop(screen.Top + CInt32((screen.Height - Height()) / 2.0));
}

bool Window::TopStripOnScreenAt(int32_t left, int32_t top) const {
  // The title bar counts only once the desktop has put one on the window: without a
  // window manager there is none, and a guess at its height would let the window
  // open just below the screen. The strip takes in the content's first row, so that
  // a window without a menu bar has one too.
  const int titleHeight = std::max(0, frame_->geometry().top() - frame_->frameGeometry().top());
  const int above = titleHeight + frame_->BarHeight();
  const QRect strip(left, top - above, Width(), above + 1);
  // Any piece of the strip on a screen is something to grab the window by.
  const auto screens = QGuiApplication::screens();
  return std::any_of(screens.begin(), screens.end(),
                     [&](const QScreen* screen) { return strip.intersects(screen->availableGeometry()); });
}

std::string Window::Title() const { return detail::S(frame_->windowTitle()); }

Control* Window::Find(const std::string& name) const {
  for (const auto& c : controls_)
    if (c->Name() == name) return c.get();
  return nullptr;
}

}  // namespace fw
