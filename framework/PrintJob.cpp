#include "framework/PrintingInternal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "framework/Basic.h"
#include "framework/Internal.h"

namespace fw {

namespace {

// The PDF file the last job of the run wrote: the next job offers it again.
QString& LastPdfFile() {
  static QString file;
  return file;
}

// Where a job goes when there is no printer to print on.
QString DefaultPdfFile() {
  if (!LastPdfFile().isEmpty()) return LastPdfFile();
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  return QDir(folder).filePath(QStringLiteral("Tessaral.pdf"));
}

// A PDF is written to a temporary file first and moved to where the user chose it
// only once complete, as a save is: a job that ends early, prints nothing or fails
// to be written leaves the chosen file as it was (or absent). Waiting with the first
// write until the first drawing would not help a full disk, and would need every
// drawing call to check.
class PdfOutput {
 public:
  explicit PdfOutput(const QString& chosen) {
    const QFileInfo info(chosen);
    target_ = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    // A device or pipe (/dev/stdout) is written through; a file is replaced.
    replace_ = !info.exists() || QFileInfo(target_).isFile();
    const QString folder = replace_ ? QFileInfo(target_).absolutePath() : QDir::tempPath();
    temp_.setFileTemplate(QDir(folder).filePath(QStringLiteral(".") + QFileInfo(target_).fileName() +
                                                QStringLiteral(".XXXXXX")));
    if (temp_.open()) temp_.close();  // QPrinter writes it by name
  }
  bool Ready() const { return !temp_.fileName().isEmpty() && QFileInfo::exists(temp_.fileName()); }
  QString TempName() const { return temp_.fileName(); }

  // Moves a complete file in place; false when the file is incomplete or cannot be
  // placed, and the chosen file is then left as it was.
  bool Deliver() {
    if (!Complete()) return false;
    if (!replace_) return CopyToTarget();
    ::chmod(QFile::encodeName(temp_.fileName()).constData(), TargetMode());
    if (std::rename(QFile::encodeName(temp_.fileName()).constData(), QFile::encodeName(target_).constData()) != 0)
      return false;
    temp_.setAutoRemove(false);
    return true;
  }

 private:
  // A PDF that was written to its end closes with "%%EOF"; a full disk cuts it short.
  bool Complete() {
    QFile f(temp_.fileName());
    if (!f.open(QIODevice::ReadOnly) || f.size() < 8) return false;
    f.seek(std::max<qint64>(0, f.size() - 32));
    return f.readAll().contains("%%EOF");
  }
  bool CopyToTarget() {
    QFile from(temp_.fileName()), to(target_);
    if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = from.readAll();
    const bool written = to.write(bytes) == bytes.size() && to.flush();
    to.close();
    return written && to.error() == QFileDevice::NoError;
  }
  // The replaced file's permissions, or those a new file gets.
  mode_t TargetMode() const {
    struct stat st {};
    if (::stat(QFile::encodeName(target_).constData(), &st) == 0) return st.st_mode & 07777;
    return 0666 & ~ProcessUmask();
  }
  // Read, not set: setting the umask to learn it would change it for every thread
  // for a moment.
  static mode_t ProcessUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
      if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 022;
  }

  QString target_;
  bool replace_ = true;
  QTemporaryFile temp_;
};

// The printer and painter must exist, the painter begun, before the Graphics that
// draws through them.
struct JobDevice {
  JobDevice(std::unique_ptr<QPrinter> ownPrinter, QPrinter& jobPrinter)
      : owned(std::move(ownPrinter)), printer(jobPrinter) {
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
      where = printer.outputFileName();
      pdf = std::make_unique<PdfOutput>(where);
      if (!pdf->Ready()) return;
      printer.setOutputFileName(pdf->TempName());
    } else {
      where = printer.printerName();
    }
    begun = std::chrono::steady_clock::now();
    started = painter.begin(&printer);
    // A first pen equal to the default one leaves a stray hairline on a PDF's first page.
    if (started) painter.setPen(QPen(Qt::white, 2));
  }
  std::unique_ptr<QPrinter> owned;
  QPrinter& printer;
  QString where;
  std::unique_ptr<PdfOutput> pdf;
  std::chrono::steady_clock::time_point begun;
  QPainter painter;
  bool started = false;
  bool abandoned = false;
};

