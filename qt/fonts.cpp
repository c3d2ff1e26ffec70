#include "qt/fonts.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

namespace tavolen {
namespace {

// Below this a digit is no longer legible at 96 dots per inch.
constexpr int kSmallestPixels = 8;

QString SystemUiFamily() {
  return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

}  // namespace

void InstallFontSubstitutes() {
  QFont::insertSubstitutions(
      QStringLiteral("ＭＳ Ｐゴシック"),
      {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"), SystemUiFamily()});
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"),
                             {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP"),
                              QStringLiteral("IPAMincho"), SystemUiFamily()});
}

QFont JapaneseUiFont() {
  QFont font = QApplication::font();
  font.setFamilies(
      {font.family(), QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
  return font;
}

QFont FontOf(const FontDef& font) {
  if (font.face.empty()) {
    return JapaneseUiFont();
  }
  QFont qfont(QString::fromUtf8(font.face.data(), static_cast<qsizetype>(font.face.size())));
  qfont.setPixelSize(font.Pixels());
  qfont.setWeight(font.bold ? QFont::Bold : QFont::Normal);
  return qfont;
}

QFont FittingFont(const QFont& font, const QString& text, int width) {
  const auto fits = [&text, width](const QFont& candidate) {
    return QFontMetricsF(candidate).horizontalAdvance(text) <= width;
  };
  if (fits(font)) {
    return font;
  }
  QFont fitted = font;
  for (int pixels = QFontInfo(font).pixelSize() - 1; pixels >= kSmallestPixels; --pixels) {
    fitted.setPixelSize(pixels);
    if (fits(fitted)) {
      return fitted;
    }
  }
  // Hinting keeps the advance from shrinking exactly in proportion.
  const qreal advance = QFontMetricsF(fitted).horizontalAdvance(text);
  for (int stretch = static_cast<int>(std::floor(100 * width / advance)); stretch >= 1; --stretch) {
    fitted.setStretch(stretch);
    if (fits(fitted)) {
      break;
    }
  }
  return fitted;
}

}  // namespace tavolen
