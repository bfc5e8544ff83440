#include "framework/Window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <map>

#include "framework/Graphics.h"
#include "framework/Internal.h"
#include "framework/Menu.h"
#include "framework/WindowRegistry.h"

namespace fw {

// ---- the frame -------------------------------------------------------------

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
  if (!owner_.Design().CloseButton) return;
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
    PushButton* chosen = nullptr;
    for (const auto& c : owner_.Controls()) {
      auto* b = dynamic_cast<PushButton*>(c.get());
      if (!b || !b->Enabled() || !b->Visible()) continue;
      if (enter && b->Default()) {
        chosen = b;
        break;
      }
      // Escape prefers a cancel button that is not also the default one.
      if (escape && b->Cancel() && (!chosen || chosen->Default())) chosen = b;
    }
    if (chosen) {
      event->accept();
      chosen->Push();
      return;
    }
  }
  QWidget::keyPressEvent(event);
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
  if (!event->spontaneous()) hidden = true;
  QWidget::hideEvent(event);
}

void WindowFrame::changeEvent(QEvent* event) {
  // A click on a window brings it to the front too.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) WindowRegistry::BroughtToFront(owner_);
  QWidget::changeEvent(event);
}

void WindowFrame::showEvent(QShowEvent* event) {
  hidden = false;
  QWidget::showEvent(event);
}

// ---- the registry of live windows ----------------------------------------

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
        owner->activateWindow();
        return;
      }
      Window* front = nullptr;
      for (Window* w : detail::LiveWindows())
        if (w->Frame().isVisible() && (!front || w->RaisedAt() > front->RaisedAt())) front = w;
      if (front) front->Frame().activateWindow();
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

// ---- the window -----------------------------------------------------------

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
  frame_->show();
  frame_->raise();
  frame_->activateWindow();
  WindowRegistry::BroughtToFront(*this);
}

void Window::ShowModal() {
  // Qt makes a window modal only as it is shown: one already on screen (a window
  // shows itself when it is built) is hidden first.
  if (frame_->isVisible() && !frame_->isModal()) frame_->hide();
  frame_->setWindowModality(Qt::ApplicationModal);
  Show();
  QEventLoop loop;
  QPointer<WindowFrame> f(frame_.get());
  // Wait until the window is hidden (or goes away).
  while (f && !f->hidden && !detail::quitRequested) loop.processEvents(QEventLoop::WaitForMoreEvents);
  if (f) f->setWindowModality(Qt::NonModal);
}

void Window::Hide() { frame_->hide(); }

void Window::Refresh(bool /*eraseBackground*/) {
  frame_->update();
  for (QWidget* child : frame_->findChildren<QWidget*>()) child->update();
}

