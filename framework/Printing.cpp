#include "framework/Printing.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <langinfo.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "framework/Basic.h"
#include "framework/Internal.h"
#include "framework/Window.h"

namespace fw {

namespace {

constexpr const char* kSetupHeader = "tessaral-page-setup 1";
constexpr const char* kScalingKey = "<key>com.apple.print.PageFormat.PMScaling</key>";
// The Scale field, in percent.
constexpr int kMinScale = 10;
constexpr int kMaxScale = 400;
// Sizes that differ by less than this (in points) are the same sheet: the dialog
// shows sizes rounded to two decimals of its unit, and Qt gives a size in another
// unit than its own in whole points.
constexpr double kSameSheet = 1.0;

QWidget* ParentWidget(Window* parent) {
  if (parent) return &parent->Frame();
  return QApplication::activeWindow();
}

// Pages are laid out in points: one device unit is one point.
void UsePoints(QPrinter& printer) { printer.setResolution(72); }

// Shortest text that reads back as the same number, with a '.' whatever the locale.
std::string Num(double value) {
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
  return std::string(buf, end);
}

const struct {
  const char* name;
  QPageLayout::Unit unit;
} kUnits[] = {{"mm", QPageLayout::Millimeter}, {"pt", QPageLayout::Point},   {"in", QPageLayout::Inch},
              {"pica", QPageLayout::Pica},     {"didot", QPageLayout::Didot}, {"cicero", QPageLayout::Cicero}};

std::string UnitName(QPageLayout::Unit unit) {
  for (const auto& u : kUnits)
    if (u.unit == unit) return u.name;
  return "pt";
}

QPageLayout::Unit UnitNamed(const std::string& name) {
  for (const auto& u : kUnits)
    if (name == u.name) return u.unit;
  return QPageLayout::Point;
}

std::optional<QPageSize> PaperNamed(const std::string& name) {
  const QString wanted = detail::Q(name).trimmed();
  if (wanted.isEmpty()) return std::nullopt;
  for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
    const auto sizeId = static_cast<QPageSize::PageSizeId>(id);
    if (sizeId != QPageSize::Custom && QPageSize::key(sizeId).compare(wanted, Qt::CaseInsensitive) == 0)
      return QPageSize(sizeId);
  }
  return std::nullopt;
}

// The first word of the paper-size file that is not a comment (libpaper's format).
std::optional<QPageSize> PaperInFile(const char* path) {
  std::ifstream in(path);
  std::string word;
  while (in >> word) {
    if (word[0] == '#') {
      std::string rest;
      std::getline(in, rest);
      continue;
    }
    return PaperNamed(word);
  }
  return std::nullopt;
}

// The paper of the locale's LC_PAPER category, when the user set one: the C locale
// always says A4, whatever the system's paper.
std::optional<QPageSize> PaperOfLocale() {
  const char* category = std::setlocale(LC_PAPER, nullptr);
  if (!category) return std::nullopt;
  const std::string name = category;
  if (name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0) return std::nullopt;
  // Numeric items come back as the value itself, in millimetres.
  const auto width = static_cast<unsigned>(reinterpret_cast<uintptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
  const auto height = static_cast<unsigned>(reinterpret_cast<uintptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
  if (width == 0 || height == 0 || width > 10000 || height > 10000) return std::nullopt;
  return QPageSize(QSizeF(width, height), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
}

// The system's paper: $PAPERSIZE, then the user's locale when it names one, then the
// paper-size file ($PAPERCONF or /etc/papersize); else A4. The locale comes before
// the file because the file is the machine's, made once when a package installed it,
// while the locale is what this user chose.
QPageSize SystemPaper() {
  if (const char* env = std::getenv("PAPERSIZE"); env && *env)
    if (auto paper = PaperNamed(env)) return *paper;
  if (auto paper = PaperOfLocale()) return *paper;
  const char* file = std::getenv("PAPERCONF");
  if (auto paper = PaperInFile(file && *file ? file : "/etc/papersize")) return *paper;
  return QPageSize(QPageSize::A4);
}

// A printer as a new job or page setup starts with. Without a printer (a PDF file)
// the paper is the system's; a printer knows its own.
std::unique_ptr<QPrinter> MakePrinter() {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (printer->outputFormat() == QPrinter::PdfFormat) printer->setPageSize(SystemPaper());
  return printer;
}

QString ScalingPlist(double factor) {
  // The page format names the entry, then again inside its ticket beside the value.
  return detail::Q(std::string("<dict>") + kScalingKey +
                   "<dict><key>com.apple.print.ticket.itemArray</key><array><dict>" + kScalingKey + "<real>" +
                   Num(factor) + "</real></dict></array></dict></dict>");
}

// The factor of a property list this framework wrote: the value beside the inner key.
std::optional<double> ScalingInPlist(const std::string& plist) {
  const size_t key = plist.rfind(kScalingKey);
  if (key == std::string::npos) return std::nullopt;
  const size_t open = plist.find("<real>", key);
  if (open == std::string::npos) return std::nullopt;
  const size_t start = open + 6;
  const size_t close = plist.find("</real>", start);
  if (close == std::string::npos) return std::nullopt;
  return CDbl(std::string_view(plist).substr(start, close - start));
}

}  // namespace

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

PrinterSetup::PrinterSetup() : state_(std::make_unique<State>()) {}

PrinterSetup::~PrinterSetup() = default;

// One "key=value" a line. Sizes are written in the units they were chosen in, with
// every digit, so that a custom sheet comes back exactly.
std::string PrinterSetup::SetupString() const {
  std::ostringstream out;
  out << kSetupHeader << "\n";
  out << "printer=" << detail::S(state_->printerName) << "\n";
  if (state_->layout) {
    const QPageLayout& l = *state_->layout;
    const QPageSize& size = l.pageSize();
    const QMarginsF m = l.margins();
    out << "size=" << (size.id() == QPageSize::Custom ? std::string("Custom") : detail::S(size.key())) << "\n";
    out << "unit=" << UnitName(static_cast<QPageLayout::Unit>(size.definitionUnits())) << "\n";
    out << "width=" << Num(size.definitionSize().width()) << "\n";
    out << "height=" << Num(size.definitionSize().height()) << "\n";
    out << "orientation=" << (l.orientation() == QPageLayout::Landscape ? "landscape" : "portrait") << "\n";
    out << "marginunit=" << UnitName(l.units()) << "\n";
    out << "margins=" << Num(m.left()) << "," << Num(m.top()) << "," << Num(m.right()) << "," << Num(m.bottom())
        << "\n";
  }
  out << "scaling=" << detail::S(ScalingPlist(state_->scaling)) << "\n";
  return out.str();
}

void PrinterSetup::SetSetupString(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kSetupHeader) return;  // not one of ours
  QString printerName;
  std::string sizeKey;
  double width = 0, height = 0;
  QPageLayout::Unit unit = QPageLayout::Point, marginUnit = QPageLayout::Point;
  bool landscape = false;
  QMarginsF margins;
  bool haveLayout = false;
  double scaling = 1.0;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    if (key == "printer") {
      printerName = detail::Q(value);
    } else if (key == "size") {
      sizeKey = value;
      haveLayout = true;
    } else if (key == "unit") {
      unit = UnitNamed(value);
    } else if (key == "width") {
      width = CDbl(value);
    } else if (key == "height") {
      height = CDbl(value);
    } else if (key == "orientation") {
      landscape = value == "landscape";
    } else if (key == "marginunit") {
      marginUnit = UnitNamed(value);
    } else if (key == "margins") {
      double v[4] = {0, 0, 0, 0};
      std::istringstream parts(value);
      std::string part;
      for (double& x : v) {
        if (!std::getline(parts, part, ',')) break;
        x = CDbl(part);
      }
      margins = QMarginsF(v[0], v[1], v[2], v[3]);
    } else if (key == "scaling") {
      scaling = ScalingInPlist(value).value_or(1.0);
    }
  }
  state_->printerName = printerName;
  state_->printer.reset();
  state_->layout.reset();
  state_->scaling = scaling;
  if (haveLayout && width > 0 && height > 0) {
    QPageSize size = PaperNamed(sizeKey).value_or(
        QPageSize(QSizeF(width, height), static_cast<QPageSize::Unit>(unit), QString(), QPageSize::ExactMatch));
    state_->layout =
        QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, margins, marginUnit);
  }
}

