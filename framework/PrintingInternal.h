#pragma once
// Shared by the printing sources; internal to framework/.

#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

#include "framework/Printing.h"

namespace fw {

class Window;

// The parent of a printing dialog: the window's frame, else the active window.
QWidget* ParentWidget(Window* parent);

// Pages are laid out in points: one device unit is one point.
void UsePoints(QPrinter& printer);

// A printer as a new job or page setup starts with. Without a printer (a PDF file)
// the paper is the system's; a printer knows its own.
std::unique_ptr<QPrinter> MakePrinter();

// The page setup is kept as what was chosen; the printer behind it is made only when
// a size is asked for or a dialog shown, so that starting the application does not
// wait for the printing system.
struct PrinterSetup::State {
  QString printerName;
  std::optional<QPageLayout> layout;
  double scaling = 1.0;
  std::unique_ptr<QPrinter> printer;

  QPrinter& Printer() {
    if (!printer) {
      printer = MakePrinter();
      if (!printerName.isEmpty()) printer->setPrinterName(printerName);
      if (layout) printer->setPageLayout(*layout);
      UsePoints(*printer);
    }
    return *printer;
  }
};

}  // namespace fw
