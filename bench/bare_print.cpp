// The yardstick for printing: a plain QPrinter job drawing what Tessaral's month pages
// hold (boxes, weekday headings, both calendars' numbers, title, legends) with the same
// fonts on the same sheet, the way a small Qt program would.

#include <QPainter>
#include <QPrinter>

#include <chrono>
#include <string>

#include "engine/Vorlen.h"
#include "mainwindow/TableCell.h"
#include "shell/AppGlobal.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// Prints months 1..12 of Gregorian `year` to `pdf`; returns the seconds from the
// painter's begin to its end.
double BarePrintYear(const std::string& pdf, int year) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(Q(pdf));
  printer.setResolution(72);

  const double scale = printer.pageLayout().fullRectPoints().width() / 612.0;
  const int paperWidth = static_cast<int>(printer.pageLayout().paintRectPoints().width());
  const int cellWidth = static_cast<int>((paperWidth - 2) / 7.0);
  const int cellHeight = static_cast<int>((paperWidth - 2) * 2.0 / 3.0 / 6.0);
  const int gridLeft = static_cast<int>((paperWidth - 7.0 * cellWidth) / 2.0 - 0.5);
  const int gridTop = static_cast<int>(80 * scale);

  QFont arial(QStringLiteral("Arial"));
  arial.setPointSizeF(12 * scale);
  QFont title = arial;
  title.setPointSizeF(30 * scale);
  title.setBold(true);
  QFont courier(QStringLiteral("Courier New"));
  courier.setPointSizeF(12 * scale);

  const auto begun = std::chrono::steady_clock::now();
  QPainter p(&printer);
  for (int month = 1; month <= 12; ++month) {
    if (month > 1) printer.newPage();
    p.setPen(Qt::black);
    for (int row = 0; row < 6; ++row)
      for (int col = 0; col < 7; ++col) p.drawRect(gridLeft + col * cellWidth, gridTop + row * cellHeight, cellWidth, cellHeight);
    p.setFont(arial);
    const QFontMetrics am = p.fontMetrics();
    for (int i = 0; i < 7; ++i) {
      const QString name = Q(AppGlobal::GetWeekName(i));
      p.drawText(gridLeft + i * cellWidth + cellWidth / 2 - am.horizontalAdvance(name) / 2, gridTop - am.height(), name);
    }

    AppGlobal::RenewDayBlock();
    const MonthLayout lay = FillMonthGre(year, month, kPaperSpans);
    p.setFont(courier);
    const QFontMetrics cm = p.fontMetrics();
    for (int d = 1; d <= lay.n; ++d) {
      const TableCell& c = AppGlobal::DayBlock[static_cast<size_t>(d)];
      const int cell = lay.start + d - 1;
      const int col = (cell - 1) % 7, row = (cell - 1) / 7;
      p.setPen(QColor::fromRgb(c.GColor));
      p.drawText(gridLeft + col * cellWidth + 2, gridTop + row * cellHeight + cm.ascent() + 1, QString::number(d));
      const QString other = QString::number(c.HD) + Q(c.Hid);
      p.setPen(QColor::fromRgb(c.HColor));
      p.drawText(gridLeft + (col + 1) * cellWidth - 1 - cm.horizontalAdvance(other), gridTop + (row + 1) * cellHeight - 2,
                 other);
    }

    p.setPen(Qt::black);
    p.setFont(title);
    const QString heading = Q(AppGlobal::GetMonNamGreSecondary(month)) + QStringLiteral(", ") + QString::number(year);
    p.drawText(paperWidth / 2 - p.fontMetrics().horizontalAdvance(heading) / 2, p.fontMetrics().height(), heading);

    p.setFont(arial);
    const TableCell& first = AppGlobal::DayBlock[1];
    const TableCell& last = AppGlobal::DayBlock[static_cast<size_t>(lay.n)];
    const int y = gridTop + 6 * cellHeight + am.ascent() + 1;
    const auto legend = [&](const TableCell& c) {
      return Q(c.Hid + "-" + AppGlobal::GetMonNamHijSecondary(c.HM) + ", ") + QString::number(c.HY);
    };
    p.setPen(QColor::fromRgb(first.HColor));
    p.drawText(gridLeft, y, legend(first));
    p.setPen(QColor::fromRgb(last.HColor));
    p.drawText(gridLeft + 7 * cellWidth + 1 - am.horizontalAdvance(legend(last)), y, legend(last));
  }
  p.end();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
}
