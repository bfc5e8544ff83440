#include "framework/testing/DriverInternal.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <utility>

#include "framework/Internal.h"
#include "framework/Window.h"

namespace fw::test {

namespace {

// Dynamic properties on the modal widget: when it was last shown, whether a helper
// has taken it on, whether it has been reported.
constexpr const char* kShownAt = "fwTestShownAt";
constexpr const char* kExpected = "fwTestExpected";
constexpr const char* kReported = "fwTestReported";

std::string Describe(const QWidget& modal) {
  const std::string title = detail::S(modal.windowTitle());
  const std::string kind = KindOf(modal);
  if (kind == "alert")
    return "unexpected alert: " + title + ": " + detail::S(static_cast<const QMessageBox&>(modal).text());
  if (kind == "print") return "unexpected print dialog: " + title;
  if (kind == "pagesetup") return "unexpected page setup dialog: " + title;
  if (kind == "window") return "unexpected modal window: " + title;
  return "unexpected dialog: " + title;
}

// Takes the dialog or window down as its Cancel would.
void Dismiss(QWidget* modal) {
  if (!modal->isVisible()) return;
  if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->hide();
  }
}

class DialogWatch final : public QObject {
 public:
  DialogWatch(std::function<void(const std::string&)> report, int graceMs)
      : QObject(qApp), report_(std::move(report)), graceMs_(graceMs) {
    clock_.start();
    qApp->installEventFilter(this);
    // Timers fire inside a modal dialog's own event loop too.
    poll_.setInterval(50);
    connect(&poll_, &QTimer::timeout, this, [this] { Check(); });
    poll_.start();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Each showing is a new one: a window shown modally again is expected only if a
    // helper takes it on again.
    if (event->type() == QEvent::Show && !event->spontaneous() && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
      watched->setProperty(kShownAt, clock_.elapsed());
      watched->setProperty(kExpected, false);
      watched->setProperty(kReported, false);
    }
    return false;
  }

 private:
  // Only the front-most modal one blocks; one under it gets its turn once it is on top.
  void Check() {
    QWidget* modal = FrontModal();
    if (!modal || !modal->isVisible() || modal->property(kExpected).toBool()) return;
    const QVariant shownAt = modal->property(kShownAt);
    if (!shownAt.isValid()) {
      modal->setProperty(kShownAt, clock_.elapsed());
      return;
    }
    // A helper that arms its timer late still gets the dialog first.
    if (clock_.elapsed() - shownAt.toLongLong() < graceMs_) return;
    if (!modal->property(kReported).toBool()) {
      modal->setProperty(kReported, true);
      report_(Describe(*modal));
    }
    // Taken down once this slot is done, as a Cancel would: the test goes on, failed.
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, modal, [target] {
      if (target) Dismiss(target);
    });
  }

  std::function<void(const std::string&)> report_;
  int graceMs_;
  QElapsedTimer clock_;
  QTimer poll_;
};

QPointer<DialogWatch>& Watch() {
  static QPointer<DialogWatch> watch;
  return watch;
}

}  // namespace

QWidget* FrontModal() {
  if (QWidget* dialog = QApplication::activeModalWidget()) return dialog;
  Window* window = detail::ModalWindow();
  return window && window->Frame().isVisible() ? &window->Frame() : nullptr;
}

void MarkExpected(QWidget* modal) {
  if (modal) modal->setProperty(kExpected, true);
}

void WatchForUnexpectedDialogs(std::function<void(const std::string&)> report, int graceMs) {
  delete Watch().data();
  if (report) Watch() = new DialogWatch(std::move(report), graceMs);
}

bool CloseModalsAfter(int ms, const std::function<void()>& action) {
  QElapsedTimer clock;
  clock.start();
  bool closed = false;
  QTimer poll;
  poll.setInterval(50);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = FrontModal();
    if (!modal || clock.elapsed() < ms) return;
    closed = true;
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, modal, [target] {
      if (target) Dismiss(target);
    });
  });
  poll.start();
  action();
  poll.stop();
  Pump();
  return closed;
}

}  // namespace fw::test