namespace {

// Qt's page-setup dialog shows a custom sheet as the first size it lists: show it as
// "Custom" with its own width and height.
void ShowCustomSheet(QPageSetupDialog& dialog, const QPageLayout& sheet) {
  if (sheet.pageSize().id() != QPageSize::Custom) return;
  auto* sizes = dialog.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
  auto* units = dialog.findChild<QComboBox*>(QStringLiteral("unitCombo"));
  auto* width = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("pageWidth"));
  auto* height = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("pageHeight"));
  if (!sizes || !units || !width || !height) return;
  for (int i = 0; i < sizes->count(); ++i) {
    if (!sizes->itemData(i).isValid()) {  // the one entry that is not a named size
      sizes->setCurrentIndex(i);
      break;
    }
  }
  const auto unit = qvariant_cast<QPageLayout::Unit>(units->currentData());
  width->setValue(sheet.fullRect(unit).width());
  height->setValue(sheet.fullRect(unit).height());
}

// One row under Qt's own controls: "Scale: [100 %]".
QSpinBox* AddScaleRow(QPageSetupDialog& dialog, int percent) {
  auto* column = qobject_cast<QBoxLayout*>(dialog.layout());
  if (!column) return nullptr;
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(QPageSetupDialog::tr("Scale:"), &dialog);
  auto* scale = new QSpinBox(&dialog);
  scale->setObjectName(QStringLiteral("scale"));
  scale->setRange(kMinScale, kMaxScale);
  scale->setSuffix(QStringLiteral(" %"));
  scale->setValue(percent);
  label->setBuddy(scale);
  row->addWidget(label);
  row->addWidget(scale);
  row->addStretch();
  column->insertLayout(column->count() - 1, row);  // above OK and Cancel
  return scale;
}

