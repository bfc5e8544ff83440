#include "framework/testing/Driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Internal.h"
#include "framework/Window.h"
#include "framework/WindowRegistry.h"

namespace fw::test {

namespace {

std::string MakePrivateDir(const char* name) {
  const std::string dir = ScratchDir() + "/" + name;
  if (::mkdir(dir.c_str(), 0700) != 0) std::abort();
  return dir;
}

void WriteFontConfig(const std::string& dir) {
  // Only the fonts the project installs, so that widths and pixels do not depend on
  // whatever else happens to be on the machine.
  const std::string path = dir + "/fonts.conf";
  std::ofstream out(path);
  out << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
      << "  <dir>/usr/share/fonts/truetype/dejavu</dir>\n"
      << "  <dir>/usr/share/fonts/truetype/liberation2</dir>\n"
      << "  <cachedir>" << dir << "/cache</cachedir>\n"
      << "  <include ignore_missing=\"yes\">/etc/fonts/conf.d/30-metric-aliases.conf</include>\n"
      << "  <include ignore_missing=\"yes\">/etc/fonts/conf.d/45-latin.conf</include>\n"
      << "  <include ignore_missing=\"yes\">/etc/fonts/conf.d/60-latin.conf</include>\n"
      << "  <include ignore_missing=\"yes\">/etc/fonts/conf.d/49-sansserif.conf</include>\n"
      << "</fontconfig>\n";
  ::setenv("FONTCONFIG_FILE", path.c_str(), 1);
}

std::unique_ptr<QApplication>& TestApp() {
  static std::unique_ptr<QApplication> app;
  return app;
}

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

std::string ScratchDir() {
  static std::string dir;
  static pid_t owner = 0;
  if (dir.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/tessaral-test-XXXXXX";
    if (!::mkdtemp(tmpl.data())) std::abort();
    dir = tmpl;
    owner = ::getpid();
    // A forked child that exits must not take its parent's folder with it.
    std::atexit([] {
      std::error_code ec;
      if (::getpid() == owner) std::filesystem::remove_all(dir, ec);
    });
  }
  return dir;
}

void InitApplication(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string runtime = MakePrivateDir("runtime");
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  const std::string config = MakePrivateDir("config");
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  WriteFontConfig(MakePrivateDir("fonts"));
  // The same paper whatever the machine's setting: tests that need another set it.
  ::setenv("PAPERSIZE", "a4", 1);
  TestApp() = std::make_unique<QApplication>(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
}

void FinishApplication() {
  ResetApplication();
  TestApp().reset();
}

void UseScreens(const std::vector<Rect>& screens) {
  // The offscreen platform reads its screens from a file; it adds them sorted by name
  // and takes the first added as the primary one.
  const std::string path = MakePrivateDir("screens") + "/screens.json";
  std::ofstream out(path);
  out << "{\"screens\": [";
  for (size_t i = 0; i < screens.size(); ++i) {
    const Rect& r = screens[i];
    out << (i ? ", " : "") << "{\"name\": \"screen" << i << "\", \"x\": " << r.Left << ", \"y\": " << r.Top
        << ", \"width\": " << r.Width << ", \"height\": " << r.Height << "}";
  }
  out << "]}\n";
  ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).c_str(), 1);
}

void ResetApplication() {
  detail::ReleaseQuitRequests();
  WindowRegistry::Reset();
  delete Application::Current();
  detail::quitRequested = false;
  detail::quitCode = 0;
  QCoreApplication::processEvents();
}

void Pump(int milliseconds) {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (milliseconds > 0) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents);
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

namespace {

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

}  // namespace

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

void WhileModal(Window& window, const std::function<void()>& action, const std::function<void()>& whileShown,
                int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  bool done = false;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done) return;
    if (window.Frame().isVisible() && QApplication::activeModalWidget() == &window.Frame()) {
      done = true;
      poll.stop();
      whileShown();
      if (window.Frame().isVisible()) window.Hide();
      return;
    }
    if (clock.elapsed() > timeoutMs) {
      done = true;
      window.Hide();
    }
  });
  poll.start();
  action();
  poll.stop();
  Pump();
}

