#include "framework/PrintingInternal.h"

#include <QApplication>
#include <QPageSize>

#include <langinfo.h>

#include <charconv>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "framework/Basic.h"
#include "framework/Internal.h"
#include "framework/Window.h"

namespace fw {

QWidget* ParentWidget(Window* parent) {
  if (parent) return &parent->Frame();
  return QApplication::activeWindow();
}

void UsePoints(QPrinter& printer) { printer.setResolution(72); }

namespace {

constexpr const char* kSetupHeader = "tessaral-page-setup 1";
constexpr const char* kScalingKey = "<key>com.apple.print.PageFormat.PMScaling</key>";

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

std::unique_ptr<QPrinter> MakePrinter() {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (printer->outputFormat() == QPrinter::PdfFormat) printer->setPageSize(SystemPaper());
  return printer;
}

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

int32_t PrinterSetup::PageWidth() const {
  return CInt32(state_->Printer().pageLayout().fullRectPoints().width());
}

int32_t PrinterSetup::PageHeight() const {
  return CInt32(state_->Printer().pageLayout().fullRectPoints().height());
}

int32_t PrinterSetup::Width() const { return CInt32(state_->Printer().pageLayout().paintRectPoints().width()); }

int32_t PrinterSetup::Height() const { return CInt32(state_->Printer().pageLayout().paintRectPoints().height()); }

double PrinterSetup::Scaling() const { return state_->scaling; }

}  // namespace fw