void Window::SetFocus() {
  frame_->show();
  frame_->raise();
  frame_->activateWindow();
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

// ---- the builder ----------------------------------------------------------

namespace {

std::unique_ptr<Control> MakeControl(Window& w, const ControlDesign& d) {
  switch (d.Kind) {
    case ControlKind::Canvas: return std::make_unique<Canvas>(w, d.Name, d.TabIndex, d.EraseBackground);
    case ControlKind::StaticText: return std::make_unique<StaticText>(w, d.Name, d.TabIndex);
    case ControlKind::TextField: return std::make_unique<TextField>(w, d.Name, d.TabIndex);
    case ControlKind::PushButton: return std::make_unique<PushButton>(w, d.Name, d.TabIndex);
    case ControlKind::RadioButton: return std::make_unique<RadioButton>(w, d.Name, d.TabIndex);
    case ControlKind::CheckBox: return std::make_unique<CheckBox>(w, d.Name, d.TabIndex);
  }
  return nullptr;
}

Qt::Alignment HorizontalAlignment(int32_t align) {
  switch (align) {
    case 1: return Qt::AlignHCenter;
    case 2: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

bool TakesFocus(const ControlDesign& d) {
  switch (d.Kind) {
    case ControlKind::StaticText: return false;
    case ControlKind::Canvas: return d.AcceptFocus;
    default: return true;
  }
}

bool IsTabStop(const ControlDesign& d) { return TakesFocus(d) && d.TabStop; }

// Typing goes on in the field that has the focus while the mouse works the buttons:
// a button takes the focus from the Tab key only.
Qt::FocusPolicy FocusPolicyOf(const ControlDesign& d) {
  if (!TakesFocus(d)) return Qt::NoFocus;
  switch (d.Kind) {
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox: return d.TabStop ? Qt::TabFocus : Qt::NoFocus;
    default: return d.TabStop ? Qt::StrongFocus : Qt::ClickFocus;
  }
}

void ApplyDesign(Control& c, const ControlDesign& d) {
  QWidget* widget = c.Widget();
  widget->setObjectName(detail::Q(d.Name));
  widget->setGeometry(d.Left, d.Top, d.Width, d.Height);
  if (d.Kind != ControlKind::Canvas) widget->setFont(detail::MakeFont(d.TextFont, d.TextSize, d.Bold));
  widget->setFocusPolicy(FocusPolicyOf(d));

  switch (d.Kind) {
    case ControlKind::Canvas:
      break;
    case ControlKind::StaticText: {
      auto& t = static_cast<StaticText&>(c);
      auto* label = static_cast<QLabel*>(widget);
      label->setAlignment(HorizontalAlignment(d.TextAlign) | Qt::AlignTop);
      label->setWordWrap(d.Multiline);
      t.SetText(d.Text);
      t.SetTextColor(d.TextColor.value_or(0x000000));
      break;
    }
    case ControlKind::TextField: {
      auto& t = static_cast<TextField&>(c);
      auto* edit = static_cast<QLineEdit*>(widget);
      edit->setAlignment(HorizontalAlignment(d.TextAlign) | Qt::AlignVCenter);
      edit->setFrame(d.Border);
      QPalette p = edit->palette();
      p.setColor(QPalette::Text, QColor::fromRgb(d.TextColor.value_or(0x000000)));
      p.setColor(QPalette::Base, QColor::fromRgb(d.BackColor.value_or(0xFFFFFF)));
      edit->setPalette(p);
      t.SetText(d.Text);
      break;
    }
    case ControlKind::PushButton: {
      auto& b = static_cast<PushButton&>(c);
      b.SetCaption(d.Text);
      b.SetDefault(d.Default);
      b.SetCancel(d.Cancel);
      break;
    }
    case ControlKind::RadioButton:
      static_cast<QAbstractButton*>(widget)->setText(detail::Q(d.Text));
      static_cast<RadioButton&>(c).SetValue(d.Value);
      break;
    case ControlKind::CheckBox:
      static_cast<QAbstractButton*>(widget)->setText(detail::Q(d.Text));
      static_cast<CheckBox&>(c).SetState(d.State);
      break;
  }
}

void Bind(Window& w, Control& c, const EventBinding& b) {
  switch (b.Kind) {
    case Event::Open: c.OnOpen = [&w, h = b.Handler] { h(w); }; break;
    case Event::Action: c.OnAction = [&w, h = b.Handler] { h(w); }; break;
    case Event::GotFocus: c.OnGotFocus = [&w, h = b.Handler] { h(w); }; break;
    case Event::LostFocus: c.OnLostFocus = [&w, h = b.Handler] { h(w); }; break;
    case Event::Paint:
      if (auto* canvas = dynamic_cast<Canvas*>(&c)) canvas->OnPaint = [&w, h = b.PaintHandler](Graphics& g) { h(w, g); };
      break;
  }
}

}  // namespace

void Window::AddControls(const std::vector<ControlDesign>& table) {
  for (const ControlDesign& d : table) {
    std::unique_ptr<Control> c = MakeControl(*this, d);
    ApplyDesign(*c, d);
    for (const EventBinding& b : d.Events) Bind(*this, *c, b);
    if (d.Member) d.Member(*this, *c);
    c->Widget()->show();
    if (IsTabStop(d)) tabChain_.push_back(c.get());
    controls_.push_back(std::move(c));
  }

  // Keyboard order: ascending tab index; controls sharing one keep their creation order.
  std::stable_sort(tabChain_.begin(), tabChain_.end(),
                   [](const Control* a, const Control* b) { return a->TabIndex() < b->TabIndex(); });
}

}  // namespace fw