namespace {

// What a dialog shows of its fields as it comes up.
void ReadFields(QDialog& dialog, Dialog& seen) {
  for (auto* spin : dialog.findChildren<QSpinBox*>())
    if (!spin->objectName().isEmpty()) seen.Values[detail::S(spin->objectName())] = spin->value();
  for (auto* spin : dialog.findChildren<QDoubleSpinBox*>())
    if (!spin->objectName().isEmpty()) seen.Values[detail::S(spin->objectName())] = spin->value();
  for (auto* combo : dialog.findChildren<QComboBox*>())
    if (!combo->objectName().isEmpty()) seen.Choices[detail::S(combo->objectName())] = detail::S(combo->currentText());
  if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) seen.File = detail::S(print->printer()->outputFileName());
}

void SetFields(QDialog& dialog, const std::map<std::string, double>& values) {
  for (const auto& [name, value] : values) {
    if (auto* spin = dialog.findChild<QSpinBox*>(detail::Q(name))) spin->setValue(static_cast<int>(value));
    if (auto* spin = dialog.findChild<QDoubleSpinBox*>(detail::Q(name))) spin->setValue(value);
  }
}

void Answer(QDialog* dialog, bool accept) {
  if (auto* box = qobject_cast<QMessageBox*>(dialog); box && accept && box->button(QMessageBox::Ok)) {
    box->button(QMessageBox::Ok)->click();
  } else if (accept) {
    dialog->accept();
  } else {
    dialog->reject();
  }
}

// Runs `action` and answers the first modal dialog it brings up (only an alert when
// `alertsOnly`, so that a dialog an inner call answers is left to it).
Dialog AnswerFirst(const std::function<void()>& action, const DialogAnswer& answer, int timeoutMs,
                   bool alertsOnly) {
  Dialog seen;
  QElapsedTimer clock;
  clock.start();
  QTimer poll;
  poll.setInterval(10);
  // A dialog opened by a click runs its own loop inside the click: it is answered
  // from a timer of its own.
  QTimer nestedPoll;
  nestedPoll.setInterval(10);
  QDialog* first = nullptr;
  QObject::connect(&nestedPoll, &QTimer::timeout, [&] {
    auto* nested = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!nested || nested == first) return;
    nestedPoll.stop();
    for (const std::string& name : answer.NestedClick)
      if (auto* b = nested->findChild<QAbstractButton*>(detail::Q(name))) b->click();
    QTimer::singleShot(0, nested, [nested] { nested->accept(); });
  });
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (alertsOnly && !qobject_cast<QMessageBox*>(dialog)) dialog = nullptr;
    if (dialog && !seen.Shown) {
      seen.Shown = true;
      first = dialog;
      seen.Title = detail::S(dialog->windowTitle());
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        seen.Kind = "alert";
        seen.Text = detail::S(box->text());
        seen.StopIcon = box->icon() == QMessageBox::Critical;
        seen.Buttons = static_cast<int32_t>(box->buttons().size());
      } else if (qobject_cast<QPrintDialog*>(dialog)) {
        seen.Kind = "print";
      } else if (qobject_cast<QPageSetupDialog*>(dialog)) {
        seen.Kind = "pagesetup";
      } else {
        seen.Kind = "other";
      }
      ReadFields(*dialog, seen);
      SetFields(*dialog, answer.Set);
      if (!answer.NestedClick.empty()) nestedPoll.start();
      for (const std::string& name : answer.Click)
        if (auto* b = dialog->findChild<QAbstractButton*>(detail::Q(name))) b->click();
      nestedPoll.stop();
      // Answer once the current event is done, so that a nested dialog gets its own turn.
      QTimer::singleShot(0, dialog, [dialog, accept = answer.Accept] { Answer(dialog, accept); });
      return;
    }
    // Whatever is still up after the deadline is closed, so that a test fails rather
    // than hangs.
    if (clock.elapsed() > timeoutMs && modal) modal->close();
  });
  poll.start();
  action();
  poll.stop();
  Pump();
  return seen;
}

}  // namespace

