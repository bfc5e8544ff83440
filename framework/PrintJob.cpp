#include "framework/PrintingInternal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QRadioButton>
#include <QSpinBox>
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

// The printer and the painter of a job. The Graphics that draws through them is made
// only once the painter has begun: a painter that did not begin is never drawn on,
// not even given its render hints.
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
};

QRect PrintableArea(QPrinter& printer) { return printer.pageLayout().paintRectPixels(printer.resolution()); }

class PageGraphics final : public Graphics {
 public:
  // `job` has begun.
  explicit PageGraphics(std::unique_ptr<JobDevice> job)
      : Graphics(job->painter, PrintableArea(job->printer).width(), PrintableArea(job->printer).height()),
        job_(std::move(job)) {}
  ~PageGraphics() override {
    JobDevice& job = *job_;
    if (abandoned_) {
      job.printer.abort();
      job.painter.end();
      return;  // the temporary file goes with `pdf`
    }
    const bool ended = job.painter.end() && job.printer.printerState() != QPrinter::Error;
    detail::lastJobPaintSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - job.begun).count();
    if (!ended || (job.pdf && !job.pdf->Deliver())) {
      job.pdf.reset();  // the unfinished file is gone by the time the user reads why
      MsgBox("The calendar could not be printed: writing to " + detail::S(job.where) +
                 " failed. Check that there is room on the disk, then print again.",
             16, "Print");
    }
  }
  void Abandon() { abandoned_ = true; }

 protected:
  bool StartNextPage() override { return job_->printer.newPage(); }

 private:
  std::unique_ptr<JobDevice> job_;
  bool abandoned_ = false;
};

// The print dialog shows what the job has decided without offering it. Its
// Properties repeat the paper and orientation of Print Setup, and the pages are laid
// out for that sheet. Its page range, current page and selection would choose pages,
// but a job prints all of its pages, chosen before the dialog: Qt turns "Pages from"
// back on whenever it sets the dialog up (as it shows, as a printer is chosen) and
// then ignores it for a file, so the choice is taken away again after each. A file
// holds one copy in page order, whatever Copies and Reverse say, so for a file they
// are not offered either.
class JobChoicesShownNotOffered final : public QObject {
 public:
  explicit JobChoicesShownNotOffered(QPrintDialog& dialog) : dialog_(dialog) {
    dialog.installEventFilter(this);
    // Connected after Qt's own handler, so this runs once Qt has set up the printer.
    if (auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers")))
      connect(printers, &QComboBox::currentIndexChanged, this, [this] { TakeAwayWhatTheJobDecides(); });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &dialog_ && (event->type() == QEvent::ChildPolished || event->type() == QEvent::Show)) {
      for (QWidget* page : dialog_.findChildren<QWidget*>()) {
        if (page->inherits("QPageSetupWidget")) {
          page->setEnabled(false);
          page->setToolTip(QPrintDialog::tr("Paper and orientation are chosen in Print Setup."));
        }
      }
      TakeAwayWhatTheJobDecides();
    }
    return false;
  }

 private:
  template <typename Control>
  Control* Find(const char* name) const {
    return dialog_.findChild<Control*>(QLatin1String(name));
  }

  void TakeAwayWhatTheJobDecides() {
    if (auto* all = Find<QRadioButton>("printAll")) all->setChecked(true);
    for (const char* name :
         {"printRange", "from", "to", "pagesRadioButton", "pagesLineEdit", "printCurrentPage", "printSelection"}) {
      if (auto* control = Find<QWidget>(name)) {
        control->setEnabled(false);
        control->setToolTip(QPrintDialog::tr("Every page of this job is printed."));
      }
    }
    // Qt sets the printer's format as soon as a printer is chosen.
    const bool toFile = dialog_.printer()->outputFormat() == QPrinter::PdfFormat;
    if (toFile) {
      if (auto* copies = Find<QSpinBox>("copies")) copies->setValue(1);
      if (auto* reverse = Find<QCheckBox>("reverse")) reverse->setChecked(false);
    }
    for (const char* name : {"copies", "collate", "reverse"}) {
      if (auto* control = Find<QWidget>(name)) {
        control->setEnabled(!toFile);
        control->setToolTip(toFile ? QPrintDialog::tr("A file holds one copy, in page order.") : QString());
      }
    }
  }

  QPrintDialog& dialog_;
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
    JobChoicesShownNotOffered lock(dialog);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
  }
  printer.setPageLayout(sheet);
  UsePoints(printer);
  if (printer.outputFormat() == QPrinter::PdfFormat) LastPdfFile() = printer.outputFileName();

  auto job = std::make_unique<JobDevice>(std::move(owned), printer);
  if (!job->started) {
    const QString where = job->where;
    job.reset();  // no temporary file is left behind when the user reads why
    MsgBox("The calendar could not be printed to " + detail::S(where) + ".", 16, "Print");
    return nullptr;
  }
  return std::make_unique<PageGraphics>(std::move(job));
}

void AbandonPrintJob(std::unique_ptr<Graphics> page) {
  if (auto* job = dynamic_cast<PageGraphics*>(page.get())) job->Abandon();
}

}  // namespace fw
