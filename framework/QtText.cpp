#include "framework/Internal.h"

namespace fw {

QString detail::Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::string detail::S(const QString& s) { return s.toStdString(); }

}  // namespace fw
