#include "framework/testing/DriverInternal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QWindow>

#include "framework/Controls.h"
#include "framework/Internal.h"
#include "framework/Window.h"

namespace fw::test {

Image ToImage(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
  Image out;
  out.Width = image.width();
  out.Height = image.height();
  out.Pixels.reserve(static_cast<size_t>(out.Width) * out.Height);
  for (int y = 0; y < out.Height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < out.Width; ++x) out.Pixels.push_back(line[x] & 0xFFFFFF);
  }
  return out;
}

bool Image::Save(const std::string& path) const {
  QImage image(Width, Height, QImage::Format_RGB32);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) image.setPixel(x, y, 0xFF000000u | At(x, y));
  return image.save(detail::Q(path));
}

Image Grab(Control& control) { return ToImage(control.Widget()->grab()); }

Image Grab(Window& window) { return ToImage(window.Frame().grab()); }

void Render(Control& control) {
  static QImage image;
  if (image.size() != control.Widget()->size()) image = QImage(control.Widget()->size(), QImage::Format_RGB32);
  control.Widget()->render(&image);
}

void PaintOutsideAPaintEvent(Control& control) {
  QPaintEvent event(control.Widget()->rect());
  QCoreApplication::sendEvent(control.Widget(), &event);
}

namespace {

MenuEntry EntryOf(QAction* action) {
  MenuEntry e;
  e.Name = detail::S(action->objectName());
  e.Text = detail::S(action->text());
  e.Shortcut = detail::S(action->shortcut().toString(QKeySequence::PortableText));
  e.Separator = action->isSeparator();
  e.Enabled = action->isEnabled();
  e.Visible = action->isVisible();
  if (QMenu* menu = action->menu()) {
    e.Name = detail::S(menu->objectName());
    for (QAction* child : menu->actions()) e.Items.push_back(EntryOf(child));
  }
  return e;
}

QAction* FindAction(QWidget* root, const QString& name) {
  for (QAction* a : root->findChildren<QAction*>())
    if (a->objectName() == name) return a;
  for (QMenu* m : root->findChildren<QMenu*>())
    for (QAction* a : m->actions())
      if (a->objectName() == name) return a;
  return nullptr;
}

}  // namespace

std::vector<MenuEntry> MenuBarOf(Window& window) {
  std::vector<MenuEntry> out;
  QMenuBar* bar = window.Frame().Bar();
  if (!bar) return out;
  for (QAction* a : bar->actions()) out.push_back(EntryOf(a));
  return out;
}

namespace {

// The menu that lists `action`, or null when it is on the bar itself.
QMenu* MenuListing(QMenuBar* bar, const QAction* action) {
  for (QMenu* m : bar->findChildren<QMenu*>())
    if (m->actions().contains(action)) return m;
  return nullptr;
}

void CloseMenus() {
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

}  // namespace

bool ChooseMenu(Window& window, const std::string& name) {
  WindowFrame& frame = window.Frame();
  QMenuBar* bar = frame.Bar();
  QAction* item = bar ? FindAction(bar, detail::Q(name)) : nullptr;
  if (!item || !frame.windowHandle()) return false;
  // The entries to click, from the bar's menu down to the item.
  std::vector<QAction*> path{item};
  for (QMenu* m = MenuListing(bar, item); m; m = MenuListing(bar, m->menuAction()))
    path.insert(path.begin(), m->menuAction());
  // As the mouse does it, through the windows: a window that takes no input takes no click.
  QTest::mouseClick(frame.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    bar->mapTo(&frame, bar->actionGeometry(path.front()).center()));
  bool opened = true;
  for (size_t i = 1; i < path.size() && opened; ++i) {
    QMenu* menu = MenuListing(bar, path[i]);
    // A submenu opens after a short delay.
    opened = WaitUntil([menu] { return menu->isVisible() && menu->windowHandle(); });
    if (opened)
      QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(path[i]).center());
  }
  // Whatever did not open or take the click is not left open.
  CloseMenus();
  Pump();
  return opened;
}

int32_t MenuBarHeight(Window& window) { return window.Frame().BarHeight(); }

Rect FrameGeometry(Window& window) {
  const QRect g = window.Frame().geometry();
  return {g.x(), g.y(), g.width(), g.height()};
}

FontInfo FontOf(Control& control) {
  const QFontInfo info(control.Widget()->font());
  return {detail::S(info.family()), info.pixelSize(), info.bold(), info.fixedPitch()};
}

int32_t AlignmentOf(Control& control) {
  Qt::Alignment a;
  if (auto* label = qobject_cast<QLabel*>(control.Widget())) a = label->alignment();
  else if (auto* edit = qobject_cast<QLineEdit*>(control.Widget())) a = edit->alignment();
  if (a & Qt::AlignHCenter) return 1;
  if (a & Qt::AlignRight) return 2;
  return 0;
}

bool IsDefaultButton(Control& control) {
  auto* b = qobject_cast<QPushButton*>(control.Widget());
  return b && b->isDefault();
}

int32_t FrameKind(Window& window) {
  return (window.Frame().windowFlags() & Qt::WindowType_Mask) == Qt::Dialog ? 1 : 0;
}

bool HasCloseButton(Window& window) { return window.Frame().windowFlags() & Qt::WindowCloseButtonHint; }

bool HasTitleBar(Window& window) {
  const Qt::WindowFlags flags = window.Frame().windowFlags();
  return (flags & Qt::WindowTitleHint) && !(flags & Qt::FramelessWindowHint);
}

Window* InFrontOf(Window& window) {
  const QWindow* handle = window.Frame().windowHandle();
  const QWindow* parent = handle ? handle->transientParent() : nullptr;
  for (Window* w : detail::LiveWindows())
    if (parent && w->Frame().windowHandle() == parent) return w;
  return nullptr;
}

bool IsResizable(Window& window) {
  const QWidget& f = window.Frame();
  return f.minimumSize() != f.maximumSize();
}

Color BackgroundOf(Window& window) {
  return window.Frame().Content()->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
}

namespace {

// Hidden by the dialog, rather than on a tab or pane that is not open: a tab's page
// lies in its stack, and a pane that the dialog opens on request ("Options >>") is one
// of the dialog's own children.
bool HiddenInDialog(const QWidget* widget, const QWidget* dialog) {
  for (const QWidget* w = widget; w && w != dialog; w = w->parentWidget()) {
    if (!w->isHidden()) continue;
    const QWidget* parent = w->parentWidget();
    if (parent == dialog || qobject_cast<const QStackedWidget*>(parent)) continue;
    return true;
  }
  return false;
}

}  // namespace

std::map<std::string, DialogControl> ModalDialogControls() {
  std::map<std::string, DialogControl> controls;
  QWidget* dialog = FrontModal();
  if (!dialog) return controls;
  for (QWidget* w : dialog->findChildren<QWidget*>()) {
    if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))) continue;
    DialogControl c;
    c.Offered = w->isEnabled() && !HiddenInDialog(w, dialog);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) c.Checked = button->isChecked();
    controls[detail::S(w->objectName())] = c;
  }
  return controls;
}

}  // namespace fw::test