QRect PrintableArea(QPrinter& printer) { return printer.pageLayout().paintRectPixels(printer.resolution()); }

class PageGraphics final : private JobDevice, public Graphics {
 public:
  PageGraphics(std::unique_ptr<QPrinter> owned, QPrinter& printer)
      : JobDevice(std::move(owned), printer),
        Graphics(painter, PrintableArea(printer).width(), PrintableArea(printer).height()) {}
  ~PageGraphics() override {
    if (!started) return;
    if (abandoned) {
      printer.abort();
      painter.end();
      return;  // the temporary file goes with `pdf`
    }
    const bool ended = painter.end() && printer.printerState() != QPrinter::Error;
    detail::lastJobPaintSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    if (!ended || (pdf && !pdf->Deliver())) {
      pdf.reset();  // the unfinished file is gone by the time the user reads why
      MsgBox("The calendar could not be printed: writing to " + detail::S(where) +
                 " failed. Check that there is room on the disk, then print again.",
             16, "Print");
    }
  }
  bool Started() const { return started; }
  const QString& Where() const { return where; }
  void Abandon() { abandoned = true; }

 protected:
  bool StartNextPage() override { return started && printer.newPage(); }
};

// The print dialog's Properties repeat the paper and orientation of Print Setup:
// they are shown there but not offered, since the pages are laid out for the sheet
// that was set up.
class SheetShownNotOffered final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ChildPolished) {
      for (QWidget* page : static_cast<QWidget*>(watched)->findChildren<QWidget*>()) {
        if (page->inherits("QPageSetupWidget")) {
          page->setEnabled(false);
          page->setToolTip(QPrintDialog::tr("Paper and orientation are chosen in Print Setup."));
        }
      }
    }
    return false;
  }
};

}  // namespace

std::unique_ptr<Graphics> OpenPrinterDialog(PrinterSetup* setup, Window* parent, const std::string& title) {
  std::unique_ptr<QPrinter> owned;
  if (!setup) owned = MakePrinter();
  QPrinter& printer = setup ? setup->Internal().Printer() : *owned;
  UsePoints(printer);
  printer.setDocName(detail::Q(title));
  printer.setCreator(QCoreApplication::applicationName());
  // Without a printer the dialog offers a PDF file: give it a real one to write.
  if (!detail::printFile.empty()) {
    printer.setOutputFileName(detail::Q(detail::printFile));
  } else if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()) {
    printer.setOutputFileName(DefaultPdfFile());
  }

  // The grid is laid out for this sheet: whatever the dialog's properties say of
  // paper or orientation, the job prints on it.
  const QPageLayout sheet = printer.pageLayout();
  {
    // Gone before the job paints: taking the dialog down waits for the threads that
    // watch its folders.
    QPrintDialog dialog(&printer, ParentWidget(parent));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    SheetShownNotOffered lock;
    dialog.installEventFilter(&lock);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
  }
  printer.setPageLayout(sheet);
  UsePoints(printer);
  if (printer.outputFormat() == QPrinter::PdfFormat) LastPdfFile() = printer.outputFileName();

  auto page = std::make_unique<PageGraphics>(std::move(owned), printer);
  if (!page->Started()) {
    const QString where = page->Where();
    page.reset();
    MsgBox("The calendar could not be printed to " + detail::S(where) + ".", 16, "Print");
    return nullptr;
  }
  return page;
}

void AbandonPrintJob(std::unique_ptr<Graphics> page) {
  if (auto* job = dynamic_cast<PageGraphics*>(page.get())) job->Abandon();
}

}  // namespace fw
