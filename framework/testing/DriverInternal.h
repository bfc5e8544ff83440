#pragma once
// Shared by the test driver's sources.

#include <QPixmap>

#include <string>

#include "framework/testing/Driver.h"

class QWidget;

namespace fw::test {

// The pixels of a grab or a rendered page, without alpha.
Image ToImage(const QPixmap& pixmap);

// A helper has taken this modal dialog or window on, for as long as it stays up:
// the watch for unexpected dialogs leaves it alone.
void MarkExpected(QWidget* modal);

// The modal dialog or window in front: a dialog (they come in front of everything),
// else the window of the latest showing with ShowModal still up; or null.
QWidget* FrontModal();

// "alert", "print", "pagesetup", "other" for any other dialog, or "window" for a
// window of the program's own shown modally.
std::string KindOf(const QWidget& modal);

}  // namespace fw::test
