#include "framework/Printing.h"

#include <QApplication>
#include <QDir>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <chrono>
#include <optional>
#include <sstream>

#include "framework/Basic.h"
#include "framework/Internal.h"
#include "framework/Window.h"

namespace fw {

namespace {

constexpr const char* kSetupHeader = "tessaral-page-setup 1";

QWidget* ParentWidget(Window* parent) {
  if (parent) return &parent->Frame();
  return QApplication::activeWindow();
}

// Pages are laid out in points: one device unit is one point.
void UsePoints(QPrinter& printer) { printer.setResolution(72); }

// Where a job goes when there is no printer to print on.
QString DefaultPdfFile() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  return QDir(folder).filePath(QStringLiteral("Tessaral.pdf"));
}

}  // namespace

// The page setup is kept as what was chosen; the printer behind it is made only when
// a size is asked for or a dialog shown, so that starting the application does not
// wait for the printing system.
struct PrinterSetup::State {
  QString printerName;
  std::optional<QPageLayout> layout;
  std::unique_ptr<QPrinter> printer;

  QPrinter& Printer() {
    if (!printer) {
      printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      if (!printerName.isEmpty()) printer->setPrinterName(printerName);
      if (layout) printer->setPageLayout(*layout);
      UsePoints(*printer);
    }
    return *printer;
  }
};

PrinterSetup::PrinterSetup() : state_(std::make_unique<State>()) {}

PrinterSetup::~PrinterSetup() = default;

std::string PrinterSetup::SetupString() const {
  std::ostringstream out;
  out << kSetupHeader << "\n";
  out << "printer=" << detail::S(state_->printerName) << "\n";
  if (state_->layout) {
    const QPageLayout& l = *state_->layout;
    const QMarginsF m = l.margins(QPageLayout::Point);
    out << "size=" << detail::S(l.pageSize().key()) << "\n";
    out << "width=" << l.pageSize().sizePoints().width() << "\n";
    out << "height=" << l.pageSize().sizePoints().height() << "\n";
    out << "orientation=" << (l.orientation() == QPageLayout::Landscape ? "landscape" : "portrait") << "\n";
    out << "margins=" << m.left() << "," << m.top() << "," << m.right() << "," << m.bottom() << "\n";
  }
  return out.str();
}

void PrinterSetup::SetSetupString(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kSetupHeader) return;  // not one of ours
  QString printerName;
  QString sizeKey;
  double width = 0, height = 0;
  bool landscape = false;
  QMarginsF margins;
  bool haveLayout = false;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    if (key == "printer") {
      printerName = detail::Q(value);
    } else if (key == "size") {
      sizeKey = detail::Q(value);
      haveLayout = true;
    } else if (key == "width") {
      width = Val(value);
    } else if (key == "height") {
      height = Val(value);
    } else if (key == "orientation") {
      landscape = value == "landscape";
    } else if (key == "margins") {
      double v[4] = {0, 0, 0, 0};
      std::istringstream parts(value);
      std::string part;
      for (double& x : v) {
        if (!std::getline(parts, part, ',')) break;
        x = Val(part);
      }
      margins = QMarginsF(v[0], v[1], v[2], v[3]);
    }
  }
  state_->printerName = printerName;
  state_->printer.reset();
  state_->layout.reset();
  if (haveLayout && width > 0 && height > 0) {
    QPageSize size(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::FuzzyMatch);
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
      if (QPageSize::key(static_cast<QPageSize::PageSizeId>(id)) == sizeKey) {
        size = QPageSize(static_cast<QPageSize::PageSizeId>(id));
        break;
      }
    }
    state_->layout = QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                                 QPageLayout::Point);
  }
}

bool PrinterSetup::PageSetupDialog(Window* parent) {
  QPrinter& printer = state_->Printer();
  const QPageLayout before = printer.pageLayout();
  QPageSetupDialog dialog(&printer, ParentWidget(parent));
  if (dialog.exec() != QDialog::Accepted) {
    printer.setPageLayout(before);
    return false;
  }
  state_->layout = printer.pageLayout();
  state_->printerName = printer.printerName();
  UsePoints(printer);
  return true;
}

int32_t PrinterSetup::PageWidth() const {
  return CInt32(state_->Printer().pageLayout().fullRectPoints().width());
}

int32_t PrinterSetup::PageHeight() const {
  return CInt32(state_->Printer().pageLayout().fullRectPoints().height());
}

int32_t PrinterSetup::Width() const { return CInt32(state_->Printer().pageLayout().paintRectPoints().width()); }

int32_t PrinterSetup::Height() const { return CInt32(state_->Printer().pageLayout().paintRectPoints().height()); }

// ---- a print job ------------------------------------------------------------

namespace {

// The printer and painter must exist, the painter begun, before the Graphics that
// draws through them.
struct JobDevice {
  JobDevice(std::unique_ptr<QPrinter> ownPrinter, QPrinter& jobPrinter)
      : owned(std::move(ownPrinter)), printer(jobPrinter), begun(std::chrono::steady_clock::now()) {
    started = painter.begin(&printer);
    // A first pen equal to the default one leaves a stray hairline on a PDF's first page.
    if (started) painter.setPen(QPen(Qt::white, 2));
  }
  std::unique_ptr<QPrinter> owned;
  QPrinter& printer;
  std::chrono::steady_clock::time_point begun;
  QPainter painter;
  bool started = false;
};

QRect PrintableArea(QPrinter& printer) { return printer.pageLayout().paintRectPixels(printer.resolution()); }

class PageGraphics final : private JobDevice, public Graphics {
 public:
  PageGraphics(std::unique_ptr<QPrinter> owned, QPrinter& printer)
      : JobDevice(std::move(owned), printer),
        Graphics(painter, PrintableArea(printer).width(), PrintableArea(printer).height()) {}
  ~PageGraphics() override {
    if (started) painter.end();
    detail::lastJobPaintSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
  }
  bool Started() const { return started; }

 protected:
  bool StartNextPage() override { return started && printer.newPage(); }
};

}  // namespace

std::unique_ptr<Graphics> OpenPrinterDialog(PrinterSetup* setup, Window* parent) {
  std::unique_ptr<QPrinter> owned;
  if (!setup) owned = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrinter& printer = setup ? setup->Internal().Printer() : *owned;
  UsePoints(printer);
  // Without a printer the dialog offers a PDF file: give it a real one to write.
  if (!detail::printFile.empty()) {
    printer.setOutputFileName(detail::Q(detail::printFile));
  } else if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()) {
    printer.setOutputFileName(DefaultPdfFile());
  }

  {
    // Gone before the job paints: taking the dialog down waits for the threads that
    // watch its folders.
    QPrintDialog dialog(&printer, ParentWidget(parent));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
  }

  UsePoints(printer);
  auto page = std::make_unique<PageGraphics>(std::move(owned), printer);
  if (!page->Started()) {
    const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    page.reset();
    MsgBox("The calendar could not be printed to " + detail::S(where) + ".", 16, "Print");
    return nullptr;
  }
  return page;
}

}  // namespace fw