Dialog AnswerDialog(const std::function<void()>& action, bool accept, const std::vector<std::string>& clickFirst,
                    int timeoutMs) {
  DialogAnswer answer;
  answer.Accept = accept;
  answer.Click = clickFirst;
  return AnswerFirst(action, answer, timeoutMs, false);
}

Dialog AnswerDialog(const std::function<void()>& action, const DialogAnswer& answer, int timeoutMs) {
  return AnswerFirst(action, answer, timeoutMs, false);
}

Alert ExpectAlert(const std::function<void()>& action, int timeoutMs) {
  const Dialog d = AnswerFirst(action, {}, timeoutMs, true);
  Alert alert;
  alert.Shown = d.Shown && d.Kind == "alert";
  alert.Text = d.Text;
  alert.Title = d.Title;
  alert.StopIcon = d.StopIcon;
  alert.Buttons = d.Buttons;
  return alert;
}

bool WhileDialog(const std::function<void()>& action, const std::function<void()>& whileShown, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  bool shown = false;
  bool gone = false;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog && !shown) {
      shown = true;
      whileShown();
      gone = !dialog || !dialog->isVisible();
      if (!gone) dialog->reject();
      return;
    }
    if (clock.elapsed() > timeoutMs && QApplication::activeModalWidget()) QApplication::activeModalWidget()->close();
  });
  poll.start();
  action();
  poll.stop();
  Pump();
  return shown && gone;
}

void RequestSessionQuit() {
  // What Qt delivers when the session manager tells the application to die.
  QEvent quit(QEvent::Quit);
  QCoreApplication::sendEvent(qApp, &quit);
  Pump();
}

void SetPrintFile(const std::string& path) { detail::printFile = path; }

double LastPrintJobSeconds() { return detail::lastJobPaintSeconds; }

namespace {

std::string Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(30000)) return {};
  return p.readAllStandardOutput().toStdString();
}

}  // namespace

PdfInfo ReadPdf(const std::string& path) {
  PdfInfo info;
  const QString out = detail::Q(Run(QStringLiteral("pdfinfo"), {detail::Q(path)}));
  for (const QString& line : out.split(QLatin1Char('\n'))) {
    if (line.startsWith(QLatin1String("Pages:"))) info.Pages = line.mid(6).trimmed().toInt();
    if (line.startsWith(QLatin1String("Title:"))) info.Title = detail::S(line.mid(6).trimmed());
    if (line.startsWith(QLatin1String("Page size:"))) {
      const QStringList parts = line.mid(10).trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
      if (parts.size() >= 3) {
        info.PageWidth = parts[0].toDouble();
        info.PageHeight = parts[2].toDouble();
      }
    }
  }
  return info;
}

Image RenderPdfPage(const std::string& path, int32_t page, int32_t dpi) {
  const QString prefix = detail::Q(ScratchDir() + "/page");
  Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                   QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                   QString::number(page), QStringLiteral("-singlefile"), detail::Q(path), prefix});
  const QString file = prefix + QStringLiteral(".png");
  const QImage image(file);
  QFile::remove(file);
  return ToImage(QPixmap::fromImage(image));
}

std::string PdfText(const std::string& path, int32_t page) {
  return Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                           QStringLiteral("-l"), QString::number(page), detail::Q(path),
                                           QStringLiteral("-")});
}

void WithFileSizeLimit(int64_t bytes, const std::function<void()>& action) {
  rlimit before{};
  ::getrlimit(RLIMIT_FSIZE, &before);
  rlimit limited = before;
  limited.rlim_cur = static_cast<rlim_t>(bytes);
  ::setrlimit(RLIMIT_FSIZE, &limited);
  action();
  ::setrlimit(RLIMIT_FSIZE, &before);
}

int BeepCount() { return detail::beepCount; }

bool QuitRequested() { return detail::quitRequested; }

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

void ChooseMenu(Window& window, const std::string& name) {
  QMenuBar* bar = window.Frame().Bar();
  if (!bar) return;
  if (QAction* a = FindAction(bar, detail::Q(name))) a->trigger();
  Pump();
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

bool IsResizable(Window& window) {
  const QWidget& f = window.Frame();
  return f.minimumSize() != f.maximumSize();
}

Color BackgroundOf(Window& window) {
  return window.Frame().Content()->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
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
