// The model's UTF-8 texts as Qt strings, and the colour of a text that shows
// the previous calculation.
#pragma once

#include <string_view>

#include <QColor>
#include <QPalette>
#include <QString>

namespace tavolen {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt reads "&" in a button's or frame's caption as an access key; the
// captions have none.
inline QString WithoutAccessKeys(std::string_view caption) {
  return ToQString(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Halfway between the text and its background: plainly grey, still legible,
// in a light or a dark palette alike.
inline QColor PreviousTextColour(const QPalette& palette) {
  const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
  const QColor window = palette.color(QPalette::Active, QPalette::Window);
  return QColor::fromRgbF((text.redF() + window.redF()) / 2, (text.greenF() + window.greenF()) / 2,
                          (text.blueF() + window.blueF()) / 2);
}

}  // namespace tavolen