bool Near(double a, double b) { return std::abs(a - b) < kSameSheet; }

// Qt warns on stderr whenever a page-setup dialog is made for a PDF printer, the only
// kind there is without a print server; the dialog works all the same.
class QuietPdfPrinterWarning {
 public:
  QuietPdfPrinterWarning() { previous_ = qInstallMessageHandler(Filter); }
  ~QuietPdfPrinterWarning() { qInstallMessageHandler(previous_); }
  QuietPdfPrinterWarning(const QuietPdfPrinterWarning&) = delete;
  QuietPdfPrinterWarning& operator=(const QuietPdfPrinterWarning&) = delete;

 private:
  static void Filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("Cannot be used on non-native printers"))) return;
    if (previous_) previous_(type, context, message);
  }
  static inline QtMessageHandler previous_ = nullptr;
};

// The dialog rounds what it shows; a sheet confirmed as shown keeps its exact size
// and margins.
QPageLayout Confirmed(const QPageLayout& chosen, const QPageLayout& before) {
  const QSizeF a = chosen.pageSize().size(QPageSize::Point), b = before.pageSize().size(QPageSize::Point);
  const QMarginsF ma = chosen.margins(QPageLayout::Point), mb = before.margins(QPageLayout::Point);
  if (Near(a.width(), b.width()) && Near(a.height(), b.height()) && Near(ma.left(), mb.left()) &&
      Near(ma.top(), mb.top()) && Near(ma.right(), mb.right()) && Near(ma.bottom(), mb.bottom()))
    return QPageLayout(before.pageSize(), chosen.orientation(), before.margins(), before.units());
  return chosen;
}

}  // namespace

bool PrinterSetup::PageSetupDialog(Window* parent) {
  QPrinter& printer = state_->Printer();
  const QPageLayout before = printer.pageLayout();
  auto quiet = std::make_optional<QuietPdfPrinterWarning>();
  QPageSetupDialog dialog(&printer, ParentWidget(parent));
  quiet.reset();
  // Qt's dialog turns every number typed into a new sheet at once and shows it back
  // rounded, so "211.75" never got past "211.": take a number when it is complete.
  for (QDoubleSpinBox* field : dialog.findChildren<QDoubleSpinBox*>()) field->setKeyboardTracking(false);
  ShowCustomSheet(dialog, before);
  const int percent = static_cast<int>(std::lround(std::clamp(state_->scaling * 100, 0.0, 1e6)));
  QSpinBox* scale = AddScaleRow(dialog, percent);
  const int shown = scale ? scale->value() : percent;
  if (dialog.exec() != QDialog::Accepted) {
    printer.setPageLayout(before);
    return false;
  }
  const QPageLayout chosen = Confirmed(printer.pageLayout(), before);
  printer.setPageLayout(chosen);
  state_->layout = chosen;
  state_->printerName = printer.printerName();
  // A factor the field cannot show exactly stays as it was unless the field changed.
  if (scale && scale->value() != shown) state_->scaling = scale->value() / 100.0;
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

double PrinterSetup::Scaling() const { return state_->scaling; }

// ---- a print job ------------------------------------------------------------

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
