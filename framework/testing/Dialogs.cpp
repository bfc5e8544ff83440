#include "framework/testing/DriverInternal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "framework/Internal.h"
#include "framework/Window.h"

namespace fw::test {

void WhileModal(Window& window, const std::function<void()>& action, const std::function<void()>& whileShown,
                int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  bool done = false;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done) return;
    if (window.Frame().isVisible() && FrontModal() == &window.Frame()) {
      done = true;
      MarkExpected(&window.Frame());
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

// Presses the dialog's default button, as Return does.
void PressDefault(QDialog* dialog) {
  for (auto* button : dialog->findChildren<QPushButton*>()) {
    if (button->isDefault()) {
      button->click();
      return;
    }
  }
}

Alert AlertOf(const QMessageBox& box) {
  Alert alert;
  alert.Shown = true;
  alert.Text = detail::S(box.text());
  alert.Title = detail::S(box.windowTitle());
  alert.StopIcon = box.icon() == QMessageBox::Critical;
  alert.Buttons = static_cast<int32_t>(box.buttons().size());
  return alert;
}

// Runs `action` and answers the first modal dialog it brings up (only an alert when
// `alertsOnly`, so that a dialog an inner call answers is left to it); `file`, when
// given, chooses the print dialog's file and how it is accepted.
Dialog AnswerFirst(const std::function<void()>& action, const DialogAnswer& answer, int timeoutMs,
                   bool alertsOnly, const PrintFileAnswer* file = nullptr) {
  Dialog seen;
  QElapsedTimer clock;
  clock.start();
  QTimer poll;
  poll.setInterval(10);
  // A dialog brought up over the first one, by a click or by the dialog's own checks
  // as it is answered, runs its own loop inside that call: it is answered from a
  // timer of its own for as long as the first one is up.
  QTimer nestedPoll;
  nestedPoll.setInterval(10);
  QPointer<QDialog> first;
  QPointer<QDialog> lastNested;
  bool nestedClicked = false;
  QObject::connect(&nestedPoll, &QTimer::timeout, [&] {
    auto* nested = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!first || !first->isVisible() || !nested || nested == first || nested == lastNested) return;
    if (auto* box = qobject_cast<QMessageBox*>(nested)) {
      lastNested = nested;
      MarkExpected(nested);
      seen.Raised.push_back(AlertOf(*box));
      QTimer::singleShot(0, nested, [nested] { Answer(nested, true); });
      return;
    }
    if (answer.NestedClick.empty() || nestedClicked) return;
    lastNested = nested;
    nestedClicked = true;
    MarkExpected(nested);
    for (const std::string& name : answer.NestedClick)
      if (auto* b = nested->findChild<QAbstractButton*>(detail::Q(name))) b->click();
    QTimer::singleShot(0, nested, [nested] { nested->accept(); });
  });
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = FrontModal();
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (alertsOnly && !qobject_cast<QMessageBox*>(dialog)) dialog = nullptr;
    if (dialog && !seen.Shown) {
      seen.Shown = true;
      first = dialog;
      MarkExpected(dialog);
      seen.Title = detail::S(dialog->windowTitle());
      seen.Kind = KindOf(*dialog);
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        const Alert alert = AlertOf(*box);
        seen.Text = alert.Text;
        seen.StopIcon = alert.StopIcon;
        seen.Buttons = alert.Buttons;
      }
      ReadFields(*dialog, seen);
      SetFields(*dialog, answer.Set);
      if (file && !file->File.empty())
        if (auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
          field->setText(detail::Q(file->File));
      nestedPoll.start();
      for (const std::string& name : answer.Click)
        if (auto* b = dialog->findChild<QAbstractButton*>(detail::Q(name))) b->click();
      // Answer once the current event is done, so that a nested dialog gets its own turn.
      QTimer::singleShot(0, dialog, [dialog, accept = answer.Accept, file] {
        if (!file) return Answer(dialog, accept);
        if (file->PressPrint) PressDefault(dialog);
        else Answer(dialog, accept);
        if (dialog->isVisible()) dialog->reject();
        if (file->AfterAnswer) file->AfterAnswer();
      });
      return;
    }
    // Whatever is still up after the deadline is closed, so that a test fails rather
    // than hangs.
    if (clock.elapsed() > timeoutMs && modal) modal->close();
  });
  poll.start();
  action();
  poll.stop();
  nestedPoll.stop();
  Pump();
  return seen;
}

}  // namespace

std::string KindOf(const QWidget& modal) {
  if (qobject_cast<const QMessageBox*>(&modal)) return "alert";
  if (qobject_cast<const QPrintDialog*>(&modal)) return "print";
  if (qobject_cast<const QPageSetupDialog*>(&modal)) return "pagesetup";
  return qobject_cast<const QDialog*>(&modal) ? "other" : "window";
}

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

Dialog AnswerPrintDialog(const std::function<void()>& action, const PrintFileAnswer& answer, int timeoutMs) {
  return AnswerFirst(action, DialogAnswer{}, timeoutMs, false, &answer);
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
      MarkExpected(dialog);
      whileShown();
      gone = !dialog || !dialog->isVisible();
      if (!gone) dialog->reject();
      return;
    }
    if (QWidget* modal = FrontModal(); modal && clock.elapsed() > timeoutMs) modal->close();
  });
  poll.start();
  action();
  poll.stop();
  Pump();
  return shown && gone;
}

}  // namespace fw::test
