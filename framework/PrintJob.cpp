#include "framework/PrintingInternal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaObject>
#include <QPainter>
#include <QPrintDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
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

// What the name stands for, links followed; 0 when nothing (or nothing that can be
// reached).
mode_t ModeAt(const QString& path) {
  struct stat st {};
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0) return 0;
  return st.st_mode;
}

// A PDF goes only to a plain file, or to a name that stands for nothing yet.
bool CanHoldAPdf(const QString& path) {
  const mode_t mode = ModeAt(path);
  return mode == 0 || S_ISREG(mode);
}

// The file the print dialog offers for `wanted`. Qt's dialog opens the file as it
// accepts, to see that it can be written, and on a FIFO that waits for a reader for
// ever: where `wanted` stands for anything but a plain file, the first free name of
// NAME-2.pdf, NAME-3.pdf... beside it is offered instead; an empty name, leaving the
// choice to Qt, when there is none.
QString OfferedPdfFile(const QString& wanted) {
  if (CanHoldAPdf(wanted)) return wanted;
  const QFileInfo info(wanted);
  const QString suffix = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
  for (int n = 2; n < 1000; ++n) {
    const QString name = info.dir().filePath(info.completeBaseName() + QStringLiteral("-%1").arg(n) + suffix);
    struct stat st {};
    if (::lstat(QFile::encodeName(name).constData(), &st) != 0 && errno == ENOENT) return name;
  }
  return QString();
}

// A PDF is written to a temporary file first and moved to where the user chose it
// only once complete, as a save is: a job that ends early, prints nothing or fails
// to be written leaves the chosen file as it was (or absent). Waiting with the first
// write until the first drawing would not help a full disk, and would need every
// drawing call to check.
class PdfOutput {
 public:
  explicit PdfOutput(const QString& chosen) {
    // A pipe or a device is never opened: a FIFO nobody reads would hold the job, and
    // the whole run, for ever.
    if (!CanHoldAPdf(chosen)) return;
    const QFileInfo info(chosen);
    target_ = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QFileInfo target(target_);
    temp_.setFileTemplate(QDir(target.absolutePath()).filePath(QStringLiteral(".") + target.fileName() +
                                                               QStringLiteral(".XXXXXX")));
    if (temp_.open()) temp_.close();  // QPrinter writes it by name
  }
  bool Ready() const { return !temp_.fileName().isEmpty() && QFileInfo::exists(temp_.fileName()); }
  QString TempName() const { return temp_.fileName(); }

  // Moves a complete file in place; false when the file is incomplete or cannot be
  // placed, and the chosen file is then left as it was.
  bool Deliver() {
    // What took the chosen file's place meanwhile is not replaced either.
    if (!Complete() || !CanHoldAPdf(target_)) return false;
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

// Qt's print dialog, refusing a file that is a pipe, a socket or a device before
// Qt's own check opens it, which on a FIFO would wait for a reader for ever; the
// dialog stays up for another name. A folder is left to Qt, which says so itself.
class PrintDialog final : public QPrintDialog {
 public:
  PrintDialog(QPrinter& printer, QWidget* parent) : QPrintDialog(&printer, parent) {
    // Qt checks the file as the Print button is pressed, before accept() is reached:
    // the check here goes first, then Qt's.
    auto* buttons = findChild<QDialogButtonBox*>();
    if (!buttons || !disconnect(buttons, &QDialogButtonBox::accepted, this, nullptr)) return;
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
      if (ChosenFileRefused()) return;
      // Should Qt's check go by another name one day, the dialog still accepts.
      if (!QMetaObject::invokeMethod(this, "_q_checkFields")) accept();
    });
  }

  void accept() override {
    if (!ChosenFileRefused()) QPrintDialog::accept();
  }

 private:
  bool ChosenFileRefused() {
    const auto* field = findChild<QLineEdit*>(QStringLiteral("filename"));
    if (!field || !field->isEnabled()) return false;  // a printer is chosen
    const QString file = field->text();
    const mode_t mode = ModeAt(file);
    if (mode == 0 || S_ISREG(mode) || S_ISDIR(mode)) return false;
    QMessageBox::warning(this, windowTitle(),
                         tr("%1 is not a file but a pipe, a socket or a device, which cannot hold the PDF.\n"
                            "Please choose a different file name.")
                             .arg(file));
    return true;
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
    printer.setOutputFileName(OfferedPdfFile(detail::Q(detail::printFile)));
  } else if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()) {
    printer.setOutputFileName(OfferedPdfFile(DefaultPdfFile()));
  } else if (!CanHoldAPdf(printer.outputFileName())) {
    printer.setOutputFileName(OfferedPdfFile(printer.outputFileName()));
  }

  // The grid is laid out for this sheet: whatever the dialog's properties say of
  // paper or orientation, the job prints on it.
  const QPageLayout sheet = printer.pageLayout();
  {
    // Gone before the job paints: taking the dialog down waits for the threads that
    // watch its folders.
    PrintDialog dialog(printer, ParentWidget(parent));
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
