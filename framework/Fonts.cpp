#include <QApplication>
#include <QFontDatabase>
#include <QHash>

#include "framework/Internal.h"

namespace fw {

namespace {

// The design's font names, with the faces that stand in for them when they are not
// installed. The first installed one is taken, so that a fixed-pitch design face
// keeps a fixed-pitch stand-in whatever fontconfig would substitute.
QStringList Candidates(const QString& name) {
  const QString key = name.toLower();
  if (key == QLatin1String("verdana")) return {name, QStringLiteral("DejaVu Sans")};
  if (key == QLatin1String("arial")) return {name, QStringLiteral("Liberation Sans")};
  if (key == QLatin1String("courier") || key == QLatin1String("courier new"))
    return {name, QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
  if (key == QLatin1String("monaco")) return {name, QStringLiteral("DejaVu Sans Mono")};
  return {name};
}

QString InstalledFamily(const QString& name) {
  static QHash<QString, QString> chosen;
  auto it = chosen.find(name);
  if (it != chosen.end()) return *it;
  const QStringList installed = QFontDatabase::families();
  QString family = name;
  for (const QString& candidate : Candidates(name)) {
    if (installed.contains(candidate, Qt::CaseInsensitive)) {
      family = candidate;
      break;
    }
  }
  chosen.insert(name, family);
  return family;
}

}  // namespace

QFont detail::MakeFont(const std::string& family, double pixelSize, bool bold) {
  QFont font = QApplication::font();
  const QString name = Q(family);
  // "System" is the platform's own font.
  if (!name.isEmpty() && name.compare(QLatin1String("system"), Qt::CaseInsensitive) != 0)
    font.setFamilies({InstalledFamily(name)});
  if (pixelSize > 0) font.setPixelSize(static_cast<int>(pixelSize + 0.5));
  font.setBold(bold);
  return font;
}

}  // namespace fw
