#pragma once

// The windows' logic keeps its texts as UTF-8 std::string; Qt wants QString.

#include <QString>
#include <string>

namespace tallisk::qt {

inline QString ToQt(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) {
  return text.toStdString();
}

// Text for a button, check box or a label with a buddy, where "&" would otherwise mark a
// keyboard accelerator and vanish from the caption.
inline QString LiteralCaption(const std::string& text) {
  return ToQt(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace tallisk::qt
