#include "framework/testing/DriverInternal.h"

#include <QFile>
#include <QImage>
#include <QProcess>

#include "framework/Internal.h"

namespace fw::test {

void SetPrintFile(const std::string& path) { detail::printFile = path; }

double LastPrintJobSeconds() { return detail::lastJobPaintSeconds; }

namespace {

std::string Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(30000)) return {};
  return p.readAllStandardOutput().toStdString();
}

}  // namespace

PdfInfo ReadPdf(const std::string& path) {
  PdfInfo info;
  const QString out = detail::Q(Run(QStringLiteral("pdfinfo"), {detail::Q(path)}));
  for (const QString& line : out.split(QLatin1Char('\n'))) {
    if (line.startsWith(QLatin1String("Pages:"))) info.Pages = line.mid(6).trimmed().toInt();
    if (line.startsWith(QLatin1String("Title:"))) info.Title = detail::S(line.mid(6).trimmed());
    if (line.startsWith(QLatin1String("Page size:"))) {
      const QStringList parts = line.mid(10).trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
      if (parts.size() >= 3) {
        info.PageWidth = parts[0].toDouble();
        info.PageHeight = parts[2].toDouble();
      }
    }
  }
  return info;
}

Image RenderPdfPage(const std::string& path, int32_t page, int32_t dpi) {
  const QString prefix = detail::Q(ScratchDir() + "/page");
  Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                   QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                   QString::number(page), QStringLiteral("-singlefile"), detail::Q(path), prefix});
  const QString file = prefix + QStringLiteral(".png");
  const QImage image(file);
  QFile::remove(file);
  return ToImage(QPixmap::fromImage(image));
}

std::string PdfText(const std::string& path, int32_t page) {
  return Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                           QStringLiteral("-l"), QString::number(page), detail::Q(path),
                                           QStringLiteral("-")});
}

}  // namespace fw::test
