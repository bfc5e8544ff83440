#include "framework/PrintingInternal.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPageSetupDialog>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <optional>

namespace fw {

namespace {

// The Scale field, in percent.
constexpr int kMinScale = 10;
constexpr int kMaxScale = 400;
// Sizes that differ by less than this (in points) are the same sheet: the dialog
// shows sizes rounded to two decimals of its unit, and Qt gives a size in another
// unit than its own in whole points.
constexpr double kSameSheet = 1.0;

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

}  // namespace fw
